// POLYLINE 3D polylines (flag 8): a 3D polyline of the drawing (AcDb3dPolyline) written with its
// VERTEX and SEQEND sub-entities, which take dxf3dPolylineOwnHandles(line) handles of its own; its
// vertices read back after the POLYLINE header (readDxfPolyline hands them over on flag 8).
#pragma once

#include <cstdint>

#include "kafhost/drawing_snapshot.h"
#include "platform/files/dxf/entity.h"

namespace kafhost {

constexpr long long kDxf3dPolylineFlag = 8;

std::uint64_t dxf3dPolylineOwnHandles(const EntityInfo& line);
void writeDxf3dPolyline(DxfWriter& writer, const DxfEntityHead& head, const EntityInfo& line,
                        std::uint64_t firstOwnHandle);
// Reads the VERTEX entities and the SEQEND of a 3D polyline whose header (with its flags) was
// read; the reader is left on the entity after SEQEND.
void readDxf3dPolylineVertices(DxfTagReader& reader, DxfReadEntity& entity, long long flags);

}  // namespace kafhost
