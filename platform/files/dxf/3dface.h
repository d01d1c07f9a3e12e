// The entity kinds of DXF drawings, one module each: writing an entity of the drawing, and reading
// one back.
//
// Writers take the entity's head (handle, owner, space, layer) and write the whole entity,
// sub-entities included. Entities that need handles of their own (polyface sub-entities, the
// colour records of a mesh) say how many (…OwnHandles) and get the first of them.
// Readers start on the entity's "0 KIND" tag and stop on the next entity's code 0. They fail with
// the line for data the drawing cannot hold (a face naming a missing vertex, say).
//
// ReadDxfEntities and WriteDxfEntities handle the ENTITIES section: model space, then paper
// space; kinds that are not read are skipped and counted. SkipDxfEntity skips one entity together
// with the VERTEX, ATTRIB and SEQEND entities that belong to it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "kafhost/drawing_snapshot.h"
#include "platform/files/dxf/entity.h"

namespace kafhost {

struct DxfReadEntity {
    DxfEntityHead head;
    EntityInfo info;
};

// Entity kinds skipped while reading, with their counts.
using DxfSkipCounts = std::map<std::string, std::size_t>;

void WriteDxf3DFace(DxfWriter& writer, const DxfEntityHead& head, const EntityInfo& face);
void ReadDxf3DFace(DxfTagReader& reader, DxfReadEntity& entity);

std::uint64_t DxfPolyFaceMeshOwnHandles(const EntityInfo& mesh);
void WriteDxfPolyFaceMesh(DxfWriter& writer, const DxfEntityHead& head, const EntityInfo& mesh,
                          std::uint64_t firstOwnHandle);
// False for a POLYLINE that is not a polyface mesh (skipped with its vertices).
bool ReadDxfPolyline(DxfTagReader& reader, DxfReadEntity& entity);

std::uint64_t DxfMeshOwnHandles(const EntityInfo& mesh);
void WriteDxfMesh(DxfWriter& writer, const DxfEntityHead& head, const EntityInfo& mesh,
                  std::uint64_t firstOwnHandle);
void ReadDxfMesh(DxfTagReader& reader, DxfReadEntity& entity);

void WriteDxfLwPolyline(DxfWriter& writer, const DxfEntityHead& head, const EntityInfo& line);
void ReadDxfLwPolyline(DxfTagReader& reader, DxfReadEntity& entity);

void SkipDxfEntity(DxfTagReader& reader);

}  // namespace kafhost
