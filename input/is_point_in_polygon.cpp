#include "input/is_point_in_polygon.h"

#include <algorithm>
#include <cstddef>

bool IsPointInPolygon(const std::vector<AcGePoint3d>& outline, const AcGePoint3d& point) {
    const std::size_t n = outline.size();
    if (n == 0) {
        return false;
    }
    const double px = point.x;
    const double py = point.y;
    int crossings = 0;
    double x0 = outline[0].x;
    double y0 = outline[0].y;
    for (std::size_t i = 1; i <= n; ++i) {
        const double x1 = outline[i % n].x;
        const double y1 = outline[i % n].y;
        if (std::min(y0, y1) < py && py <= std::max(y0, y1) && px <= std::max(x0, x1) && y0 != y1) {
            if (x0 == x1) {
                ++crossings;
            } else {
                const double xi = (py - y0) * (x1 - x0) / (y1 - y0) + x0;
                if (px <= xi) {
                    ++crossings;
                }
            }
        }
        x0 = x1;
        y0 = y1;
    }
    return crossings % 2 == 1;
}
