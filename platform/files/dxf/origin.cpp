#include "platform/files/dxf/origin.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "kafhost/drawing_json.h"
#include "kafhost/host.h"
#include "kafhost/utf8_to_wide.h"
#include "kafhost/wide_to_utf8.h"
#include "platform/files/dxf/mesh_colours.h"
#include "platform/files/dxf/text.h"

namespace kafhost {
namespace {

// The first releases with LWPOLYLINE and subclass markers (R13), and with MESH (2010).
constexpr std::string_view kFirstR13Release = "AC1012";
constexpr std::string_view kFirstMeshRelease = "AC1024";

// Text put in place of [begin, end) of the file.
struct Piece {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::string text;
};

// A whole section of the file around tags already written.
std::string sectionText(std::string_view name, std::string_view tags) {
    DxfWriter section;
    section.text(0, "SECTION");
    section.text(2, name);
    section.raw(tags);
    section.text(0, "ENDSEC");
    return section.text();
}

bool isAscii(const std::wstring& text) {
    return std::all_of(text.begin(), text.end(),
                       [](wchar_t c) { return static_cast<unsigned long>(c) < 0x80; });
}

// Whether the entity holds what was read for it: all but the handle and the erased mark, by
// which the two were matched.
bool sameEntity(const EntityInfo& current, const EntityInfo& read) {
    if (current.handle == read.handle && current.erased == read.erased) {
        return current == read;
    }
    EntityInfo same = read;
    same.handle = current.handle;
    same.erased = current.erased;
    return current == same;
}

// R12 has no subclass markers, owners, application groups or the newer common properties.
bool r12Drops(int code) {
    return code == 100 || code == 330 || code == 360 || isDxfNewerPropertyCode(code);
}

std::string forR12(const std::string& tags) {
    std::string kept;
    std::size_t pos = 0;
    bool inGroup = false;
    while (pos < tags.size()) {
        const std::size_t codeEnd = tags.find('\n', pos);
        const std::size_t valueEnd = tags.find('\n', codeEnd + 1);
        int code = 0;
        std::size_t digits = pos;
        while (tags[digits] == ' ') {
            ++digits;
        }
        std::from_chars(tags.data() + digits, tags.data() + codeEnd, code);
        const std::string_view value(tags.data() + codeEnd + 1, valueEnd - codeEnd - 1);
        if (code == 102) {
            inGroup = !value.empty() && value.front() == '{';
        } else if (!inGroup && !r12Drops(code)) {
            kept.append(tags, pos, valueEnd + 1 - pos);
        }
        pos = valueEnd + 1;
    }
    return kept;
}

class OriginWriter {
public:
    OriginWriter(const DrawingSnapshot& drawing, const DxfOrigin& origin)
        : drawing_(drawing),
          origin_(origin),
          r12_(origin.release < kFirstR13Release),
          meshes_(origin.release >= kFirstMeshRelease) {}

    void write(DxfWriter& out) {
        // Above every handle the file holds and every entity written anew. Handles not written
        // (those the host gave its own objects, or entities that had none in the file) need no
        // room, so an unchanged drawing saves the same file again.
        next_ = origin_.highestHandle + 1;
        std::vector<const EntityInfo*> added;
        for (const EntityInfo& entity : drawing_.entities) {
            const std::uint64_t handle = parseHandle(entity.handle);
            if (entity.erased) {
                continue;
            }
            const auto read = origin_.entityIndex.find(handle);
            if (read != origin_.entityIndex.end()) {
                current_[handle] = &entity;
                if (sameEntity(entity, origin_.entities[read->second].info)) {
                    continue;
                }
            } else {
                added.push_back(&entity);
            }
            next_ = std::max(next_, handle + 1);
        }
        addLayers();
        for (const DxfReadEntity& read : origin_.entities) {
            keepOrRewrite(read);
        }
        std::string addedText;
        for (const EntityInfo* entity : added) {
            DxfEntityHead head;
            head.handle = entity->handle.empty() ? next_++ : parseHandle(entity->handle);
            head.layer.clear();  // the entity's own
            addedText += entityText(*entity, head);
        }
        if (origin_.entitiesEnd != kNowhere) {
            pieces_.push_back({origin_.entitiesEnd, origin_.entitiesEnd, addedText});
        } else if (!addedText.empty()) {
            pieces_.push_back({origin_.end, origin_.end, sectionText("ENTITIES", addedText)});
        }
        if (!objects_.empty()) {
            pieces_.push_back({origin_.objectsEnd, origin_.objectsEnd, objects_});
        }
        if (wroteMesh_ && !origin_.meshClass && origin_.classesEnd != kNowhere) {
            DxfWriter meshClass;
            writeDxfClass(meshClass, "MESH", "AcDbSubDMesh", true, 0);
            pieces_.push_back({origin_.classesEnd, origin_.classesEnd, meshClass.text()});
        }
        writeSeed();
        std::stable_sort(pieces_.begin(), pieces_.end(),
                         [](const Piece& a, const Piece& b) { return a.begin < b.begin; });
        std::size_t at = 0;
        const std::string_view text = origin_.text;
        for (const Piece& piece : pieces_) {
            out.raw(text.substr(at, piece.begin - at));
            out.raw(piece.text);
            at = std::max(at, piece.end);
        }
        out.raw(text.substr(at));
    }

private:
    [[noreturn]] static void refuse(std::uint64_t handle, const std::string& what) {
        throw DrawingFileError("entity " + wideToUtf8(handleText(handle)) + ": " + what);
    }

