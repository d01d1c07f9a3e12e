// LWPOLYLINE: the vertex count (90), the closed flag (70: 1), the elevation (38), and per vertex
// its point (10, 20) and, when not 0, its bulge (42). Widths are neither written nor kept.
#include "platform/files/dxf/lwpolyline.h"

#include <string>

#include "kafhost/drawing_json.h"

namespace kafhost {
namespace {

constexpr int kClosed = 1;

}  // namespace

void writeDxfLwPolyline(DxfWriter& writer, const DxfEntityHead& head, const EntityInfo& line) {
    if (!line.bulges.empty() && line.bulges.size() != line.points.size()) {
        throw DrawingFileError("a polyline needs one bulge per vertex or none");
    }
    writeDxfEntityHead(writer, "LWPOLYLINE", head);
    writer.text(100, "AcDbPolyline");
    writer.integer(90, static_cast<long long>(line.points.size()));
    writer.integer(70, line.closed ? kClosed : 0);
    writer.real(38, line.elevation);
    for (std::size_t i = 0; i < line.points.size(); ++i) {
        writer.point(10, line.points[i][0], line.points[i][1]);
        if (!line.bulges.empty() && line.bulges[i] != 0.0) {
            writer.real(42, line.bulges[i]);
        }
    }
}

void readDxfLwPolyline(DxfTagReader& reader, DxfReadEntity& entity) {
    EntityInfo& line = entity.info;
    line.type = EntityKind::kPolyline;
    long long count = -1;
    std::size_t countLine = 0;
    reader.next();
    while (reader.code() != 0) {
        if (readDxfEntityHeadTag(reader, entity.head)) {
            continue;
        }
        switch (reader.code()) {
            case 90:
                count = reader.integer();
                countLine = reader.tag().line;
                break;
            case 70:
                line.closed = (reader.integer() & kClosed) != 0;
                break;
            case 38:
                line.elevation = reader.real();
                break;
            case 10: {
                const double x = reader.real();
                reader.next();
                if (reader.code() != 20) {
                    reader.fail("expected the vertex's y (group code 20), found group code " +
                                std::to_string(reader.code()));
                }
                line.points.push_back(Point2{x, reader.real()});
                line.bulges.push_back(0.0);
                break;
            }
            case 42:
                if (line.points.empty()) {
                    reader.fail("a bulge (group code 42) before the first vertex");
                }
                line.bulges.back() = reader.real();
                break;
            default:
                break;
        }
        reader.next();
    }
    if (count >= 0 && static_cast<std::size_t>(count) != line.points.size()) {
        throw DrawingFileError("line " + std::to_string(countLine) + ": the LWPOLYLINE has " +
                               std::to_string(line.points.size()) + " vertices, not " +
                               std::to_string(count));
    }
}

}  // namespace kafhost
