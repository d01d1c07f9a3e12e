// PointSortOrder(count, pointAt, sorted): the order in which SortPoints leaves the records
// 0..count-1, computed on compact keys without moving the records.
//
// Input: count >= 1, pointAt(k), giving record k (anything with doubles x, y and z), and room for
// `count` keys at `sorted`. Output: `sorted` holds one SortedKey per record in sorted order: the
// record's coordinates, and its `index` naming the record.
// Gives false (and leaves `sorted` unspecified) when a coordinate is not finite; callers then
// sort with the plain merge sort. Throws std::bad_alloc when memory for the work is short.
//
// How: SortPoints is a top-down merge sort (mid = (first + last) / 2) whose merge takes the
// right-hand record unless the left one is strictly smaller, reading the right half from its
// far end. Records with distinct positions therefore simply end up ascending by x, then y; only
// the order within a run of equal positions depends on the merges. For one merge of a left half
// A and a right half B, the equal records of B come first, in their order, then those of A,
// reversed when no record of A or B lies beyond them. So the keys are sorted by position
// (distributed over buckets of equal x width, a monotone map of x, then compared within each
// bucket), and every run of equal positions is put into merge order by that rule.
//
// PositionSortOrder(count, pointAt, sorted): the same keys sorted by position and, within a run of
// equal positions, by index (the first record added first); false as PointSortOrder.
//
// MergeIntoPointSortOrder(sorted, sortedCount, count): keys sorted[0 .. sortedCount - 1] as
// PositionSortOrder gives them, with no two at one position, and keys sorted[sortedCount ..
// count - 1], finite and in any order, of records numbered above all of those: leaves the
// `count` keys as PointSortOrder gives them for all these records (a merge, not a sort anew).
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace geom {

struct SortedKey {
    double x;
    double y;
    double z;
    std::uint32_t index;
};

// Sorts the keys of each bucket (bucket b holds sorted[start[b]] .. sorted[start[b + 1] - 1])
// by position, then index.
void SortPointBuckets(SortedKey* sorted, const std::vector<std::uint32_t>& start);

// Puts every run of equal positions of `count` keys sorted by position and index into merge order.
void OrderPointRuns(SortedKey* sorted, std::uint32_t count);

void MergeIntoPointSortOrder(SortedKey* sorted, std::uint32_t sortedCount, std::uint32_t count);

template <typename PointAt>
bool PositionSortOrder(std::uint32_t count, PointAt pointAt, SortedKey* sorted) {
    double xMin = HUGE_VAL;
    double xMax = -HUGE_VAL;
    bool finite = true;
    for (std::uint32_t k = 0; k < count; ++k) {
        const auto& point = pointAt(k);
        xMin = point.x < xMin ? point.x : xMin;
        xMax = point.x > xMax ? point.x : xMax;
        finite = finite && std::isfinite(point.x) && std::isfinite(point.y);
    }
    if (!finite) {
        return false;
    }
    const std::uint32_t bucketCount = count / 2 + 1;
    double scale = static_cast<double>(bucketCount) / (xMax - xMin);
    if (!(scale < HUGE_VAL)) {
        scale = 0.0;  // all x equal, or a span too small to divide by
    }
    const double lastBucket = static_cast<double>(bucketCount - 1);
    auto bucketOf = [&](double x) {
        const double t = (x - xMin) * scale;
        return static_cast<std::uint32_t>(t < lastBucket ? t : lastBucket);
    };
    std::vector<std::uint32_t> start(bucketCount + 1, 0u);
    for (std::uint32_t k = 0; k < count; ++k) {
        ++start[bucketOf(pointAt(k).x) + 1];
    }
    for (std::uint32_t b = 0; b < bucketCount; ++b) {
        start[b + 1] += start[b];
    }
    {
        std::vector<std::uint32_t> fill(start.begin(), start.end() - 1);
        for (std::uint32_t k = 0; k < count; ++k) {
            const auto& point = pointAt(k);
            sorted[fill[bucketOf(point.x)]++] = SortedKey{point.x, point.y, point.z, k};
        }
    }
    SortPointBuckets(sorted, start);
    return true;
}

template <typename PointAt>
bool PointSortOrder(std::uint32_t count, PointAt pointAt, SortedKey* sorted) {
    if (!PositionSortOrder(count, pointAt, sorted)) {
        return false;
    }
    OrderPointRuns(sorted, count);
    return true;
}

}  // namespace geom
