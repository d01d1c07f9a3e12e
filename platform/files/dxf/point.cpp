// POINT: the position (10, 20, 30). Thickness, extrusion and the angle of the x axis are not
// modelled: a point that has them is kept only as it was (foreign data).
#include "platform/files/dxf/point.h"

namespace kafhost {

void writeDxfPoint(DxfWriter& writer, const DxfEntityHead& head, const EntityInfo& point) {
    writeDxfEntityHead(writer, "POINT", head);
    writer.text(100, "AcDbPoint");
    writer.point(10, point.position[0], point.position[1], point.position[2]);
}

void readDxfPoint(DxfTagReader& reader, DxfReadEntity& entity) {
    EntityInfo& point = entity.info;
    point.type = EntityKind::kPoint;
    reader.next();
    while (reader.code() != 0) {
        if (readDxfEntityHeadTag(reader, entity.head)) {
            continue;
        }
        const int code = reader.code();
        if (code == 10 || code == 20 || code == 30) {
            point.position[static_cast<std::size_t>(code / 10 - 1)] = reader.real();
        } else if (code != 100) {
            entity.head.foreignData = true;
        }
        reader.next();
    }
}

}  // namespace kafhost
