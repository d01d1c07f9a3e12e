// Drawing files in DXF: the sections in order, the snapshot assembled from what was read, and the
// files themselves.
#include "kafhost/drawing_dxf.h"

#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "kafhost/host.h"
#include "kafhost/wide_to_utf8.h"
#include "platform/files/dxf/sections.h"
#include "platform/files/dxf/text.h"
#include "platform/files/replace_file.h"

namespace kafhost {
namespace {

void WriteDrawing(DxfWriter& writer, const DrawingSnapshot& drawing) {
    const DxfDrawingPlan plan = PlanDxfDrawing(drawing);
    WriteDxfHeader(writer, plan);
    WriteDxfClasses(writer, plan);
    WriteDxfTables(writer, plan);
    WriteDxfBlocks(writer, plan);
    WriteDxfEntities(writer, plan);
    WriteDxfObjects(writer, plan);
    writer.text(0, "EOF");
}

void SkipSection(DxfTagReader& reader) {
    while (!reader.is(0, "ENDSEC"))
        reader.next();
}

std::string Count(std::size_t count, const std::string& kind) {
    return std::to_string(count) + " " + kind + (count == 1 ? " entity" : " entities");
}

DrawingSnapshot Assemble(DxfDrawingRead& read, std::vector<std::string>& notes) {
    ApplyDxfMeshColors(read.entities, read.dictionaries, read.colorRecords);
    DrawingSnapshot drawing;
    std::vector<LayerInfo> tableLayers;
    for (const DxfLayerRead& layer : read.layers)
        tableLayers.push_back(layer.layer);
    drawing.layers = DxfLayersZeroFirst(tableLayers);
    std::vector<std::wstring> layerKeys;
    for (const LayerInfo& layer : drawing.layers)
        layerKeys.push_back(DxfNameKey(layer.name));

    std::set<std::uint64_t> handles;
    std::vector<EntityInfo> paperSpace;
    for (DxfReadEntity& entity : read.entities) {
        EntityInfo& info = entity.info;
        const DxfEntityHead& head = entity.head;
        if (head.handle != 0) {
            if (!handles.insert(head.handle).second)
                throw DrawingFileError("line " + std::to_string(head.line) + ": handle " +
                                       wideToUtf8(handleText(head.handle)) + " is used twice");
            info.handle = handleText(head.handle);
        }
        const std::wstring layer = DecodeDxfText(head.layer, read.utf8);
        const std::wstring key = DxfNameKey(layer);
        const auto found = std::find(layerKeys.begin(), layerKeys.end(), key);
        if (found == layerKeys.end()) {
            CheckDxfName(layer, "layer", head.line);
            drawing.layers.push_back(LayerInfo{layer, false});
            layerKeys.push_back(key);
            notes.push_back("added layer \"" + wideToUtf8(layer) +
                            "\", which entities use but the LAYER table lacks");
            info.layer = layer;
        } else {
            info.layer = drawing.layers[static_cast<std::size_t>(found - layerKeys.begin())].name;
        }
        const bool paper = head.owner != 0 && head.owner == read.paperSpaceRecord ? true
                           : head.owner != 0 && head.owner == read.modelSpaceRecord
                               ? false
                               : head.paperSpace;
        info.space = paper ? L"paper" : L"model";
        (paper ? paperSpace : drawing.entities).push_back(std::move(info));
    }
    for (EntityInfo& entity : paperSpace)
        drawing.entities.push_back(std::move(entity));
    drawing.nextHandle = read.handleSeed;

    for (const auto& skipped : read.skippedEntities)
        notes.push_back("skipped " + Count(skipped.second, skipped.first));
    if (read.skippedPolylines > 0)
        notes.push_back("skipped " + Count(read.skippedPolylines, "POLYLINE") +
                        (read.skippedPolylines == 1 ? " that is not a polyface mesh"
                                                    : " that are not polyface meshes"));
    for (const auto& skipped : read.skippedInBlocks)
        notes.push_back("skipped " + Count(skipped.second, skipped.first) +
                        " in block definitions");
    return drawing;
}

std::string FileError(const std::string& path, const char* what) {
    return path + ": " + what + ": " + std::strerror(errno);
}

}  // namespace

std::string drawingToDxf(const DrawingSnapshot& drawing) {
    DxfWriter writer;
    WriteDrawing(writer, drawing);
    return writer.text();
}

DrawingSnapshot drawingFromDxf(const std::string& text, std::vector<std::string>& notes) {
    DxfTagReader reader(text);
    DxfDrawingRead read;
    std::vector<std::string> sectionNotes;
    while (!reader.is(0, "EOF")) {
        if (!reader.is(0, "SECTION"))
            reader.fail("expected SECTION or EOF");
        reader.next();
        if (reader.code() != 2)
            reader.fail("expected the section's name (group code 2)");
        const std::string name(reader.text());
        reader.next();
        if (name == "HEADER") {
            ReadDxfHeader(reader, read);
        } else if (name == "TABLES") {
            ReadDxfTables(reader, read);
        } else if (name == "BLOCKS") {
            ReadDxfBlocks(reader, read);
        } else if (name == "ENTITIES") {
            ReadDxfEntities(reader, read);
        } else if (name == "OBJECTS") {
            ReadDxfObjects(reader, read);
        } else {
            if (name != "CLASSES")
                sectionNotes.push_back("skipped section " + name);
            SkipSection(reader);
        }
        reader.next();
    }
    std::vector<std::string> assembled;
    DrawingSnapshot drawing = Assemble(read, assembled);
    notes.insert(notes.end(), sectionNotes.begin(), sectionNotes.end());
    notes.insert(notes.end(), assembled.begin(), assembled.end());
    return drawing;
}

void saveDxfDrawingFile(const DrawingSnapshot& drawing, const std::string& path) {
    replaceFile(path, [&drawing](std::FILE* file) {
        DxfWriter writer(file);
        WriteDrawing(writer, drawing);
        writer.finish();
    });
}

DrawingSnapshot loadDxfDrawingFile(const std::string& path, std::vector<std::string>& notes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw DrawingFileError(FileError(path, "cannot open"));
    std::ostringstream contents;
    contents << in.rdbuf();
    if (in.bad())
        throw DrawingFileError(FileError(path, "cannot read"));
    try {
        return drawingFromDxf(contents.str(), notes);
    } catch (const DrawingFileError& error) {
        throw DrawingFileError(path + ": " + error.what());
    }
}

}  // namespace kafhost
