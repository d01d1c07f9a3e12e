// The linetypes kafcad can write into a DXF file's LTYPE table, with their patterns (dash
// lengths in drawing units: positive drawn, negative a gap, 0 a dot): Continuous, DASHED,
// HIDDEN, CENTER, DOT, DASHDOT and PHANTOM.
//
// findDxfLinetype(name): the linetype of that name regardless of case; null for another name.
// writeDxfLinetype(writer, linetype, handle, table): its LTYPE record.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/files/dxf/writer.h"

namespace kafhost {

struct DxfLinetype {
    const char* name;
    const char* description;
    std::vector<double> pattern;
};

const DxfLinetype* findDxfLinetype(const std::wstring& name);
void writeDxfLinetype(DxfWriter& writer, const DxfLinetype& linetype, std::uint64_t handle,
                      std::uint64_t table);

}  // namespace kafhost
