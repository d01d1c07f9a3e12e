#include "platform/files/dxf/linetypes.h"

#include <cmath>
#include <cwctype>

#include "kafhost/drawing_dxf.h"

namespace kafhost {
namespace {

const std::vector<DxfLinetype>& linetypes() {
    static const std::vector<DxfLinetype> kLinetypes = {
        {"Continuous", "Solid line", {}},
        {"DASHED", "Dashed __ __ __ __", {0.5, -0.25}},
        {"HIDDEN", "Hidden _ _ _ _ _", {0.25, -0.125}},
        {"CENTER", "Center ____ _ ____ _", {1.25, -0.25, 0.25, -0.25}},
        {"DOT", "Dot . . . . . .", {0.0, -0.25}},
        {"DASHDOT", "Dash dot __ . __ .", {0.5, -0.25, 0.0, -0.25}},
        {"PHANTOM", "Phantom ____ _ _ ____", {1.25, -0.25, 0.25, -0.25, 0.25, -0.25}}};
    return kLinetypes;
}

bool sameName(const char* a, const std::wstring& b) {
    std::size_t i = 0;
    for (; a[i] != 0; ++i) {
        if (i >= b.size() || std::towupper(static_cast<wint_t>(a[i])) != std::towupper(b[i])) {
            return false;
        }
    }
    return i == b.size();
}

}  // namespace

const DxfLinetype* findDxfLinetype(const std::wstring& name) {
    for (const DxfLinetype& linetype : linetypes()) {
        if (sameName(linetype.name, name)) {
            return &linetype;
        }
    }
    return nullptr;
}

std::wstring dxfLinetypeName(const std::wstring& name) {
    const DxfLinetype* linetype = findDxfLinetype(name);
    if (linetype == nullptr) {
        return std::wstring();
    }
    const std::string ascii = linetype->name;
    return std::wstring(ascii.begin(), ascii.end());
}

void writeDxfLinetype(DxfWriter& writer, const DxfLinetype& linetype, std::uint64_t handle,
                      std::uint64_t table) {
    writer.text(0, "LTYPE");
    writer.handle(5, handle);
    writer.handle(330, table);
    writer.text(100, "AcDbSymbolTableRecord");
    writer.text(100, "AcDbLinetypeTableRecord");
    writer.text(2, linetype.name);
    writer.integer(70, 0);
    writer.text(3, linetype.description);
    writer.integer(72, 65);
    writer.integer(73, static_cast<long long>(linetype.pattern.size()));
    double total = 0.0;
    for (const double dash : linetype.pattern) {
        total += std::fabs(dash);
    }
    writer.real(40, total);
    for (const double dash : linetype.pattern) {
        writer.real(49, dash);
        writer.integer(74, 0);
    }
}

}  // namespace kafhost
