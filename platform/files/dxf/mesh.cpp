// MESH (subdivision meshes): version 2, no blend crease, the subdivision level (91), the vertices
// (92 count, 10 points), the face list (93 size, 90 items: per face its vertex count, then its
// vertex indices from 0), no edges (94 0), no creases (95 0), no overrides (90 0). A mesh with
// vertex colours has an extension dictionary (mesh_colours.h).
#include "platform/files/dxf/mesh.h"

#include <algorithm>
#include <string>

#include "kafhost/drawing_json.h"

namespace kafhost {
namespace {

constexpr int kMeshVersion = 2;
constexpr int kLargestSubDLevel = 4;

// Items of an in-place face list written per call: a bounded block of the writer's buffer.
constexpr std::size_t kItemsAtATime = 1 << 14;

// Refuses a face of fewer than 3 vertices or naming a vertex the mesh does not have.
void checkFace(const int* indices, std::size_t count, std::size_t vertexCount) {
    if (count < 3) {
        throw DrawingFileError("a mesh face needs at least 3 vertices");
    }
    for (std::size_t k = 0; k < count; ++k) {
        if (indices[k] < 0 || static_cast<std::size_t>(indices[k]) >= vertexCount) {
            throw DrawingFileError("a mesh face names vertex " + std::to_string(indices[k]) +
                                   ", the mesh has " + std::to_string(vertexCount));
        }
    }
}

// The drawing's own face list (per face its vertex count, then its vertex indices) is the 90
// items as they are written: every face is checked first, then the list is written as it stands.
void writeFaceListInPlace(DxfWriter& writer, const EntityInfo& mesh) {
    const int* const list = mesh.faceList;
    const std::size_t size = mesh.faceListSize;
    for (std::size_t i = 0; i < size; i += 1 + static_cast<std::size_t>(list[i])) {
        const std::size_t count = list[i] < 0 ? 0 : static_cast<std::size_t>(list[i]);
        if (count >= 3 && count >= size - i) {
            throw DrawingFileError("a mesh face runs past the end of the face list");
        }
        checkFace(list + i + 1, count, mesh.vertices.size());
    }
    writer.integer(93, static_cast<long long>(size));
    for (std::size_t i = 0; i < size; i += kItemsAtATime) {
        writer.integers(90, list + i, std::min(kItemsAtATime, size - i));
    }
}

// The face list of faces held one by one, each checked as it is written.
void writeFaceList(DxfWriter& writer, const EntityInfo& mesh) {
    if (mesh.faceList != nullptr) {
        writeFaceListInPlace(writer, mesh);
        return;
    }
    std::size_t listSize = 0;
    for (const std::vector<int>& face : mesh.faces) {
        listSize += 1 + face.size();
    }
    writer.integer(93, static_cast<long long>(listSize));
    for (const std::vector<int>& face : mesh.faces) {
        checkFace(face.data(), face.size(), mesh.vertices.size());
        writer.integer(90, static_cast<long long>(face.size()));
        writer.integers(90, face.data(), face.size());
    }
}

// Reads the 92 count and that many points.
void readVertices(DxfTagReader& reader, EntityInfo& mesh) {
    const long long count = reader.integer();
    if (count < 0) {
        reader.failValue("negative vertex count");
    }
    reader.next();
    for (long long i = 0; i < count; ++i) {
        Point3 point{};
        for (int axis = 0; axis < 3; ++axis) {
            if (reader.code() != 10 + 10 * axis) {
                reader.fail("MESH vertex " + std::to_string(i) + " of " + std::to_string(count) +
                            ": expected group code " + std::to_string(10 + 10 * axis) + ", found " +
                            std::to_string(reader.code()));
            }
            point[static_cast<std::size_t>(axis)] = reader.real();
            reader.next();
        }
        mesh.vertices.push_back(point);
    }
}

// Reads the 93 size and that many 90 items as faces, checking them against the vertices.
void readFaceList(DxfTagReader& reader, EntityInfo& mesh) {
    const long long size = reader.integer();
    if (size < 0) {
        reader.failValue("negative face list size");
    }
    reader.next();
    const long long vertexCount = static_cast<long long>(mesh.vertices.size());
    long long left = size;
    auto item = [&reader, &left]() {
        if (left == 0) {
            reader.fail("a MESH face runs past the end of the face list");
        }
        if (reader.code() != 90) {
            reader.fail("expected face list item (group code 90), found group code " +
                        std::to_string(reader.code()));
        }
        --left;
        return reader.integer();
    };
    while (left > 0) {
        const long long corners = item();
        if (corners < 3) {
            reader.failValue("a MESH face needs at least 3 vertices, found " +
                             std::to_string(corners));
        }
        reader.next();
        std::vector<int> face;
        for (long long k = 0; k < corners; ++k) {
            const long long index = item();
            if (index < 0 || index >= vertexCount) {
                reader.failValue("the MESH face names vertex " + std::to_string(index) +
                                 ", the mesh has " + std::to_string(vertexCount));
            }
            face.push_back(static_cast<int>(index));
            reader.next();
        }
        mesh.faces.push_back(std::move(face));
    }
    // Edges (94) follow the list; a further item means the size undercounts it.
    if (reader.hasTag() && reader.code() == 90) {
        reader.fail("the MESH face list holds more items than its size (group code 93) says, " +
                    std::to_string(size));
    }
}

}  // namespace

std::uint64_t dxfMeshOwnHandles(const EntityInfo& mesh) {
    return mesh.vertexColours.empty() ? 0 : 2;
}

void writeDxfMesh(DxfWriter& writer, const DxfEntityHead& head, const EntityInfo& mesh,
                  std::uint64_t firstOwnHandle) {
    if (!mesh.vertexColours.empty() && mesh.vertexColours.size() != mesh.vertices.size()) {
        throw DrawingFileError("a mesh needs one colour per vertex or none");
    }
    DxfEntityHead meshHead = head;
    meshHead.extensionDictionary =
        mesh.vertexColours.empty() ? head.extensionDictionary : firstOwnHandle;
    writeDxfEntityHead(writer, "MESH", meshHead);
    writer.text(100, "AcDbSubDMesh");
    writer.integer(71, kMeshVersion);
    writer.integer(72, 0);
    writer.integer(91, mesh.subDLevel);
    writer.integer(92, static_cast<long long>(mesh.vertices.size()));
    writer.points(10, mesh.vertices.data(), mesh.vertices.size());
    writeFaceList(writer, mesh);
    writer.integer(94, 0);
    writer.integer(95, 0);
    writer.integer(90, 0);
}

void readDxfMesh(DxfTagReader& reader, DxfReadEntity& entity) {
    EntityInfo& mesh = entity.info;
    mesh.type = EntityKind::kSubDMesh;
    bool verticesRead = false;
    bool facesRead = false;
    reader.next();
    while (reader.code() != 0) {
        if (readDxfEntityHeadTag(reader, entity.head)) {
            continue;
        }
        const int code = reader.code();
        if (code == 91 && !verticesRead) {
            const long long level = reader.integer();
            if (level < 0 || level > kLargestSubDLevel) {
                reader.failValue("subdivision level " + std::to_string(level) +
                                 " is outside 0 ... 4");
            }
            mesh.subDLevel = static_cast<int>(level);
        } else if (code == 92 && !verticesRead) {
            readVertices(reader, mesh);
            verticesRead = true;
            continue;
        } else if (code == 93 && !facesRead) {
            readFaceList(reader, mesh);
            facesRead = true;
            continue;
        } else if (code >= 94 && code <= 95) {
            // Edges, creases, overrides and extended data: the drawing keeps none of them, the
            // file keeps them while kafcad leaves the mesh as it is.
            while (reader.code() != 0) {
                const bool counted = reader.code() >= 94 && reader.code() <= 95;
                entity.head.foreignData = entity.head.foreignData || reader.code() >= 1000 ||
                                          (counted && reader.integer() != 0);
                reader.next();
            }
            return;
        }
        reader.next();
    }
}

}  // namespace kafhost
