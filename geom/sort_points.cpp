#include "geom/sort_points.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <new>
#include <vector>

// The order SortPoints gives is that of a top-down merge sort (mid = (first + last) / 2) whose
// merge takes the right-hand record unless the left one is strictly smaller, reading the right
// half from its far end. Records with distinct plan positions simply end up ascending; only the
// order within a run of equal positions depends on the merge. That order follows from this rule
// for one merge of a left half A and a right half B: the equal records of B come first, in their
// order, then those of A, reversed when no record of A or B lies beyond them. Merging with an
// empty side in the way the merge reads its halves gives exactly this.
//
// So the records are sorted by position (bucketed by x, then compared) in a compact key array,
// each run of equal positions is put into merge order with the rule above, and the records are
// moved once. Inputs with coordinates that are not finite take the plain merge sort.

namespace geom {

namespace {

struct SortKey {
    double x;
    double y;
    std::int32_t index;  // position relative to the first sorted record
};

bool PositionLess(const SortKey& a, const SortKey& b) {
    return a.x < b.x || (a.x == b.x && a.y < b.y);
}

bool SamePosition(const SortKey& a, const SortKey& b) {
    return a.x == b.x && a.y == b.y;
}

// Position order, and the order of addition within one position.
bool KeyLess(const SortKey& a, const SortKey& b) {
    if (PositionLess(a, b)) {
        return true;
    }
    return SamePosition(a, b) && a.index < b.index;
}

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

void SortSmallRange(SortKey* begin, SortKey* end) {
    if (end - begin > 16) {
        std::sort(begin, end, KeyLess);
        return;
    }
    for (SortKey* next = begin + 1; next < end; ++next) {
        const SortKey key = *next;
        SortKey* hole = next;
        for (; hole > begin && KeyLess(key, hole[-1]); --hole) {
            *hole = hole[-1];
        }
        *hole = key;
    }
}

// Sorts keys by KeyLess: distributes them over buckets of equal x width (a monotone map of x, so
// the buckets are in x order) and sorts each bucket. Gives the sorted keys in `sorted`.
void SortKeys(const std::vector<SortKey>& keys, double xMin, double xMax,
              std::vector<SortKey>& sorted) {
    const std::size_t n = keys.size();
    const std::size_t bucketCount = n / 2 + 1;
    double scale = static_cast<double>(bucketCount) / (xMax - xMin);
    if (!(scale < HUGE_VAL)) {
        scale = 0.0;  // all x equal, or a span too small to divide by
    }
    const double lastBucket = static_cast<double>(bucketCount - 1);
    std::vector<std::uint32_t> bucketOf(n);
    std::vector<std::uint32_t> start(bucketCount + 1, 0);
    for (std::size_t k = 0; k < n; ++k) {
        const double t = (keys[k].x - xMin) * scale;
        const std::uint32_t bucket = static_cast<std::uint32_t>(t < lastBucket ? t : lastBucket);
        bucketOf[k] = bucket;
        ++start[bucket + 1];
    }
    for (std::size_t b = 0; b < bucketCount; ++b) {
        start[b + 1] += start[b];
    }
    sorted.resize(n);
    std::vector<std::uint32_t> fill(start.begin(), start.end() - 1);
    for (std::size_t k = 0; k < n; ++k) {
        sorted[fill[bucketOf[k]]++] = keys[k];
    }
    for (std::size_t b = 0; b < bucketCount; ++b) {
        SortSmallRange(sorted.data() + start[b], sorted.data() + start[b + 1]);
    }
}

// Largest sorted rank within each range of the merge sort's recursion, the ranges numbered as
// a heap (root 1, halves 2 * node and 2 * node + 1). Gives the largest rank of first..last.
std::uint32_t FillRangeMaxima(const std::vector<std::uint32_t>& rank, std::uint32_t node,
                              std::int32_t first, std::int32_t last,
                              std::vector<std::uint32_t>& maxima) {
    if (first == last) {
        return rank[first];
    }
    const std::int32_t mid = (first + last) / 2;
    const std::uint32_t left = FillRangeMaxima(rank, 2 * node, first, mid, maxima);
    const std::uint32_t right = FillRangeMaxima(rank, 2 * node + 1, mid + 1, last, maxima);
    maxima[node] = std::max(left, right);
    return maxima[node];
}

// Writes to `out` the merge order of the records at `members` (ascending positions within
// first..last, all at one plan position whose run ends at sorted rank `runEnd`).
void RunOrder(const std::vector<std::uint32_t>& maxima, std::uint32_t node, std::int32_t first,
              std::int32_t last, const std::int32_t* members, std::size_t count,
              std::uint32_t runEnd, std::int32_t* out) {
    if (count == 1) {
        out[0] = members[0];
        return;
    }
    const std::int32_t mid = (first + last) / 2;
    const std::size_t leftCount =
        static_cast<std::size_t>(std::upper_bound(members, members + count, mid) - members);
    const std::size_t rightCount = count - leftCount;
    if (rightCount > 0) {
        RunOrder(maxima, 2 * node + 1, mid + 1, last, members + leftCount, rightCount, runEnd, out);
    }
    if (leftCount > 0) {
        std::int32_t* leftOut = out + rightCount;
        RunOrder(maxima, 2 * node, first, mid, members, leftCount, runEnd, leftOut);
        if (maxima[node] <= runEnd) {
            std::reverse(leftOut, leftOut + leftCount);
        }
    }
}

// Reorders every run of equal positions in `sorted` (ascending by KeyLess) into merge order.
void OrderRuns(std::vector<SortKey>& sorted) {
    const std::size_t n = sorted.size();
    std::vector<std::uint32_t> rank(n);
    for (std::size_t k = 0; k < n; ++k) {
        rank[sorted[k].index] = static_cast<std::uint32_t>(k);
    }
    std::size_t nodes = 2;
    while (nodes < 2 * n) {
        nodes *= 2;
    }
    std::vector<std::uint32_t> maxima(nodes);
    FillRangeMaxima(rank, 1, 0, static_cast<std::int32_t>(n) - 1, maxima);
    std::vector<std::int32_t> members;
    std::vector<std::int32_t> order;
    for (std::size_t begin = 0; begin < n;) {
        std::size_t end = begin + 1;
        while (end < n && SamePosition(sorted[begin], sorted[end])) {
            ++end;
        }
        if (end - begin > 1) {
            members.clear();
            for (std::size_t k = begin; k < end; ++k) {
                members.push_back(sorted[k].index);
            }
            order.resize(members.size());
            RunOrder(maxima, 1, 0, static_cast<std::int32_t>(n) - 1, members.data(), members.size(),
                     static_cast<std::uint32_t>(end - 1), order.data());
            for (std::size_t k = begin; k < end; ++k) {
                sorted[k].index = order[k - begin];
            }
        }
        begin = end;
    }
}

bool HasRuns(const std::vector<SortKey>& sorted) {
    for (std::size_t k = 1; k < sorted.size(); ++k) {
        if (SamePosition(sorted[k - 1], sorted[k])) {
            return true;
        }
    }
    return false;
}

// Sorts through a key array. Gives false (points untouched) when a coordinate is not finite.
bool SortByKeys(CVertex* points, CVertex* scratch, std::int32_t first, std::int32_t last) {
    const std::size_t n = static_cast<std::size_t>(last - first) + 1;
    std::vector<SortKey> keys(n);
    double xMin = HUGE_VAL;
    double xMax = -HUGE_VAL;
    bool finite = true;
    for (std::size_t k = 0; k < n; ++k) {
        const CVertex& point = points[first + static_cast<std::int32_t>(k)];
        keys[k] = SortKey{point.x, point.y, static_cast<std::int32_t>(k)};
        xMin = std::min(xMin, point.x);
        xMax = std::max(xMax, point.x);
        finite = finite && std::isfinite(point.x) && std::isfinite(point.y);
    }
    if (!finite) {
        return false;
    }
    std::vector<SortKey> sorted;
    SortKeys(keys, xMin, xMax, sorted);
    keys = std::vector<SortKey>();
    if (HasRuns(sorted)) {
        OrderRuns(sorted);
    }
    for (std::size_t k = 0; k < n; ++k) {
        scratch[first + static_cast<std::int32_t>(k)] = points[first + sorted[k].index];
    }
    std::copy(scratch + first, scratch + last + 1, points + first);
    return true;
}

}  // namespace

void SortPoints(CVertex* points, CVertex* scratch, std::int32_t first, std::int32_t last) {
    if (last - first < 1) {
        return;
    }
    try {
        if (SortByKeys(points, scratch, first, last)) {
            return;
        }
    } catch (const std::bad_alloc&) {
        // Too little memory for the key arrays: sort the records themselves.
    }
    MergeSortRecords(points, scratch, first, last);
}

}  // namespace geom
