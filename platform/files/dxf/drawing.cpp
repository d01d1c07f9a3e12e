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
#include <sstream>
#include <unordered_map>

#include "kafhost/host.h"
#include "kafhost/wide_to_utf8.h"
#include "platform/files/dxf/origin.h"
#include "platform/files/dxf/sections.h"
#include "platform/files/dxf/text.h"
#include "platform/files/read_file_text.h"
#include "platform/files/replace_file.h"

namespace kafhost {
namespace {

void writeDrawing(DxfWriter& writer, const DrawingSnapshot& drawing) {
    if (drawing.dxfOrigin != nullptr) {
        writeDxfWithOrigin(writer, drawing, *drawing.dxfOrigin);
        return;
    }
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

void readClasses(DxfTagReader& reader, DxfDrawingRead& drawing) {
    while (!reader.is(0, "ENDSEC")) {
        drawing.meshClass = drawing.meshClass || reader.is(1, "MESH");
        reader.next();
    }
    drawing.classesEnd = reader.offset();
}

DrawingSnapshot assemble(DxfDrawingRead& read, std::string text, std::vector<std::string>& notes) {
    applyDxfMeshColours(read.entities, read.dictionaries, read.colourRecords);
    DrawingSnapshot drawing;
    std::vector<LayerInfo> tableLayers;
    for (const DxfLayerRead& layer : read.layers) {
        tableLayers.push_back(layer.layer);
    }
    drawing.layers = dxfLayersZeroFirst(tableLayers);
    std::unordered_map<std::wstring, std::size_t> layerKeys;
    for (std::size_t i = 0; i < drawing.layers.size(); ++i) {
        layerKeys.emplace(dxfNameKey(drawing.layers[i].name), i);
    }

    // Entities without a handle get one above every handle of the file, so that saving finds
    // them again.
    std::uint64_t unused = std::max(read.highestHandle + 1, read.handleSeed);
    std::vector<DxfReadEntity> kept;
    std::vector<EntityInfo> paperSpace;
    for (DxfReadEntity& entity : read.entities) {
        EntityInfo& info = entity.info;
        const DxfEntityHead& head = entity.head;
        // Handles used twice were refused while reading.
        if (head.handle == 0) {
            entity.head.handle = unused++;
        }
        info.handle = handleText(entity.head.handle);
        if (info.type == EntityKind::kText) {
            info.text = decodeDxfText(entity.textValue, read.utf8);
            info.textStyle = decodeDxfText(entity.textStyleValue, read.utf8);
        }
        const std::wstring layer = decodeDxfText(head.layer, read.utf8);
        const std::wstring key = dxfNameKey(layer);
        const auto found = layerKeys.find(key);
        if (found == layerKeys.end()) {
            checkDxfName(layer, "layer", head.line);
            layerKeys.emplace(key, drawing.layers.size());
            drawing.layers.push_back(LayerInfo{layer, false});
            notes.push_back("added layer \"" + wideToUtf8(layer) +
                            "\", which entities use but the LAYER table lacks");
            info.layer = layer;
        } else {
            info.layer = drawing.layers[found->second].name;
        }
        const bool paper = head.owner != 0 && head.owner == read.paperSpaceRecord ? true
                           : head.owner != 0 && head.owner == read.modelSpaceRecord
                               ? false
                               : head.paperSpace;
        info.space = paper ? L"paper" : L"model";
        kept.push_back(entity);
        (paper ? paperSpace : drawing.entities).push_back(std::move(info));
    }
    for (EntityInfo& entity : paperSpace) {
        drawing.entities.push_back(std::move(entity));
    }
    drawing.nextHandle = std::max(read.handleSeed, unused);
    drawing.dxfOrigin =
        std::make_shared<const DxfOrigin>(makeDxfOrigin(std::move(text), read, kept));
    return drawing;
}

}  // namespace

std::string dxfDataJsonCannotKeep(const DrawingSnapshot& drawing) {
    return drawing.dxfOrigin != nullptr ? drawing.dxfOrigin->jsonLosses : std::string();
}

std::string drawingToDxf(const DrawingSnapshot& drawing) {
    DxfWriter writer;
    writeDrawing(writer, drawing);
    return writer.text();
}

DrawingSnapshot drawingFromDxf(const std::string& text, std::vector<std::string>& notes) {
    DxfTagReader reader(text);
    DxfDrawingRead read;
    while (!reader.is(0, "EOF")) {
        if (!reader.is(0, "SECTION")) {
            reader.fail("expected SECTION or EOF");
        }
        const std::size_t sectionStart = reader.offset();
        reader.next();
        if (reader.code() != 2) {
            reader.fail("expected the section's name (group code 2)");
        }
        const std::string name(reader.text());
        if (read.bodyStart == kNowhere &&
            (name == "BLOCKS" || name == "ENTITIES" || name == "OBJECTS")) {
            read.bodyStart = sectionStart;
        }
        reader.next();
        if (name == "HEADER") {
            readDxfHeader(reader, read);
            reader.forgetHandles();
        } else if (name == "TABLES") {
            readDxfTables(reader, read);
        } else if (name == "BLOCKS") {
            readDxfBlocks(reader, read);
        } else if (name == "ENTITIES") {
            readDxfEntities(reader, read);
        } else if (name == "OBJECTS") {
            readDxfObjects(reader, read);
        } else if (name == "CLASSES") {
            readClasses(reader, read);
        } else {
            skipSection(reader);
        }
        reader.next();
    }
    read.end = reader.offset();
    read.highestHandle = reader.highestHandle();
    reader.checkHandlesUnique();
    return assemble(read, text, notes);
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
