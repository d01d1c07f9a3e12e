#include "geom/cdt/cdt_boundary.h"

#include <algorithm>

#include "geom/cdt/cdt.h"
#include "geom/kernel/geometry_error.h"
#include "geom/kernel/predicates.h"

namespace geom {

std::vector<CVertex> CdtCloseBoundary(const std::vector<CVertex>& vertices) {
    std::vector<CVertex> polygon;
    for (const CVertex& v : vertices) {
        if (polygon.empty() || !(polygon.back() == v)) {
            polygon.push_back(v);
        }
    }
    if (polygon.size() > 1 && polygon.front() == polygon.back()) {
        polygon.pop_back();
    }
    if (polygon.size() < 3) {
        throw GeometryError(GeometryFailure::kBadBoundary);
    }
    // The turn at the lowest vertex (by x, then y) gives the orientation, unless the polygon
    // doubles back there; then the sign of the area does.
    const std::size_t n = polygon.size();
    std::size_t low = 0;
    for (std::size_t k = 1; k < n; ++k) {
        const CVertex& v = polygon[k];
        if (v.x < polygon[low].x || (v.x == polygon[low].x && v.y < polygon[low].y)) {
            low = k;
        }
    }
    const CVertex& before = polygon[(low + n - 1) % n];
    const CVertex& after = polygon[(low + 1) % n];
    int turn = Orient(PlanOf(before), PlanOf(polygon[low]), PlanOf(after));
    if (turn == 0) {
        double area = 0.0;
        for (std::size_t k = 1; k + 1 < n; ++k) {
            area += PlanCross(PlanOf(polygon[0]), PlanOf(polygon[k]), PlanOf(polygon[k + 1]));
        }
        turn = (area > 0) - (area < 0);
    }
    if (turn == 0) {
        throw GeometryError(GeometryFailure::kBadBoundary);
    }
    if (turn < 0) {
        std::reverse(polygon.begin(), polygon.end());
    }
    return polygon;
}

}  // namespace geom