    // A layer name as the file's release writes text: UTF-8 from AutoCAD 2007 on; before, one
    // byte per character as kafcad reads such files, and \U+XXXX for characters beyond.
    std::string layerName(const std::wstring& name) const {
        std::string utf8 = encodeDxfName(name, "layer");
        if (origin_.utf8) {
            return utf8;
        }
        // The characters are read from the UTF-8 text, so that a character beyond U+FFFF is one
        // character whatever the width of wchar_t (two UTF-16 units on Windows).
        std::string bytes;
        for (std::size_t i = 0; i < utf8.size();) {
            const Utf8Sequence sequence = decodeUtf8(utf8, i);
            const char32_t c = sequence.code;
            i += sequence.length;
            if (c < 0x100) {
                bytes += static_cast<char>(c);
            } else if (c <= 0xFFFF) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\U+%04X", static_cast<unsigned>(c));
                bytes += escape;
            } else {
                throw DrawingFileError("layer \"" + utf8 +
                                       "\" cannot be written into a DXF file of release " +
                                       origin_.release + ", which is not UTF-8");
            }
        }
        return bytes;
    }

    // A layer of the file is kept as it is there: a change of its style cannot be saved.
    void refuseRestyled(const LayerInfo& layer, const std::wstring& key) const {
        const auto found = origin_.fileLayers.find(key);
        if (found == origin_.fileLayers.end()) {
            return;  // layer "0" that the file does not list
        }
        const LayerInfo& file = found->second;
        if (layer.colorIndex != file.colorIndex || layer.trueColor != file.trueColor ||
            dxfNameKey(layer.linetype) != dxfNameKey(file.linetype) ||
            layer.lineweight != file.lineweight) {
            throw DrawingFileError("layer \"" + wideToUtf8(layer.name) +
                                   "\": kafcad keeps the layers of the DXF file it read as they "
                                   "are, and cannot save a change of their colour, linetype or "
                                   "lineweight");
        }
    }

    // New layers go at the end of the LAYER table; a file without one gets one.
    void addLayers() {
        const bool newTable = origin_.layersEnd == kNowhere;
        std::uint64_t table = origin_.layerTable;
        std::string text;
        std::size_t count = 0;
        for (const LayerInfo& layer : drawing_.layers) {
            const std::wstring key = dxfNameKey(layer.name);
            if (origin_.layerKeys.count(key) != 0) {
                refuseRestyled(layer, key);
                continue;
            }
            if (dxfNameKey(layer.linetype) != L"CONTINUOUS" &&
                origin_.linetypeKeys.count(dxfNameKey(layer.linetype)) == 0) {
                throw DrawingFileError("layer \"" + wideToUtf8(layer.name) + "\": linetype \"" +
                                       wideToUtf8(layer.linetype) +
                                       "\" is not defined in the DXF file kafcad keeps");
            }
            if (count++ == 0 && newTable) {
                table = next_++;
            }
            DxfWriter writer;
            writer.text(0, "LAYER");
            writer.handle(5, next_++);
            writer.handle(330, table);
            writer.text(100, "AcDbSymbolTableRecord");
            writer.text(100, "AcDbLayerTableRecord");
            writer.text(2, layerName(layer.name));
            writer.integer(70, 0);
            writeDxfLayerStyle(writer, layer);
            text += writer.text();
        }
        if (count == 0) {
            return;
        }
        std::size_t at = origin_.layersEnd;
        if (newTable) {
            DxfWriter start;
            start.text(0, "TABLE");
            start.text(2, "LAYER");
            start.handle(5, table);
            start.handle(330, 0);
            start.text(100, "AcDbSymbolTable");
            start.integer(70, static_cast<long long>(count));
            start.raw(text);
            start.text(0, "ENDTAB");
            text = start.text();
            at = origin_.tablesEnd;
            if (at == kNowhere) {
                text = sectionText("TABLES", text);
                at = origin_.bodyStart != kNowhere ? origin_.bodyStart : origin_.end;
            }
        }
        pieces_.push_back({at, at, r12_ ? forR12(text) : text});
    }

