#include "app/picture/drawing_extent.h"

#include <algorithm>

#include "app/picture/polyline_path.h"
#include "app/picture/shown_entities.h"

namespace kafcad {

void Extent::Add(double x, double y) {
    if (empty) {
        minX = maxX = x;
        minY = maxY = y;
        empty = false;
        return;
    }
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
}

Extent DrawingExtent(const kafhost::DrawingSnapshot& drawing) {
    Extent extent;
    for (const kafhost::EntityInfo* shown : ShownEntities(drawing)) {
        const kafhost::EntityInfo& entity = *shown;
        for (const kafhost::Point3& vertex : entity.vertices) {
            extent.Add(vertex[0], vertex[1]);
        }
        for (const kafhost::Point3& corner : entity.corners) {
            extent.Add(corner[0], corner[1]);
        }
        if (entity.type == kafhost::EntityKind::kPoint ||
            entity.type == kafhost::EntityKind::kText) {
            extent.Add(entity.position[0], entity.position[1]);
        }
        if (entity.type == kafhost::EntityKind::kPolyline) {
            for (const kafhost::Point2& point : PolylinePath(entity)) {
                extent.Add(point[0], point[1]);
            }
        }
    }
    return extent;
}

}  // namespace kafcad
