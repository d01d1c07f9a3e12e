#include "geom/sort_points.h"

namespace geom {

void SortPoints(CVertex* points, CVertex* scratch, std::int32_t first, std::int32_t last) {
    if (last - first < 1) {
        return;
    }
    const std::int32_t mid = (first + last) / 2;
    SortPoints(points, scratch, first, mid);
    SortPoints(points, scratch, mid + 1, last);
    for (std::int32_t k = first; k <= mid; ++k) {
        scratch[k] = points[k];
    }
    for (std::int32_t k = mid + 1; k <= last; ++k) {
        scratch[last + mid + 1 - k] = points[k];
    }
    std::int32_t i = first;
    std::int32_t j = last;
    for (std::int32_t k = first; k <= last; ++k) {
        const CVertex& left = scratch[i];
        const CVertex& right = scratch[j];
        if (right.x > left.x || (right.x == left.x && right.y > left.y)) {
            points[k] = left;
            ++i;
        } else {
            points[k] = right;
            --j;
        }
    }
}

}  // namespace geom
