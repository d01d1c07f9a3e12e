// SortPoints: ascending by x, then y, and at one position in the order of the top-down merge sort.
// Finite points are ordered through compact keys; a coordinate that is not finite makes SortPoints
// run the merge sort itself. The two must give the same order record for record, ties included.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "geom/kernel/sort_points.h"

namespace {

// z numbers the records in order of addition, so equal z means the same record.
std::vector<double> ZAfterSort(std::vector<geom::CVertex> points, std::int32_t first,
                               std::int32_t last) {
    std::vector<geom::CVertex> scratch(points.size());
    geom::SortPoints(points.data(), scratch.data(), first, last);
    std::vector<double> z;
    for (const geom::CVertex& p : points) {
        z.push_back(p.z);
    }
    return z;
}

// Moves the record at `last` alone to the far right of points[first..last], once at a finite x
// (the keys' order) and once at x = +infinity (the merge sort's order): every comparison of the
// merge sort comes out the same either way, so the two orders must agree.
void ExpectMergeOrder(std::vector<geom::CVertex> points, std::int32_t first, std::int32_t last) {
    double xMax = points[first].x;
    for (std::int32_t k = first; k <= last; ++k) {
        xMax = std::max(xMax, points[k].x);
    }
    points[last].x = xMax + std::max(1.0, std::fabs(xMax));
    const std::vector<double> keys = ZAfterSort(points, first, last);
    points[last].x = std::numeric_limits<double>::infinity();
    EXPECT_EQ(keys, ZAfterSort(points, first, last));
}

void ExpectMergeOrder(const std::vector<geom::CVertex>& points) {
    ExpectMergeOrder(points, 0, static_cast<std::int32_t>(points.size()) - 1);
}

std::vector<geom::CVertex> RandomPoints(std::mt19937_64& random, int n, int distinctX,
                                        int distinctY) {
    std::uniform_int_distribution<int> xs(0, distinctX - 1);
    std::uniform_int_distribution<int> ys(0, distinctY - 1);
    std::vector<geom::CVertex> points;
    for (int i = 0; i < n; ++i) {
        points.emplace_back(0.5 * xs(random), -0.25 * ys(random), i);
    }
    return points;
}

TEST(SortPoints, TiesFollowTheMergeOrder) {
    const geom::CVertex a1(1, 1, 1), a2(1, 1, 2), a3(1, 1, 3), b(0, 5, 9);
    EXPECT_EQ(ZAfterSort({a1, a2}, 0, 1), (std::vector<double>{2, 1}));
    EXPECT_EQ(ZAfterSort({a1, a2, b}, 0, 2), (std::vector<double>{9, 1, 2}));
    EXPECT_EQ(ZAfterSort({a1, a2, a3}, 0, 2), (std::vector<double>{3, 1, 2}));
}

// Random, sorted and reversed input: sorting sorted input again reorders runs of ties again.
TEST(SortPoints, KeysGiveTheMergeOrderWithManyTiesInAnyInputOrder) {
    std::mt19937_64 random(7);
    for (int n : {2, 3, 4, 5, 7, 8, 9, 16, 31, 33, 100, 257, 1000, 4099}) {
        for (int distinct : {1, 2, 3, 5, 20, 1000000}) {
            SCOPED_TRACE(testing::Message() << "n " << n << ", distinct " << distinct);
            std::vector<geom::CVertex> points =
                RandomPoints(random, n, distinct, distinct > 3 ? 3 : distinct);
            ExpectMergeOrder(points);
            std::vector<geom::CVertex> scratch(points.size());
            geom::SortPoints(points.data(), scratch.data(), 0, n - 1);
            ExpectMergeOrder(points);
            ExpectMergeOrder(std::vector<geom::CVertex>(points.rbegin(), points.rend()));
        }
    }
}

TEST(SortPoints, OnlyTheGivenRangeIsSorted) {
    std::mt19937_64 random(3);
    const std::vector<geom::CVertex> points = RandomPoints(random, 200, 6, 2);
    ExpectMergeOrder(points, 17, 150);
    ExpectMergeOrder(points, 1, 2);
    std::vector<double> z;
    for (const geom::CVertex& p : points) {
        z.push_back(p.z);
    }
    // A range of one record, and everything around it, stay.
    EXPECT_EQ(ZAfterSort(points, 40, 40), z);
    std::vector<double> sorted = ZAfterSort(points, 17, 150);
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (i < 17 || i > 150) {
            EXPECT_EQ(sorted[i], z[i]);
        }
    }
}

TEST(SortPoints, SignedZerosAreOnePosition) {
    ExpectMergeOrder({{0.0, 1, 0}, {-0.0, 1, 1}, {0.0, 1, 2}, {-0.0, 1, 3}, {-1, 0, 4}, {0, 0, 5}});
    EXPECT_EQ(ZAfterSort({{0.0, 1, 0}, {-0.0, 1, 1}}, 0, 1), (std::vector<double>{1, 0}));
}

TEST(SortPoints, WideAndNarrowCoordinateSpans) {
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::vector<geom::CVertex> wide;
    std::vector<geom::CVertex> narrow;
    for (int i = 0; i < 500; ++i) {
        wide.emplace_back(1e300 * unit(random), 1e-300 * unit(random), i);
        narrow.emplace_back(1.0 + 1e-15 * std::round(4 * unit(random)), unit(random), i);
    }
    ExpectMergeOrder(wide);
    ExpectMergeOrder(narrow);
}

}  // namespace
