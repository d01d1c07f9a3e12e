// POLYLINE 3D polylines: the header (66 1, flags 8, plus 1 when closed), one VERTEX per vertex
// (flags 32, the point), then SEQEND. Sub-entities carry the polyline's layer and space and have
// the polyline as owner. Spline-fit polylines are read by their vertices: spline frame control
// points (flags 16) are the shape the user drew, fitted vertices (flags 8) are left out.
#include "platform/files/dxf/polyline_3d.h"

#include <string>

#include "platform/files/dxf/vertex.h"

namespace kafhost {
namespace {

constexpr long long kClosed = 1;
constexpr long long kSplineFitVertex = 8;
constexpr long long k3dPolylineVertex = 32;

}  // namespace

std::uint64_t dxf3dPolylineOwnHandles(const EntityInfo& line) {
    return line.vertices.size() + 1;
}

void writeDxf3dPolyline(DxfWriter& writer, const DxfEntityHead& head, const EntityInfo& line,
                        std::uint64_t firstOwnHandle) {
    writeDxfPolylineHeader(writer, head, "AcDb3dPolyline",
                           kDxf3dPolylineFlag | (line.closed ? kClosed : 0));
    std::uint64_t handle = firstOwnHandle;
    for (const Point3& vertex : line.vertices) {
        writeDxfEntityHead(writer, "VERTEX", dxfSubEntityHead(head, handle++));
        writer.text(100, "AcDbVertex");
        writer.text(100, "AcDb3dPolylineVertex");
        writer.point(10, vertex[0], vertex[1], vertex[2]);
        writer.integer(70, k3dPolylineVertex);
    }
    writeDxfEntityHead(writer, "SEQEND", dxfSubEntityHead(head, handle));
}

void readDxf3dPolylineVertices(DxfTagReader& reader, DxfReadEntity& entity, long long flags) {
    EntityInfo& line = entity.info;
    line.type = EntityKind::kPolyline3d;
    line.closed = (flags & kClosed) != 0;
    while (reader.is(0, "VERTEX")) {
        DxfEntityHead head;
        Point3 point{0.0, 0.0, 0.0};
        long long vertexFlags = 0;
        readDxfVertexTags(reader, head, point, vertexFlags, [](int) {});
        if ((vertexFlags & kSplineFitVertex) == 0) {
            line.vertices.push_back(point);
        }
    }
    if (!reader.is(0, "SEQEND")) {
        reader.fail("the POLYLINE that starts on line " + std::to_string(entity.head.line) +
                    " does not end with SEQEND");
    }
    reader.skipToNextObject();
}

}  // namespace kafhost
