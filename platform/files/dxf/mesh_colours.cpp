// Vertex colours of MESH entities: an extension dictionary on the mesh holds the XRECORD
// "KAF_VERTEX_COLORS": 90 the vertex count, then one 420 (0x00RRGGBB) per vertex. They are written
// to the OBJECTS section by writeDxfMeshColours and joined to their mesh after reading by
// applyDxfMeshColours.
#include "platform/files/dxf/mesh_colours.h"

#include <string>

#include "kafhost/drawing_json.h"

namespace kafhost {
void writeDxfMeshColours(DxfWriter& writer, std::uint64_t meshHandle, const EntityInfo& mesh,
                         std::uint64_t firstOwnHandle) {
    if (mesh.vertexColours.empty()) {
        return;
    }
    const std::uint64_t dictionary = firstOwnHandle;
    const std::uint64_t record = firstOwnHandle + 1;
    writeDxfObjectHead(writer, "DICTIONARY", dictionary, meshHandle, "AcDbDictionary");
    writer.integer(280, 1);
    writer.integer(281, 1);
    writer.text(3, kColourRecordName);
    writer.handle(360, record);

    writeDxfObjectHead(writer, "XRECORD", record, dictionary, "AcDbXrecord");
    writer.integer(280, 1);
    writer.integer(90, static_cast<long long>(mesh.vertexColours.size()));
    // The true colours are written a block at a time.
    constexpr std::size_t kBlock = 4096;
    int packed[kBlock];
    std::size_t held = 0;
    for (const Rgb& rgb : mesh.vertexColours) {
        for (const int channel : rgb) {
            if (channel < 0 || channel > 255) {
                throw DrawingFileError("a colour channel is not 0 to 255");
            }
        }
        packed[held++] = (rgb[0] << 16) | (rgb[1] << 8) | rgb[2];
        if (held == kBlock) {
            writer.integers(420, packed, held);
            held = 0;
        }
    }
    writer.integers(420, packed, held);
}

DxfColourRecord readDxfColourRecord(DxfTagReader& reader) {
    DxfColourRecord record;
    record.line = reader.tag().line;
    reader.next();
    while (reader.code() != 0) {
        if (reader.code() == 5) {
            record.handle = reader.handle();
        } else if (reader.code() == 90 && record.count < 0) {
            record.count = reader.integer();
        } else if (reader.code() == 420) {
            const long long value = reader.integer();
            if (value < 0 || value > 0xFFFFFF) {
                reader.failValue("colour " + std::to_string(value) +
                                 " is not a true colour 0x00RRGGBB");
            }
            record.colours.push_back(Rgb{static_cast<int>(value >> 16),
                                         static_cast<int>((value >> 8) & 0xFF),
                                         static_cast<int>(value & 0xFF)});
        }
        reader.next();
    }
    return record;
}

void applyDxfMeshColours(std::vector<DxfReadEntity>& entities, const DxfDictionaries& dictionaries,
                         const DxfColourRecords& records) {
    for (DxfReadEntity& entity : entities) {
        if (entity.info.type != EntityKind::kSubDMesh || entity.head.extensionDictionary == 0) {
            continue;
        }
        const auto dictionary = dictionaries.find(entity.head.extensionDictionary);
        if (dictionary == dictionaries.end()) {
            continue;
        }
        for (const auto& entry : dictionary->second) {
            const auto record = records.find(entry.second);
            if (entry.first != kColourRecordName || record == records.end()) {
                continue;
            }
            const DxfColourRecord& colours = record->second;
            const std::size_t vertexCount = entity.info.vertices.size();
            if (colours.colours.size() != vertexCount ||
                (colours.count >= 0 && static_cast<std::size_t>(colours.count) != vertexCount)) {
                throw DrawingFileError(
                    "line " + std::to_string(colours.line) + ": " + kColourRecordName + " holds " +
                    std::to_string(colours.colours.size()) + " colours for the " +
                    std::to_string(vertexCount) + " vertices of the MESH on line " +
                    std::to_string(entity.head.line));
            }
            entity.info.vertexColours = colours.colours;
        }
    }
}

}  // namespace kafhost
