#include "geom/kernel/sort_points.h"

#include <algorithm>
#include <new>
#include <vector>

#include "geom/dct/dct_sort_order.h"

// The records are ordered through compact keys (PointSortOrder, which gives exactly the order of
// the merge sort below, ties included) and then moved once. Coordinates that are not finite,
// or too little memory for the keys, take the merge sort itself.

namespace geom {

namespace {

void MergeSortRecords(CVertex* points, CVertex* scratch, std::int32_t first, std::int32_t last) {
    if (last - first < 1) {
        return;
    }
    const std::int32_t mid = (first + last) / 2;
    MergeSortRecords(points, scratch, first, mid);
    MergeSortRecords(points, scratch, mid + 1, last);
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

bool SortThroughKeys(CVertex* points, CVertex* scratch, std::int32_t first, std::int32_t last) {
    const std::uint32_t count = static_cast<std::uint32_t>(last - first) + 1;
    CVertex* const range = points + first;
    std::vector<SortedKey> sorted(count);
    if (!PointSortOrder(
            count, [range](std::uint32_t k) -> const CVertex& { return range[k]; },
            sorted.data())) {
        return false;
    }
    for (std::uint32_t k = 0; k < count; ++k) {
        scratch[first + static_cast<std::int32_t>(k)] = range[sorted[k].index];
    }
    std::copy(scratch + first, scratch + last + 1, range);
    return true;
}

}  // namespace

void SortPoints(CVertex* points, CVertex* scratch, std::int32_t first, std::int32_t last) {
    if (last - first < 1) {
        return;
    }
    try {
        if (SortThroughKeys(points, scratch, first, last)) {
            return;
        }
    } catch (const std::bad_alloc&) {
        // Too little memory for the keys: sort the records themselves.
    }
    MergeSortRecords(points, scratch, first, last);
}

}  // namespace geom
