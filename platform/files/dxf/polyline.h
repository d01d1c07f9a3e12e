// POLYLINE: a polyface mesh of the drawing (AcDbPolyFaceMesh) written with its VERTEX and SEQEND
// sub-entities, which take dxfPolyFaceMeshOwnHandles(mesh) handles of its own; read back from a
// POLYLINE with the polyface flag.
#pragma once

#include <cstdint>

#include "kafhost/drawing_snapshot.h"
#include "platform/files/dxf/entity.h"

namespace kafhost {

std::uint64_t dxfPolyFaceMeshOwnHandles(const EntityInfo& mesh);
void writeDxfPolyFaceMesh(DxfWriter& writer, const DxfEntityHead& head, const EntityInfo& mesh,
                          std::uint64_t firstOwnHandle);
// False for a POLYLINE that is not a polyface mesh (skipped with its vertices).
bool readDxfPolyline(DxfTagReader& reader, DxfReadEntity& entity);

}  // namespace kafhost
