// LINE: the start point (10, 20, 30) and the end point (11, 21, 31).
#include "platform/files/dxf/line.h"

namespace kafhost {

void writeDxfLine(DxfWriter& writer, const DxfEntityHead& head, const EntityInfo& line) {
    writeDxfEntityHead(writer, "LINE", head);
    writer.text(100, "AcDbLine");
    const Point3& start = line.corners.at(0);
    const Point3& end = line.corners.at(1);
    writer.point(10, start[0], start[1], start[2]);
    writer.point(11, end[0], end[1], end[2]);
}

bool readDxfLine(DxfTagReader& reader, DxfReadEntity& entity) {
    EntityInfo& line = entity.info;
    line.type = EntityKind::kLine;
    line.corners.assign(2, Point3{0.0, 0.0, 0.0});
    reader.next();
    while (reader.code() != 0) {
        if (readDxfEntityHeadTag(reader, entity.head)) {
            continue;
        }
        const int code = reader.code();
        if (code >= 10 && code <= 31 && code % 10 <= 1) {
            line.corners[static_cast<std::size_t>(code % 10)]
                        [static_cast<std::size_t>(code / 10 - 1)] = reader.real();
        } else if (code != 100) {
            entity.head.foreignData = true;
        }
        reader.next();
    }
    return !entity.head.foreignData;
}

}  // namespace kafhost
