// VERTEX and SEQEND sub-entities of a POLYLINE, and its header, shared by polyface meshes and 3D
// polylines.
//
// writeDxfPolylineHeader(writer, head, subclass, flags): "0 POLYLINE" with the entity head, the
//   subclass marker, 66 1 (sub-entities follow), the dummy point 10 0 0 0 and the flags (70).
// dxfSubEntityHead(owner, handle): the head of a sub-entity of owner: owner's layer, space and
//   properties, its own handle, owner as its owner and no extension dictionary.
// readDxfVertexTags(reader, head, point, flags, other): reads one VERTEX, the reader on its
//   "0 VERTEX" tag, up to the next entity: the entity head's tags into head, the point (10, 20,
//   30) and the flags (70). Every other tag is handed to other(code), which may read its value.
#pragma once

#include <cstdint>
#include <functional>

#include "kafhost/drawing_snapshot.h"
#include "platform/files/dxf/entity.h"

namespace kafhost {

void writeDxfPolylineHeader(DxfWriter& writer, const DxfEntityHead& head, const char* subclass,
                            long long flags);
DxfEntityHead dxfSubEntityHead(const DxfEntityHead& owner, std::uint64_t handle);
void readDxfVertexTags(DxfTagReader& reader, DxfEntityHead& head, Point3& point, long long& flags,
                       const std::function<void(int code)>& other);

}  // namespace kafhost
