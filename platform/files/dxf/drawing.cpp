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
#include "platform/files/read_file_text.h"
#include "platform/files/replace_file.h"

namespace kafhost {
namespace {

void writeDrawing(DxfWriter& writer, const DrawingSnapshot& drawing) {
    const DxfDrawingPlan plan = planDxfDrawing(drawing);
    writeDxfHeader(writer, plan);
    writeDxfClasses(writer, plan);
    writeDxfTables(writer, plan);
    writeDxfBlocks(writer, plan);
    writeDxfEntities(writer, plan);
    writeDxfObjects(writer, plan);
    writer.text(0, "EOF");
}

void skipSection(DxfTagReader& reader) {
    while (!reader.is(0, "ENDSEC")) {
        reader.next();
    }
}

std::string entityCount(std::size_t count, const std::string& kind) {
    return std::to_string(count) + " " + kind + (count == 1 ? " entity" : " entities");
}

DrawingSnapshot assemble(DxfDrawingRead& read, std::vector<std::string>& notes) {
    applyDxfMeshColors(read.entities, read.dictionaries, read.colorRecords);
    DrawingSnapshot drawing;
    std::vector<LayerInfo> tableLayers;
    for (const DxfLayerRead& layer : read.layers) {
        tableLayers.push_back(layer.layer);
    }
    drawing.layers = dxfLayersZeroFirst(tableLayers);
    std::vector<std::wstring> layerKeys;
    for (const LayerInfo& layer : drawing.layers) {
        layerKeys.push_back(dxfNameKey(layer.name));
    }

    std::set<std::uint64_t> handles;
    std::vector<EntityInfo> paperSpace;
    for (DxfReadEntity& entity : read.entities) {
        EntityInfo& info = entity.info;
        const DxfEntityHead& head = entity.head;
        if (head.handle != 0) {
            if (!handles.insert(head.handle).second) {
                throw DrawingFileError("line " + std::to_string(head.line) + ": handle " +
                                       wideToUtf8(handleText(head.handle)) + " is used twice");
            }
            info.handle = handleText(head.handle);
        }
        const std::wstring layer = decodeDxfText(head.layer, read.utf8);
        const std::wstring key = dxfNameKey(layer);
        const auto found = std::find(layerKeys.begin(), layerKeys.end(), key);
        if (found == layerKeys.end()) {
            checkDxfName(layer, "layer", head.line);
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
    for (EntityInfo& entity : paperSpace) {
        drawing.entities.push_back(std::move(entity));
    }
    drawing.nextHandle = read.handleSeed;

    for (const auto& skipped : read.skippedEntities) {
        notes.push_back("skipped " + entityCount(skipped.second, skipped.first));
    }
    if (read.skippedPolylines > 0) {
        notes.push_back("skipped " + entityCount(read.skippedPolylines, "POLYLINE") +
                        (read.skippedPolylines == 1 ? " that is not a polyface mesh"
                                                    : " that are not polyface meshes"));
    }
    for (const auto& skipped : read.skippedInBlocks) {
        notes.push_back("skipped " + entityCount(skipped.second, skipped.first) +
                        " in block definitions");
    }
    return drawing;
}

}  // namespace

std::string drawingToDxf(const DrawingSnapshot& drawing) {
    DxfWriter writer;
    writeDrawing(writer, drawing);
    return writer.text();
}

DrawingSnapshot drawingFromDxf(const std::string& text, std::vector<std::string>& notes) {
    DxfTagReader reader(text);
    DxfDrawingRead read;
    std::vector<std::string> sectionNotes;
    while (!reader.is(0, "EOF")) {
        if (!reader.is(0, "SECTION")) {
            reader.fail("expected SECTION or EOF");
        }
        reader.next();
        if (reader.code() != 2) {
            reader.fail("expected the section's name (group code 2)");
        }
        const std::string name(reader.text());
        reader.next();
        if (name == "HEADER") {
            readDxfHeader(reader, read);
        } else if (name == "TABLES") {
            readDxfTables(reader, read);
        } else if (name == "BLOCKS") {
            readDxfBlocks(reader, read);
        } else if (name == "ENTITIES") {
            readDxfEntities(reader, read);
        } else if (name == "OBJECTS") {
            readDxfObjects(reader, read);
        } else {
            if (name != "CLASSES") {
                sectionNotes.push_back("skipped section " + name);
            }
            skipSection(reader);
        }
        reader.next();
    }
    std::vector<std::string> assembled;
    DrawingSnapshot drawing = assemble(read, assembled);
    notes.insert(notes.end(), sectionNotes.begin(), sectionNotes.end());
    notes.insert(notes.end(), assembled.begin(), assembled.end());
    return drawing;
}

void saveDxfDrawingFile(const DrawingSnapshot& drawing, const std::string& path) {
    replaceFile(path, [&drawing](std::FILE* file) {
        DxfWriter writer(file);
        writeDrawing(writer, drawing);
        writer.finish();
    });
}

DrawingSnapshot loadDxfDrawingFile(const std::string& path, std::vector<std::string>& notes) {
    const std::string text = readFileText(path);
    try {
        return drawingFromDxf(text, notes);
    } catch (const DrawingFileError& error) {
        throw DrawingFileError(path + ": " + error.what());
    }
}

}  // namespace kafhost