    void keepOrRewrite(const DxfReadEntity& read) {
        const auto found = current_.find(read.head.handle);
        if (found == current_.end()) {
            pieces_.push_back({read.begin, read.end, std::string()});
            return;
        }
        const EntityInfo& entity = *found->second;
        if (sameEntity(entity, read.info)) {
            return;
        }
        if (read.head.foreignData) {
            refuse(read.head.handle,
                   "kafcad changed it, and it carries extended data, application groups or details "
                   "(mesh edges and creases, properties of polyface vertices) that kafcad cannot "
                   "write again");
        }
        DxfEntityHead head = read.head;
        if (entity.layer != read.info.layer) {
            head.layer.clear();
        }
        const auto colours = origin_.colourObjects.find(head.handle);
        if (colours != origin_.colourObjects.end()) {
            for (const auto& range : colours->second) {
                pieces_.push_back({range.first, range.second, std::string()});
            }
            head.extensionDictionary = 0;
        } else if (head.extensionDictionary != 0 && !entity.vertexColours.empty()) {
            refuse(head.handle,
                   "its extension dictionary holds data kafcad cannot keep beside vertex colours");
        }
        pieces_.push_back({read.begin, read.end, entityText(entity, head)});
    }

    // The entity's text (and its colour records, kept for OBJECTS), its head filled in.
    std::string entityText(const EntityInfo& entity, DxfEntityHead& head) {
        const bool mesh = entity.type == EntityKind::kSubDMesh;
        if (mesh && !meshes_) {
            refuse(head.handle, "a MESH cannot be written into a DXF file of release " +
                                    origin_.release +
                                    " (MESH needs AutoCAD 2010, AC1024, or later); kafcad keeps "
                                    "the file's release");
        }
        if (entity.type == EntityKind::kText && !origin_.utf8 && !isAscii(entity.text)) {
            refuse(head.handle,
                   "a text beyond ASCII cannot be written into a DXF file of release " +
                       origin_.release + ", which is not UTF-8");
        }
        if (entity.type == EntityKind::kPolyline && r12_) {
            refuse(head.handle,
                   "an LWPOLYLINE cannot be written into a DXF file of release " + origin_.release);
        }
        head.paperSpace = entity.space == L"paper";
        head.colorIndex = entity.colorIndex;
        head.trueColor = entity.trueColor;
        if (head.owner == 0 || head.owner == origin_.modelSpaceRecord ||
            head.owner == origin_.paperSpaceRecord) {
            head.owner = head.paperSpace ? origin_.paperSpaceRecord : origin_.modelSpaceRecord;
        }
        if (head.layer.empty()) {
            head.layer = layerName(entity.layer);
        }
        const std::uint64_t firstOwn = next_;
        next_ += dxfOwnHandleCount(entity);
        DxfWriter writer;
        writeDxfEntity(writer, head, entity, firstOwn);
        if (mesh && !entity.vertexColours.empty()) {
            if (origin_.objectsEnd == kNowhere) {
                refuse(head.handle, "the file has no OBJECTS section for its vertex colours");
            }
            DxfWriter colours;
            writeDxfMeshColours(colours, head.handle, entity, firstOwn);
            objects_ += colours.text();
        }
        wroteMesh_ = wroteMesh_ || mesh;
        return r12_ ? forR12(writer.text()) : writer.text();
    }

    void writeSeed() {
        DxfWriter seed;
        if (origin_.seedBegin != kNowhere) {
            seed.handle(5, next_);
            pieces_.push_back({origin_.seedBegin, origin_.seedEnd, seed.text()});
        } else if (origin_.headerEnd != kNowhere) {
            seed.text(9, "$HANDSEED");
            seed.handle(5, next_);
            pieces_.push_back({origin_.headerEnd, origin_.headerEnd, seed.text()});
        }
    }

