// POLYLINE polyface meshes (flag 64): the header, one VERTEX per vertex (flags 192, the point), one
// VERTEX per face record (flags 128, vertex numbers from 1 in 71-74, negative for an invisible
// edge, 0s left out), then SEQEND. Sub-entities carry the mesh's layer and space and have the
// mesh as owner.
#include "platform/files/dxf/polyline.h"

#include <cstdlib>
#include <string>

#include "kafhost/drawing_json.h"
#include "platform/files/dxf/polyline_3d.h"
#include "platform/files/dxf/vertex.h"

namespace kafhost {
namespace {

constexpr int kPolyfaceMesh = 64;
constexpr int kVertexRecord = 192;
constexpr int kFaceRecord = 128;
constexpr int kLargestVertexNumber = 32767;

void writeVertex(DxfWriter& writer, const DxfEntityHead& head, const Point3& point) {
    writeDxfEntityHead(writer, "VERTEX", head);
    writer.text(100, "AcDbVertex");
    writer.text(100, "AcDbPolyFaceMeshVertex");
    writer.point(10, point[0], point[1], point[2]);
    writer.integer(70, kVertexRecord);
}

void writeFaceRecord(DxfWriter& writer, const DxfEntityHead& head, const std::vector<int>& numbers,
                     long long vertexCount) {
    if (numbers.empty() || numbers.size() > 4) {
        throw DrawingFileError("a face record needs 1 to 4 vertex numbers");
    }
    writeDxfEntityHead(writer, "VERTEX", head);
    writer.text(100, "AcDbFaceRecord");
    writer.point(10, 0.0, 0.0, 0.0);
    writer.integer(70, kFaceRecord);
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (std::llabs(numbers[i]) > vertexCount) {
            throw DrawingFileError("a face record names vertex " + std::to_string(numbers[i]) +
                                   ", the mesh has " + std::to_string(vertexCount));
        }
        if (numbers[i] != 0) {
            writer.integer(71 + static_cast<int>(i), numbers[i]);
        }
    }
}

// One VERTEX of a polyface mesh: a vertex (its point is added) or a face record (added with the
// line it starts on, to check its numbers once all vertices are known).
void readVertex(DxfTagReader& reader, DxfReadEntity& entity, std::vector<std::size_t>& faceLines) {
    EntityInfo& mesh = entity.info;
    const std::size_t line = reader.tag().line;
    DxfEntityHead head;
    Point3 point{0.0, 0.0, 0.0};
    std::vector<int> numbers(4, 0);
    long long flags = 0;
    readDxfVertexTags(reader, head, point, flags, [&reader, &numbers](int code) {
        if (code >= 71 && code <= 74) {
            const long long number = reader.integer();
            if (number < -kLargestVertexNumber || number > kLargestVertexNumber) {
                reader.failValue("vertex number " + std::to_string(number) +
                                 " is outside -32767 ... 32767");
            }
            numbers[static_cast<std::size_t>(code - 71)] = static_cast<int>(number);
        }
    });
    // Properties of its own, which a rewrite from the mesh's would lose.
    entity.head.foreignData =
        entity.head.foreignData || head.foreignData ||
        (!head.commonTags.empty() && head.commonTags != entity.head.commonTags) ||
        ((head.colorIndex != 256 || head.trueColor >= 0) &&
         (head.colorIndex != entity.head.colorIndex || head.trueColor != entity.head.trueColor));
    if ((flags & kPolyfaceMesh) != 0) {
        mesh.vertices.push_back(point);
    } else if ((flags & kFaceRecord) != 0) {
        mesh.faces.push_back(numbers);
        faceLines.push_back(line);
    } else {
        throw DrawingFileError("line " + std::to_string(line) +
                               ": a VERTEX of a polyface mesh is neither a vertex (flags 192) nor "
                               "a face record (flags 128)");
    }
}

}  // namespace

std::uint64_t dxfPolyFaceMeshOwnHandles(const EntityInfo& mesh) {
    return mesh.vertices.size() + mesh.faces.size() + 1;
}

void writeDxfPolyFaceMesh(DxfWriter& writer, const DxfEntityHead& head, const EntityInfo& mesh,
                          std::uint64_t firstOwnHandle) {
    writeDxfPolylineHeader(writer, head, "AcDbPolyFaceMesh", kPolyfaceMesh);
    writer.integer(71, static_cast<long long>(mesh.vertices.size()));
    writer.integer(72, static_cast<long long>(mesh.faces.size()));
    std::uint64_t handle = firstOwnHandle;
    for (const Point3& vertex : mesh.vertices) {
        writeVertex(writer, dxfSubEntityHead(head, handle++), vertex);
    }
    const long long vertexCount = static_cast<long long>(mesh.vertices.size());
    for (const std::vector<int>& face : mesh.faces) {
        writeFaceRecord(writer, dxfSubEntityHead(head, handle++), face, vertexCount);
    }
    writeDxfEntityHead(writer, "SEQEND", dxfSubEntityHead(head, handle));
}

bool readDxfPolyline(DxfTagReader& reader, DxfReadEntity& entity) {
    EntityInfo& mesh = entity.info;
    mesh.type = EntityKind::kPolyFaceMesh;
    long long flags = 0;
    reader.next();
    while (reader.code() != 0) {
        if (readDxfEntityHeadTag(reader, entity.head)) {
            continue;
        }
        if (reader.code() == 70) {
            flags = reader.integer();
        }
        reader.next();
    }
    if ((flags & kDxf3dPolylineFlag) != 0) {
        readDxf3dPolylineVertices(reader, entity, flags);
        return true;
    }
    std::vector<std::size_t> faceLines;
    while (reader.is(0, "VERTEX")) {
        if ((flags & kPolyfaceMesh) != 0) {
            readVertex(reader, entity, faceLines);
        } else {
            reader.skipToNextObject();
        }
    }
    if (!reader.is(0, "SEQEND")) {
        reader.fail("the POLYLINE that starts on line " + std::to_string(entity.head.line) +
                    " does not end with SEQEND");
    }
    reader.skipToNextObject();

    const long long vertexCount = static_cast<long long>(mesh.vertices.size());
    for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
        for (const int number : mesh.faces[f]) {
            if (std::llabs(number) > vertexCount) {
                throw DrawingFileError("line " + std::to_string(faceLines[f]) +
                                       ": the face record names vertex " + std::to_string(number) +
                                       ", the polyface mesh has " + std::to_string(vertexCount));
            }
        }
    }
    return (flags & kPolyfaceMesh) != 0;
}

}  // namespace kafhost
