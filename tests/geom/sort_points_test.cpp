#include <gtest/gtest.h>

#include <vector>

#include "geom/sort_points.h"

namespace {

std::vector<geom::CVertex> Sorted(std::vector<geom::CVertex> points) {
    std::vector<geom::CVertex> scratch(points.size());
    geom::SortPoints(points.data(), scratch.data(), 0, static_cast<std::int32_t>(points.size()) - 1);
    return points;
}

TEST(SortPoints, TiesFollowTheMergeOrder) {
    const geom::CVertex a1(1, 1, 1), a2(1, 1, 2), a3(1, 1, 3), b(0, 5, 9);
    auto two = Sorted({a1, a2});
    EXPECT_EQ(two[0].z, 2);
    EXPECT_EQ(two[1].z, 1);
    auto withB = Sorted({a1, a2, b});
    EXPECT_EQ(withB[0].z, 9);
    EXPECT_EQ(withB[1].z, 1);
    EXPECT_EQ(withB[2].z, 2);
    auto three = Sorted({a1, a2, a3});
    EXPECT_EQ(three[0].z, 3);
    EXPECT_EQ(three[1].z, 1);
    EXPECT_EQ(three[2].z, 2);
}

}  // namespace
