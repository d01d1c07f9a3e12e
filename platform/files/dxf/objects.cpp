// OBJECTS: the named-object dictionary with ACAD_GROUP (empty) and ACAD_LAYOUT (the layouts
// "Model" and "Layout1" of the two block records), then the vertex colours of meshes. Reading
// keeps the dictionaries and XRECORDs the vertex colours are found through; other objects are the
// file's own structure and are not kept.
#include "platform/files/dxf/sections.h"

namespace kafhost {
namespace {

void dictionaryStart(DxfWriter& writer, std::uint64_t handle, std::uint64_t owner) {
    writeDxfObjectHead(writer, "DICTIONARY", handle, owner, "AcDbDictionary");
    writer.integer(281, 1);
}

void writeLayout(DxfWriter& writer, const DxfDrawingPlan& plan, DxfFixed layout, DxfFixed record) {
    const std::uint64_t dictionary = plan.handles.fixed(DxfFixed::kLayoutDictionary);
    const bool model = layout == DxfFixed::kModelLayout;
    writer.text(0, "LAYOUT");
    writer.handle(5, plan.handles.fixed(layout));
    writer.text(102, "{ACAD_REACTORS");
    writer.handle(330, dictionary);
    writer.text(102, "}");
    writer.handle(330, dictionary);
    writer.text(100, "AcDbPlotSettings");
    writer.text(1, "");
    writer.text(2, "none_device");
    writer.text(4, "ISO_A4_(210.00_x_297.00_MM)");
    writer.text(6, "");
    for (int code = 40; code <= 43; ++code) {
        writer.real(code, 7.5);  // margins
    }
    writer.real(44, 210.0);  // paper size
    writer.real(45, 297.0);
    for (int code = 46; code <= 49; ++code) {
        writer.real(code, 0.0);
    }
    writer.real(140, 0.0);
    writer.real(141, 0.0);
    writer.real(142, 1.0);
    writer.real(143, 1.0);
    writer.integer(70, model ? 1024 : 0);
    writer.integer(72, 1);  // millimetres
    writer.integer(73, 1);
    writer.integer(74, 5);
    writer.text(7, "");
    writer.integer(75, 16);
    writer.integer(76, 0);
    writer.integer(77, 2);
    writer.integer(78, 300);
    writer.real(147, 1.0);
    writer.real(148, 0.0);
    writer.real(149, 0.0);
    writer.text(100, "AcDbLayout");
    writer.text(1, model ? "Model" : "Layout1");
    writer.integer(70, 1);
    writer.integer(71, model ? 0 : 1);  // tab order
    writer.point(10, 0.0, 0.0);
    writer.point(11, 420.0, 297.0);
    writer.point(12, 0.0, 0.0, 0.0);
    writer.point(14, 1e20, 1e20, 1e20);
    writer.point(15, -1e20, -1e20, -1e20);
    writer.real(146, 0.0);
    writer.point(13, 0.0, 0.0, 0.0);
    writer.point(16, 1.0, 0.0, 0.0);
    writer.point(17, 0.0, 1.0, 0.0);
    writer.integer(76, 0);
    writer.handle(330, plan.handles.fixed(record));
}

std::uint64_t readDictionary(DxfTagReader& reader, DxfDrawingRead& drawing) {
    std::uint64_t handle = 0;
    std::vector<std::pair<std::string, std::uint64_t>> entries;
    std::string name;
    reader.next();
    while (reader.code() != 0) {
        const int code = reader.code();
        if (code == 5) {
            handle = reader.handle();
        } else if (code == 3) {
            name = std::string(reader.text());
        } else if ((code == 350 || code == 360) && !name.empty()) {
            entries.emplace_back(name, reader.handle());
            name.clear();
        }
        reader.next();
    }
    drawing.dictionaries[handle] = std::move(entries);
    return handle;
}

std::uint64_t readRecord(DxfTagReader& reader, DxfDrawingRead& drawing) {
    DxfColourRecord record = readDxfColourRecord(reader);
    const std::uint64_t handle = record.handle;
    drawing.colourRecords[handle] = std::move(record);
    return handle;
}

}  // namespace

void writeDxfObjects(DxfWriter& writer, const DxfDrawingPlan& plan) {
    const DxfHandlePlan& handles = plan.handles;
    const std::uint64_t root = handles.fixed(DxfFixed::kRootDictionary);
    writer.text(0, "SECTION");
    writer.text(2, "OBJECTS");
    dictionaryStart(writer, root, 0);
    writer.text(3, "ACAD_GROUP");
    writer.handle(350, handles.fixed(DxfFixed::kGroupDictionary));
    writer.text(3, "ACAD_LAYOUT");
    writer.handle(350, handles.fixed(DxfFixed::kLayoutDictionary));
    dictionaryStart(writer, handles.fixed(DxfFixed::kGroupDictionary), root);
    dictionaryStart(writer, handles.fixed(DxfFixed::kLayoutDictionary), root);
    writer.text(3, "Model");
    writer.handle(350, handles.fixed(DxfFixed::kModelLayout));
    writer.text(3, "Layout1");
    writer.handle(350, handles.fixed(DxfFixed::kPaperLayout));
    writeLayout(writer, plan, DxfFixed::kModelLayout, DxfFixed::kModelSpaceRecord);
    writeLayout(writer, plan, DxfFixed::kPaperLayout, DxfFixed::kPaperSpaceRecord);
    for (std::size_t i = 0; i < plan.entities.size(); ++i) {
        if (plan.entities[i]->type == EntityKind::kSubDMesh) {
            writeDxfMeshColours(writer, plan.heads[i].handle, *plan.entities[i],
                                handles.firstOwnHandles[i]);
        }
    }
    writer.text(0, "ENDSEC");
}

void readDxfObjects(DxfTagReader& reader, DxfDrawingRead& drawing) {
    while (!reader.is(0, "ENDSEC")) {
        if (reader.code() != 0) {
            reader.fail("expected an object (group code 0), found group code " +
                        std::to_string(reader.code()));
        }
        const std::size_t begin = reader.offset();
        if (reader.is(0, "DICTIONARY")) {
            drawing.objectRanges[readDictionary(reader, drawing)] = {begin, reader.offset()};
        } else if (reader.is(0, "XRECORD")) {
            drawing.objectRanges[readRecord(reader, drawing)] = {begin, reader.offset()};
        } else {
            reader.skipToNextObject();
        }
    }
    drawing.objectsEnd = reader.offset();
}

}  // namespace kafhost
