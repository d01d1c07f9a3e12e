// TABLES: VPORT, LTYPE, LAYER, STYLE, VIEW, UCS, APPID, DIMSTYLE and BLOCK_RECORD with the entries
// CAD programs expect. Every layer is written with its colour, linetype and lineweight; a hidden
// layer is off (its colour negative). Reading takes the layers (hidden: off or frozen) with their
// colours, linetypes and lineweights, and the handles of the *Model_Space and *Paper_Space block
// records; other tables are skipped.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>

#include "kafhost/drawing_json.h"
#include "kafhost/wide_to_utf8.h"
#include "platform/files/dxf/sections.h"
#include "platform/files/dxf/text.h"

namespace kafhost {
namespace {

constexpr long long kFrozen = 1;
constexpr long long kLocked = 4;
// The *Active viewport shows the model-space extents with this much room around them.
constexpr double kViewMargin = 1.1;
constexpr double kViewAspect = 1.5;

void tableStart(DxfWriter& writer, const char* name, std::uint64_t handle, std::size_t count) {
    writer.text(0, "TABLE");
    writer.text(2, name);
    writer.handle(5, handle);
    writer.handle(330, 0);
    writer.text(100, "AcDbSymbolTable");
    writer.integer(70, static_cast<long long>(count));
}

void tableEnd(DxfWriter& writer) {
    writer.text(0, "ENDTAB");
}

void recordStart(DxfWriter& writer, const char* kind, const char* subclass, std::uint64_t handle,
                 std::uint64_t table) {
    writer.text(0, kind);
    writer.handle(5, handle);
    writer.handle(330, table);
    writer.text(100, "AcDbSymbolTableRecord");
    writer.text(100, subclass);
}

void writeViewportTable(DxfWriter& writer, const DxfDrawingPlan& plan) {
    const std::uint64_t table = plan.handles.fixed(DxfFixed::kViewportTable);
    tableStart(writer, "VPORT", table, 1);
    recordStart(writer, "VPORT", "AcDbViewportTableRecord",
                plan.handles.fixed(DxfFixed::kActiveViewport), table);
    writer.text(2, "*Active");
    writer.integer(70, 0);
    double centerX = 0.0;
    double centerY = 0.0;
    double height = 10.0;
    if (plan.hasExtents) {
        // Halves first: the sum of two large coordinates may overflow.
        centerX = plan.extentsMin[0] / 2.0 + plan.extentsMax[0] / 2.0;
        centerY = plan.extentsMin[1] / 2.0 + plan.extentsMax[1] / 2.0;
        const double width = plan.extentsMax[0] - plan.extentsMin[0];
        height =
            std::max(plan.extentsMax[1] - plan.extentsMin[1], width / kViewAspect) * kViewMargin;
        if (!(height > 0.0) || !std::isfinite(height)) {
            height = 10.0;
        }
    }
    writer.point(10, 0.0, 0.0);  // lower-left corner of the viewport on screen
    writer.point(11, 1.0, 1.0);  // upper-right corner
    writer.point(12, centerX, centerY);
    writer.point(13, 0.0, 0.0);       // snap base
    writer.point(14, 1.0, 1.0);       // snap spacing
    writer.point(15, 10.0, 10.0);     // grid spacing
    writer.point(16, 0.0, 0.0, 1.0);  // view direction
    writer.point(17, 0.0, 0.0, 0.0);  // view target
    writer.real(40, height);
    writer.real(41, kViewAspect);
    writer.real(42, 50.0);  // lens length
    writer.real(43, 0.0);
    writer.real(44, 0.0);
    writer.real(50, 0.0);
    writer.real(51, 0.0);
    writer.integer(71, 0);
    writer.integer(72, 1000);
    writer.integer(73, 1);
    writer.integer(74, 3);
    writer.integer(75, 0);
    writer.integer(76, 0);
    writer.integer(77, 0);
    writer.integer(78, 0);
    writer.integer(281, 0);
    writer.integer(65, 1);
    writer.point(110, 0.0, 0.0, 0.0);  // UCS origin and axes
    writer.point(111, 1.0, 0.0, 0.0);
    writer.point(112, 0.0, 1.0, 0.0);
    writer.integer(79, 0);
    writer.real(146, 0.0);
    tableEnd(writer);
}

void writeLinetypeTable(DxfWriter& writer, const DxfDrawingPlan& plan) {
    const std::uint64_t table = plan.handles.fixed(DxfFixed::kLinetypeTable);
    tableStart(writer, "LTYPE", table, 3 + plan.linetypes.size());
    const std::pair<DxfFixed, const char*> linetypes[] = {
        {DxfFixed::kLinetypeByBlock, "ByBlock"},
        {DxfFixed::kLinetypeByLayer, "ByLayer"},
        {DxfFixed::kLinetypeContinuous, "Continuous"}};
    for (const auto& linetype : linetypes) {
        recordStart(writer, "LTYPE", "AcDbLinetypeTableRecord", plan.handles.fixed(linetype.first),
                    table);
        writer.text(2, linetype.second);
        writer.integer(70, 0);
        writer.text(3, linetype.first == DxfFixed::kLinetypeContinuous ? "Solid line" : "");
        writer.integer(72, 65);
        writer.integer(73, 0);
        writer.real(40, 0.0);
    }
    for (std::size_t i = 0; i < plan.linetypes.size(); ++i) {
        writeDxfLinetype(writer, *plan.linetypes[i], plan.linetypeHandles[i], table);
    }
    tableEnd(writer);
}

void writeLayerTable(DxfWriter& writer, const DxfDrawingPlan& plan) {
    const std::uint64_t table = plan.handles.fixed(DxfFixed::kLayerTable);
    tableStart(writer, "LAYER", table, plan.layers.size());
    for (std::size_t i = 0; i < plan.layers.size(); ++i) {
        recordStart(writer, "LAYER", "AcDbLayerTableRecord", plan.handles.layers[i], table);
        writer.text(2, plan.layerNames[i]);
        writer.integer(70, 0);
        writeDxfLayerStyle(writer, plan.layers[i]);
    }
    tableEnd(writer);
}

void writeStyleTable(DxfWriter& writer, const DxfDrawingPlan& plan) {
    const std::uint64_t table = plan.handles.fixed(DxfFixed::kStyleTable);
    tableStart(writer, "STYLE", table, 1);
    recordStart(writer, "STYLE", "AcDbTextStyleTableRecord",
                plan.handles.fixed(DxfFixed::kStyleStandard), table);
    writer.text(2, "Standard");
    writer.integer(70, 0);
    writer.real(40, 0.0);
    writer.real(41, 1.0);
    writer.real(50, 0.0);
    writer.integer(71, 0);
    writer.real(42, 2.5);
    writer.text(3, "txt");
    writer.text(4, "");
    tableEnd(writer);
}

void writeEmptyTable(DxfWriter& writer, const char* name, std::uint64_t handle) {
    tableStart(writer, name, handle, 0);
    tableEnd(writer);
}

void writeAppIdTable(DxfWriter& writer, const DxfDrawingPlan& plan) {
    const std::uint64_t table = plan.handles.fixed(DxfFixed::kAppIdTable);
    tableStart(writer, "APPID", table, 1);
    recordStart(writer, "APPID", "AcDbRegAppTableRecord", plan.handles.fixed(DxfFixed::kAppIdAcad),
                table);
    writer.text(2, "ACAD");
    writer.integer(70, 0);
    tableEnd(writer);
}

void writeDimStyleTable(DxfWriter& writer, const DxfDrawingPlan& plan) {
    const std::uint64_t table = plan.handles.fixed(DxfFixed::kDimStyleTable);
    tableStart(writer, "DIMSTYLE", table, 1);
    writer.text(100, "AcDbDimStyleTable");
    writer.text(0, "DIMSTYLE");
    writer.handle(105, plan.handles.fixed(DxfFixed::kDimStyleStandard));
    writer.handle(330, table);
    writer.text(100, "AcDbSymbolTableRecord");
    writer.text(100, "AcDbDimStyleTableRecord");
    writer.text(2, "Standard");
    writer.integer(70, 0);
    writer.handle(340, plan.handles.fixed(DxfFixed::kStyleStandard));
    tableEnd(writer);
}

void writeBlockRecordTable(DxfWriter& writer, const DxfDrawingPlan& plan) {
    const std::uint64_t table = plan.handles.fixed(DxfFixed::kBlockRecordTable);
    tableStart(writer, "BLOCK_RECORD", table, 2);
    const std::pair<DxfFixed, DxfFixed> records[] = {
        {DxfFixed::kModelSpaceRecord, DxfFixed::kModelLayout},
        {DxfFixed::kPaperSpaceRecord, DxfFixed::kPaperLayout}};
    for (const auto& record : records) {
        recordStart(writer, "BLOCK_RECORD", "AcDbBlockTableRecord",
                    plan.handles.fixed(record.first), table);
        writer.text(2,
                    record.first == DxfFixed::kModelSpaceRecord ? "*Model_Space" : "*Paper_Space");
        writer.handle(340, plan.handles.fixed(record.second));
        writer.integer(70, 0);
        writer.integer(280, 1);
        writer.integer(281, 0);
    }
    tableEnd(writer);
}

void readLayer(DxfTagReader& reader, DxfDrawingRead& drawing) {
    DxfLayerRead read;
    read.line = reader.tag().line;
    bool named = false;
    reader.next();
    while (reader.code() != 0) {
        if (reader.code() == 2) {
            read.layer.name = decodeDxfText(reader.text(), drawing.utf8);
            named = true;
        } else if (reader.code() == 62) {
            read.layer.hidden = read.layer.hidden || reader.integer() < 0;
            const long long colour = std::llabs(reader.integer());
            if (colour >= 1 && colour <= 255) {
                read.layer.colorIndex = static_cast<int>(colour);
            } else {
                read.styled = true;
            }
        } else if (reader.code() == 420) {
            read.layer.trueColor = static_cast<std::int32_t>(reader.integer() & 0xFFFFFF);
        } else if (reader.code() == 370) {
            read.layer.lineweight = static_cast<int>(reader.integer());
        } else if (reader.code() == 70) {
            read.layer.hidden = read.layer.hidden || (reader.integer() & kFrozen) != 0;
            read.styled = read.styled || (reader.integer() & kLocked) != 0;
        } else if (reader.code() == 6) {
            read.layer.linetype = decodeDxfText(reader.text(), drawing.utf8);
        } else if (reader.code() == 290) {
            read.styled = read.styled || reader.integer() == 0;
        }
        reader.next();
    }
    if (!named || read.layer.name.empty()) {
        throw DrawingFileError("line " + std::to_string(read.line) + ": a LAYER has no name");
    }
    checkDxfName(read.layer.name, "layer", read.line);
    const std::wstring key = dxfNameKey(read.layer.name);
    if (!drawing.layerKeys.insert(key).second) {
        throw DrawingFileError("line " + std::to_string(read.line) + ": layer \"" +
                               wideToUtf8(read.layer.name) + "\" is listed twice");
    }
    drawing.layers.push_back(std::move(read));
}

void readLinetypeName(DxfTagReader& reader, DxfDrawingRead& drawing) {
    reader.next();
    while (reader.code() != 0) {
        if (reader.code() == 2) {
            drawing.linetypeKeys.insert(dxfNameKey(decodeDxfText(reader.text(), drawing.utf8)));
        }
        reader.next();
    }
}

void readBlockRecord(DxfTagReader& reader, DxfDrawingRead& drawing) {
    std::uint64_t handle = 0;
    std::string name;
    reader.next();
    while (reader.code() != 0) {
        if (reader.code() == 5) {
            handle = reader.handle();
        } else if (reader.code() == 2) {
            name = std::string(reader.text());
            for (char& c : name) {
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            }
        }
        reader.next();
    }
    if (name == "*MODEL_SPACE") {
        drawing.modelSpaceRecord = handle;
    } else if (name == "*PAPER_SPACE") {
        drawing.paperSpaceRecord = handle;
    }
}

}  // namespace

void writeDxfLayerStyle(DxfWriter& writer, const LayerInfo& layer) {
    writer.integer(62, layer.hidden ? -layer.colorIndex : layer.colorIndex);
    if (layer.trueColor >= 0) {
        writer.integer(420, layer.trueColor);
    }
    const DxfLinetype* linetype = findDxfLinetype(layer.linetype);
    writer.text(6, linetype != nullptr ? linetype->name : "Continuous");
    writer.integer(370, layer.lineweight);
}

void writeDxfTables(DxfWriter& writer, const DxfDrawingPlan& plan) {
    writer.text(0, "SECTION");
    writer.text(2, "TABLES");
    writeViewportTable(writer, plan);
    writeLinetypeTable(writer, plan);
    writeLayerTable(writer, plan);
    writeStyleTable(writer, plan);
    writeEmptyTable(writer, "VIEW", plan.handles.fixed(DxfFixed::kViewTable));
    writeEmptyTable(writer, "UCS", plan.handles.fixed(DxfFixed::kUcsTable));
    writeAppIdTable(writer, plan);
    writeDimStyleTable(writer, plan);
    writeBlockRecordTable(writer, plan);
    writer.text(0, "ENDSEC");
}

void readDxfTables(DxfTagReader& reader, DxfDrawingRead& drawing) {
    while (!reader.is(0, "ENDSEC")) {
        if (!reader.is(0, "TABLE")) {
            reader.fail("expected TABLE or ENDSEC in the TABLES section");
        }
        const std::size_t tableLine = reader.tag().line;
        reader.next();
        const std::string table(reader.code() == 2 ? reader.text() : std::string_view());
        while (reader.code() != 0) {
            if (reader.code() == 5 && table == "LAYER") {
                drawing.layerTable = reader.handle();
            }
            reader.next();
        }
        while (!reader.is(0, "ENDTAB")) {
            if (reader.code() != 0 || reader.is(0, "ENDSEC") || reader.is(0, "TABLE") ||
                reader.is(0, "EOF")) {
                reader.fail("the TABLE on line " + std::to_string(tableLine) +
                            " does not end with ENDTAB");
            }
            if (table == "LAYER" && reader.is(0, "LAYER")) {
                readLayer(reader, drawing);
            } else if (table == "BLOCK_RECORD" && reader.is(0, "BLOCK_RECORD")) {
                readBlockRecord(reader, drawing);
            } else if (table == "LTYPE" && reader.is(0, "LTYPE")) {
                readLinetypeName(reader, drawing);
            } else {
                reader.skipToNextObject();
            }
        }
        if (table == "LAYER") {
            drawing.layersEnd = reader.offset();
        }
        reader.skipToNextObject();
    }
    drawing.tablesEnd = reader.offset();
}

}  // namespace kafhost
