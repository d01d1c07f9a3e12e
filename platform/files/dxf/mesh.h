// MESH: a subdivision mesh of the drawing (AcDbSubDMesh), written and read back. A mesh with
// vertex colours takes dxfMeshOwnHandles(mesh) handles of its own, for its extension dictionary
// and colour record (mesh_colours.h), which the OBJECTS section holds.
#pragma once

#include <cstdint>

#include "kafhost/drawing_snapshot.h"
#include "platform/files/dxf/entity.h"

namespace kafhost {

std::uint64_t dxfMeshOwnHandles(const EntityInfo& mesh);
void writeDxfMesh(DxfWriter& writer, const DxfEntityHead& head, const EntityInfo& mesh,
                  std::uint64_t firstOwnHandle);
void readDxfMesh(DxfTagReader& reader, DxfReadEntity& entity);

}  // namespace kafhost
