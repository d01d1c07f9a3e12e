// HEADER: the release (AC1024, AutoCAD 2010, the first with MESH), the code page, the insertion
// base, the model-space extents, the handle seed and the insertion units (0: none, as the drawing
// carries no unit). Reading takes the release (for the text encoding) and the handle seed.
#include <string>

#include "platform/files/dxf/sections.h"

namespace kafhost {
namespace {

constexpr const char* kRelease = "AC1024";
// Releases before AutoCAD 2007 (AC1021) wrote text in a code page, not UTF-8.
constexpr std::string_view kFirstUtf8Release = "AC1021";
constexpr double kNoExtents = 1e20;
constexpr int kUnitless = 0;

void headerVariable(DxfWriter& writer, const char* name) {
    writer.text(9, name);
}

}  // namespace

void writeDxfHeader(DxfWriter& writer, const DxfDrawingPlan& plan) {
    writer.text(0, "SECTION");
    writer.text(2, "HEADER");
    headerVariable(writer, "$ACADVER");
    writer.text(1, kRelease);
    headerVariable(writer, "$DWGCODEPAGE");
    writer.text(3, "ANSI_1252");
    headerVariable(writer, "$INSBASE");
    writer.point(10, 0.0, 0.0, 0.0);
    headerVariable(writer, "$EXTMIN");
    const Point3 low =
        plan.hasExtents ? plan.extentsMin : Point3{kNoExtents, kNoExtents, kNoExtents};
    writer.point(10, low[0], low[1], low[2]);
    headerVariable(writer, "$EXTMAX");
    const Point3 high =
        plan.hasExtents ? plan.extentsMax : Point3{-kNoExtents, -kNoExtents, -kNoExtents};
    writer.point(10, high[0], high[1], high[2]);
    headerVariable(writer, "$HANDSEED");
    writer.handle(5, plan.handles.handleSeed);
    headerVariable(writer, "$INSUNITS");
    writer.integer(70, kUnitless);
    writer.text(0, "ENDSEC");
}

void readDxfHeader(DxfTagReader& reader, DxfDrawingRead& drawing) {
    std::string_view variable;
    while (!reader.is(0, "ENDSEC")) {
        if (reader.code() == 0) {
            reader.fail("the HEADER section does not end with ENDSEC");
        }
        if (reader.code() == 9) {
            variable = reader.text();
        } else if (variable == "$ACADVER" && reader.code() == 1) {
            drawing.release = std::string(reader.text());
            drawing.utf8 = reader.text() >= kFirstUtf8Release;
        } else if (variable == "$HANDSEED" && reader.code() == 5) {
            drawing.handleSeed = reader.handle();
            drawing.seedBegin = reader.offset();
            reader.next();
            drawing.seedEnd = reader.offset();
            continue;
        } else if (variable == "$INSUNITS" && reader.code() == 70) {
            drawing.headerUnits = reader.integer() != 0;
        }
        reader.next();
    }
    drawing.headerEnd = reader.offset();
}

}  // namespace kafhost
