// MESH (subdivision meshes): version 2, no blend crease, the subdivision level (91), the vertices
// (92 count, 10 points), the face list (93 size, 90 items: per face its vertex count, then its
// vertex indices from 0), no edges (94 0), no creases (95 0), no overrides (90 0).
//
// Vertex colours: an extension dictionary on the mesh holds the XRECORD "KAF_VERTEX_COLORS":
// 90 the vertex count, then one 420 (0x00RRGGBB) per vertex. They are written to the OBJECTS
// section by WriteDxfMeshColors and joined to their mesh after reading by ApplyDxfMeshColors.
#include "platform/files/dxf/mesh_colors.h"

#include <string>

#include "kafhost/drawing_json.h"
#include "platform/files/dxf/3dface.h"

namespace kafhost {
namespace {

constexpr int kMeshVersion = 2;
constexpr int kLargestSubDLevel = 4;
constexpr const char* kColorRecordName = "KAF_VERTEX_COLORS";

void WriteFaceList(DxfWriter& writer, const EntityInfo& mesh) {
    const long long vertexCount = static_cast<long long>(mesh.vertices.size());
    long long listSize = 0;
    for (const std::vector<int>& face : mesh.faces) {
        if (face.size() < 3)
            throw DrawingFileError("a mesh face needs at least 3 vertices");
        listSize += 1 + static_cast<long long>(face.size());
    }
    writer.integer(93, listSize);
    for (const std::vector<int>& face : mesh.faces) {
        writer.integer(90, static_cast<long long>(face.size()));
        for (const int index : face) {
            if (index < 0 || index >= vertexCount)
                throw DrawingFileError("a mesh face names vertex " + std::to_string(index) +
                                       ", the mesh has " + std::to_string(vertexCount));
            writer.integer(90, index);
        }
    }
}

// Reads the 92 count and that many points.
void ReadVertices(DxfTagReader& reader, EntityInfo& mesh) {
    const long long count = reader.integer();
    if (count < 0)
        reader.failValue("negative vertex count");
    reader.next();
    for (long long i = 0; i < count; ++i) {
        Point3 point{};
        for (int axis = 0; axis < 3; ++axis) {
            if (reader.code() != 10 + 10 * axis)
                reader.fail("MESH vertex " + std::to_string(i) + " of " + std::to_string(count) +
                            ": expected group code " + std::to_string(10 + 10 * axis) + ", found " +
                            std::to_string(reader.code()));
            point[static_cast<std::size_t>(axis)] = reader.real();
            reader.next();
        }
        mesh.vertices.push_back(point);
    }
}

// Reads the 93 size and that many 90 items as faces, checking them against the vertices.
void ReadFaceList(DxfTagReader& reader, EntityInfo& mesh) {
    const long long size = reader.integer();
    if (size < 0)
        reader.failValue("negative face list size");
    reader.next();
    const long long vertexCount = static_cast<long long>(mesh.vertices.size());
    long long left = size;
    auto item = [&reader, &left]() {
        if (left == 0)
            reader.fail("a MESH face runs past the end of the face list");
        if (reader.code() != 90)
            reader.fail("expected face list item (group code 90), found group code " +
                        std::to_string(reader.code()));
        --left;
        return reader.integer();
    };
    while (left > 0) {
        const long long corners = item();
        if (corners < 3)
            reader.failValue("a MESH face needs at least 3 vertices, found " +
                             std::to_string(corners));
        reader.next();
        std::vector<int> face;
        for (long long k = 0; k < corners; ++k) {
            const long long index = item();
            if (index < 0 || index >= vertexCount)
                reader.failValue("the MESH face names vertex " + std::to_string(index) +
                                 ", the mesh has " + std::to_string(vertexCount));
            face.push_back(static_cast<int>(index));
            reader.next();
        }
        mesh.faces.push_back(std::move(face));
    }
}

}  // namespace

std::uint64_t DxfMeshOwnHandles(const EntityInfo& mesh) {
    return mesh.vertexColors.empty() ? 0 : 2;
}

void WriteDxfMesh(DxfWriter& writer, const DxfEntityHead& head, const EntityInfo& mesh,
                  std::uint64_t firstOwnHandle) {
    if (!mesh.vertexColors.empty() && mesh.vertexColors.size() != mesh.vertices.size())
        throw DrawingFileError("a mesh needs one colour per vertex or none");
    DxfEntityHead meshHead = head;
    meshHead.extensionDictionary = mesh.vertexColors.empty() ? 0 : firstOwnHandle;
    WriteDxfEntityHead(writer, "MESH", meshHead);
    writer.text(100, "AcDbSubDMesh");
    writer.integer(71, kMeshVersion);
    writer.integer(72, 0);
    writer.integer(91, mesh.subDLevel);
    writer.integer(92, static_cast<long long>(mesh.vertices.size()));
    for (const Point3& vertex : mesh.vertices)
        writer.point(10, vertex[0], vertex[1], vertex[2]);
    WriteFaceList(writer, mesh);
    writer.integer(94, 0);
    writer.integer(95, 0);
    writer.integer(90, 0);
}

void WriteDxfMeshColors(DxfWriter& writer, std::uint64_t meshHandle, const EntityInfo& mesh,
                        std::uint64_t firstOwnHandle) {
    if (mesh.vertexColors.empty())
        return;
    const std::uint64_t dictionary = firstOwnHandle;
    const std::uint64_t record = firstOwnHandle + 1;
    writer.text(0, "DICTIONARY");
    writer.handle(5, dictionary);
    writer.text(102, "{ACAD_REACTORS");
    writer.handle(330, meshHandle);
    writer.text(102, "}");
    writer.handle(330, meshHandle);
    writer.text(100, "AcDbDictionary");
    writer.integer(280, 1);
    writer.integer(281, 1);
    writer.text(3, kColorRecordName);
    writer.handle(360, record);

    writer.text(0, "XRECORD");
    writer.handle(5, record);
    writer.text(102, "{ACAD_REACTORS");
    writer.handle(330, dictionary);
    writer.text(102, "}");
    writer.handle(330, dictionary);
    writer.text(100, "AcDbXrecord");
    writer.integer(280, 1);
    writer.integer(90, static_cast<long long>(mesh.vertexColors.size()));
    for (const Rgb& rgb : mesh.vertexColors) {
        for (const int channel : rgb) {
            if (channel < 0 || channel > 255)
                throw DrawingFileError("a colour channel is not 0 to 255");
        }
        writer.integer(420, (rgb[0] << 16) | (rgb[1] << 8) | rgb[2]);
    }
}

void ReadDxfMesh(DxfTagReader& reader, DxfReadEntity& entity) {
    EntityInfo& mesh = entity.info;
    mesh.type = L"AcDbSubDMesh";
    bool verticesRead = false;
    bool facesRead = false;
    reader.next();
    while (reader.code() != 0) {
        if (ReadDxfEntityHeadTag(reader, entity.head))
            continue;
        const int code = reader.code();
        if (code == 91 && !verticesRead) {
            const long long level = reader.integer();
            if (level < 0 || level > kLargestSubDLevel)
                reader.failValue("subdivision level " + std::to_string(level) +
                                 " is outside 0 ... 4");
            mesh.subDLevel = static_cast<int>(level);
        } else if (code == 92 && !verticesRead) {
            ReadVertices(reader, mesh);
            verticesRead = true;
            continue;
        } else if (code == 93 && !facesRead) {
            ReadFaceList(reader, mesh);
            facesRead = true;
            continue;
        } else if (code == 94) {
            // Edges, creases and overrides: nothing the drawing keeps.
            reader.skipToNextObject();
            return;
        }
        reader.next();
    }
}

DxfColorRecord ReadDxfColorRecord(DxfTagReader& reader) {
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
            if (value < 0 || value > 0xFFFFFF)
                reader.failValue("colour " + std::to_string(value) +
                                 " is not a true colour 0x00RRGGBB");
            record.colors.push_back(Rgb{static_cast<int>(value >> 16),
                                        static_cast<int>((value >> 8) & 0xFF),
                                        static_cast<int>(value & 0xFF)});
        }
        reader.next();
    }
    return record;
}

void ApplyDxfMeshColors(std::vector<DxfReadEntity>& entities, const DxfDictionaries& dictionaries,
                        const DxfColorRecords& records) {
    for (DxfReadEntity& entity : entities) {
        if (entity.info.type != L"AcDbSubDMesh" || entity.head.extensionDictionary == 0)
            continue;
        const auto dictionary = dictionaries.find(entity.head.extensionDictionary);
        if (dictionary == dictionaries.end())
            continue;
        for (const auto& entry : dictionary->second) {
            const auto record = records.find(entry.second);
            if (entry.first != kColorRecordName || record == records.end())
                continue;
            const DxfColorRecord& colors = record->second;
            const std::size_t vertexCount = entity.info.vertices.size();
            if (colors.colors.size() != vertexCount ||
                (colors.count >= 0 && static_cast<std::size_t>(colors.count) != vertexCount))
                throw DrawingFileError(
                    "line " + std::to_string(colors.line) + ": " + kColorRecordName + " holds " +
                    std::to_string(colors.colors.size()) + " colours for the " +
                    std::to_string(vertexCount) + " vertices of the MESH on line " +
                    std::to_string(entity.head.line));
            entity.info.vertexColors = colors.colors;
        }
    }
}

}  // namespace kafhost