    const DrawingSnapshot& drawing_;
    const DxfOrigin& origin_;
    const bool r12_;
    const bool meshes_;
    std::uint64_t next_ = 0;
    std::unordered_map<std::uint64_t, const EntityInfo*> current_;
    std::vector<Piece> pieces_;
    std::string objects_;
    bool wroteMesh_ = false;
};

std::string countOf(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string jsonLosses(const DxfDrawingRead& read, const std::vector<DxfReadEntity>& entities) {
    std::vector<std::string> losses;
    std::size_t unmodelled = read.skippedPolylines;
    for (const auto& skipped : read.skippedEntities) {
        unmodelled += skipped.second;
    }
    if (unmodelled > 0) {
        losses.push_back(
            countOf(unmodelled, "entity kafcad does not model", "entities kafcad does not model"));
    }
    if (read.blockCount > 2 || !read.skippedInBlocks.empty()) {
        losses.push_back("block definitions");
    }
    const std::size_t styled = static_cast<std::size_t>(std::count_if(
        read.layers.begin(), read.layers.end(), [](const DxfLayerRead& l) { return l.styled; }));
    if (styled > 0) {
        losses.push_back("the locked or not-plotted states (or colours outside 1 to 255) of " +
                         countOf(styled, "layer", "layers"));
    }
    const std::size_t propertied = static_cast<std::size_t>(std::count_if(
        entities.begin(), entities.end(),
        [](const DxfReadEntity& e) { return !e.head.commonTags.empty() || e.head.foreignData; }));
    if (propertied > 0) {
        losses.push_back("the linetypes, other properties or extended data of " +
                         countOf(propertied, "entity", "entities"));
    }
    if (read.headerUnits) {
        losses.push_back("the drawing units ($INSUNITS)");
    }
    std::string joined;
    for (const std::string& loss : losses) {
        joined += (joined.empty() ? "" : ", ") + loss;
    }
    return joined;
}

}  // namespace

DxfOrigin makeDxfOrigin(std::string text, const DxfDrawingRead& read,
                        const std::vector<DxfReadEntity>& entities) {
    DxfOrigin origin;
    origin.text = std::move(text);
    origin.release = read.release;
    origin.utf8 = read.utf8;
    // Handles below the seed count as used.
    origin.highestHandle =
        std::max(read.highestHandle, read.handleSeed > 0 ? read.handleSeed - 1 : 0);
    origin.modelSpaceRecord = read.modelSpaceRecord;
    origin.paperSpaceRecord = read.paperSpaceRecord;
    origin.layerTable = read.layerTable;
    origin.seedBegin = read.seedBegin;
    origin.seedEnd = read.seedEnd;
    origin.headerEnd = read.headerEnd;
    origin.classesEnd = read.classesEnd;
    origin.meshClass = read.meshClass;
    origin.layersEnd = read.layersEnd;
    origin.tablesEnd = read.tablesEnd;
    origin.bodyStart = read.bodyStart;
    origin.entitiesEnd = read.entitiesSection ? read.entitiesEnd : kNowhere;
    origin.objectsEnd = read.objectsEnd;
    origin.end = read.end;
    origin.layerKeys = read.layerKeys;
    origin.layerKeys.insert(L"0");  // every DXF drawing has it, listed or not
    origin.linetypeKeys = read.linetypeKeys;
    for (const DxfLayerRead& layer : read.layers) {
        origin.fileLayers.emplace(dxfNameKey(layer.layer.name), layer.layer);
    }
    origin.entities = entities;
    for (std::size_t i = 0; i < entities.size(); ++i) {
        const DxfEntityHead& head = entities[i].head;
        origin.entityIndex.emplace(head.handle, i);
        if (entities[i].info.type != EntityKind::kSubDMesh || head.extensionDictionary == 0) {
            continue;
        }
        const auto dictionary = read.dictionaries.find(head.extensionDictionary);
        const auto dictionaryRange = read.objectRanges.find(head.extensionDictionary);
        if (dictionary == read.dictionaries.end() || dictionary->second.size() != 1 ||
            dictionary->second.front().first != kColourRecordName ||
            dictionaryRange == read.objectRanges.end()) {
            continue;
        }
        const auto recordRange = read.objectRanges.find(dictionary->second.front().second);
        if (recordRange != read.objectRanges.end()) {
            origin.colourObjects[head.handle] = {dictionaryRange->second, recordRange->second};
        }
    }
    origin.jsonLosses = jsonLosses(read, entities);
    return origin;
}

void writeDxfWithOrigin(DxfWriter& writer, const DrawingSnapshot& drawing,
                        const DxfOrigin& origin) {
    OriginWriter(drawing, origin).write(writer);
}

}  // namespace kafhost
