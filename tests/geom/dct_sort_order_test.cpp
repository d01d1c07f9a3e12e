// SortPoints against the plain merge sort: the order of the records, ties included, must be the
// same record for record.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "dct_test_support.h"
#include "geom/sort_points.h"

namespace {

// z numbers the records in order of addition, so equal z means the same record.
std::vector<double> ZAfterSort(std::vector<geom::CVertex> points, std::int32_t first,
                               std::int32_t last, bool reference) {
    std::vector<geom::CVertex> scratch(points.size());
    if (reference) {
        dcttest::ReferenceMergeSort(points, scratch, first, last);
    } else {
        geom::SortPoints(points.data(), scratch.data(), first, last);
    }
    std::vector<double> z;
    for (const geom::CVertex& p : points) {
        z.push_back(p.z);
    }
    return z;
}

void ExpectSameOrder(const std::vector<geom::CVertex>& points, std::int32_t first,
                     std::int32_t last) {
    EXPECT_EQ(ZAfterSort(points, first, last, false), ZAfterSort(points, first, last, true));
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

TEST(SortPointsOrder, MatchesThePlainMergeSortWithManyTies) {
    std::mt19937_64 random(7);
    for (int n : {2, 3, 4, 5, 7, 8, 9, 16, 31, 33, 100, 257, 1000, 4099}) {
        for (int distinct : {1, 2, 3, 5, 20, 1000000}) {
            const auto points = RandomPoints(random, n, distinct, distinct > 3 ? 3 : distinct);
            SCOPED_TRACE(testing::Message() << "n " << n << ", distinct " << distinct);
            ExpectSameOrder(points, 0, n - 1);
        }
    }
}

TEST(SortPointsOrder, MatchesThePlainMergeSortOnSortedAndReversedInput) {
    std::mt19937_64 random(11);
    for (int n : {10, 333, 5000}) {
        auto points = RandomPoints(random, n, 40, 4);
        ExpectSameOrder(points, 0, n - 1);
        std::vector<geom::CVertex> scratch(points.size());
        geom::SortPoints(points.data(), scratch.data(), 0, n - 1);
        ExpectSameOrder(points, 0, n - 1);  // sorting again reorders runs again
        std::vector<geom::CVertex> reversed(points.rbegin(), points.rend());
        ExpectSameOrder(reversed, 0, n - 1);
    }
}

TEST(SortPointsOrder, SortsOnlyTheGivenRange) {
    std::mt19937_64 random(3);
    const auto points = RandomPoints(random, 200, 6, 2);
    ExpectSameOrder(points, 17, 150);
    ExpectSameOrder(points, 1, 2);
    const auto z = ZAfterSort(points, 40, 40, false);
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(z[i], points[i].z);  // a range of one record, and everything around, stay
    }
}

TEST(SortPointsOrder, SignedZerosAreOnePosition) {
    std::vector<geom::CVertex> points = {{0.0, 1, 0}, {-0.0, 1, 1}, {0.0, 1, 2}, {-1, 0, 3}};
    ExpectSameOrder(points, 0, 3);
}

TEST(SortPointsOrder, CoordinatesThatAreNotFiniteKeepTheMergeOrder) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<geom::CVertex> points = {{1, 1, 0},   {inf, 0, 1}, {nan, 2, 2}, {-inf, 1, 3},
                                         {1, nan, 4}, {1, 1, 5},   {0, 0, 6},   {inf, 0, 7}};
    ExpectSameOrder(points, 0, 7);
}

TEST(SortPointsOrder, WideAndNarrowCoordinateSpans) {
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::vector<geom::CVertex> wide;
    std::vector<geom::CVertex> narrow;
    for (int i = 0; i < 500; ++i) {
        wide.emplace_back(1e300 * unit(random), 1e-300 * unit(random), i);
        narrow.emplace_back(1.0 + 1e-15 * std::round(4 * unit(random)), unit(random), i);
    }
    ExpectSameOrder(wide, 0, 499);
    ExpectSameOrder(narrow, 0, 499);
}

}  // namespace
