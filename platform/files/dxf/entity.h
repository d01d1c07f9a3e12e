// What every DXF entity carries before its own data: handle (5), extension dictionary
// (102 {ACAD_XDICTIONARY, 360), owner (330), paper-space flag (67) and layer (8).
//
// WriteDxfEntityHead(writer, kind, head): "0 kind" and the head's tags, up to and including
//   "100 AcDbEntity" and the layer; the entity's own subclass marker follows.
// ReadDxfEntityHeadTag(reader, head): takes the current tag into head when it is one of the
//   head's (a whole 102 group for a group), moving past it; false, not moving, otherwise.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/files/dxf/tag_reader.h"
#include "platform/files/dxf/writer.h"

namespace kafhost {

struct DxfEntityHead {
    std::uint64_t handle = 0;  // 0: none
    std::uint64_t owner = 0;
    bool paperSpace = false;
    std::string layer = "0";                // UTF-8
    std::uint64_t extensionDictionary = 0;  // 0: none
    std::size_t line = 0;                   // where the entity starts (reading)
};

void WriteDxfEntityHead(DxfWriter& writer, std::string_view kind, const DxfEntityHead& head);
bool ReadDxfEntityHeadTag(DxfTagReader& reader, DxfEntityHead& head);

}  // namespace kafhost
