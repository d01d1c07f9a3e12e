// Vertex colours of MESH entities: an extension dictionary on the mesh holds the XRECORD
// "KAF_VERTEX_COLORS": 90 the vertex count, then one 420 (0x00RRGGBB) per vertex. They are written
// to the OBJECTS section by writeDxfMeshColors and joined to their mesh after reading by
// applyDxfMeshColors.
#include "platform/files/dxf/mesh_colors.h"

#include <string>

#include "kafhost/drawing_json.h"

namespace kafhost {
namespace {

constexpr const char* kColorRecordName = "KAF_VERTEX_COLORS";

}  // namespace

void writeDxfMeshColors(DxfWriter& writer, std::uint64_t meshHandle, const EntityInfo& mesh,
                        std::uint64_t firstOwnHandle) {
    if (mesh.vertexColors.empty()) {
        return;
    }
    const std::uint64_t dictionary = firstOwnHandle;
    const std::uint64_t record = firstOwnHandle + 1;
    writeDxfObjectHead(writer, "DICTIONARY", dictionary, meshHandle, "AcDbDictionary");
    writer.integer(280, 1);
    writer.integer(281, 1);
    writer.text(3, kColorRecordName);
    writer.handle(360, record);

    writeDxfObjectHead(writer, "XRECORD", record, dictionary, "AcDbXrecord");
    writer.integer(280, 1);
    writer.integer(90, static_cast<long long>(mesh.vertexColors.size()));
    for (const Rgb& rgb : mesh.vertexColors) {
        for (const int channel : rgb) {
            if (channel < 0 || channel > 255) {
                throw DrawingFileError("a colour channel is not 0 to 255");
            }
        }
        writer.integer(420, (rgb[0] << 16) | (rgb[1] << 8) | rgb[2]);
    }
}

DxfColorRecord readDxfColorRecord(DxfTagReader& reader) {
    DxfColorRecord record;
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
            record.colors.push_back(Rgb{static_cast<int>(value >> 16),
                                        static_cast<int>((value >> 8) & 0xFF),
                                        static_cast<int>(value & 0xFF)});
        }
        reader.next();
    }
    return record;
}

void applyDxfMeshColors(std::vector<DxfReadEntity>& entities, const DxfDictionaries& dictionaries,
                        const DxfColorRecords& records) {
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
            if (entry.first != kColorRecordName || record == records.end()) {
                continue;
            }
            const DxfColorRecord& colors = record->second;
            const std::size_t vertexCount = entity.info.vertices.size();
            if (colors.colors.size() != vertexCount ||
                (colors.count >= 0 && static_cast<std::size_t>(colors.count) != vertexCount)) {
                throw DrawingFileError(
                    "line " + std::to_string(colors.line) + ": " + kColorRecordName + " holds " +
                    std::to_string(colors.colors.size()) + " colours for the " +
                    std::to_string(vertexCount) + " vertices of the MESH on line " +
                    std::to_string(entity.head.line));
            }
            entity.info.vertexColors = colors.colors;
        }
    }
}

}  // namespace kafhost
