#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "geom/delaunay.h"

namespace {

using Corners = std::array<int, 3>;

struct Outcome {
    std::vector<geom::CTriangle> triangles;
    std::vector<Corners> corners;
};

Outcome Triangulate(geom::CDelaunay& engine, const std::vector<std::array<double, 3>>& points) {
    for (const auto& p : points) {
        EXPECT_EQ(engine.AddPoint(p[0], p[1], p[2]), 1);
    }
    Outcome run;
    run.triangles = engine.Triangulate();
    for (const geom::CTriangle& t : run.triangles) {
        run.corners.push_back({t.i1, t.i2, t.i3});
    }
    return run;
}

Outcome Triangulate(const std::vector<std::array<double, 3>>& points) {
    geom::CDelaunay engine;
    return Triangulate(engine, points);
}

TEST(DelaunayExamples, UnitSquareTakesTheOtherDiagonal) {
    geom::CDelaunay engine;
    const Outcome run = Triangulate(engine, {{0, 0, 10}, {1, 0, 11}, {0, 1, 12}, {1, 1, 13}});
    EXPECT_EQ(run.corners, (std::vector<Corners>{{1, 0, 3}, {0, 2, 3}}));
    // Corner copies are the sorted store's records, z carried, in the stored corner order.
    ASSERT_EQ(run.triangles.size(), 2u);
    const geom::CTriangle& first = run.triangles[0];
    EXPECT_EQ(first.p1.x, 0);
    EXPECT_EQ(first.p1.y, 1);
    EXPECT_EQ(first.p1.z, 12);
    EXPECT_EQ(first.p2.z, 10);
    EXPECT_EQ(first.p3.x, 1);
    EXPECT_EQ(first.p3.y, 1);
    EXPECT_EQ(first.p3.z, 13);
    EXPECT_EQ(run.triangles[1].p2.z, 11);
    for (const geom::CTriangle& t : run.triangles) {
        EXPECT_EQ(t.p1.w, 0u);
        EXPECT_EQ(t.p2.w, 0u);
        EXPECT_EQ(t.p3.w, 0u);
    }
}

// (A point inside a triangle, and triangles next to the hull that are lost, are met through
// triangulate in the module's tests.)
TEST(DelaunayExamples, ThreeByTwoGrid) {
    EXPECT_EQ(
        Triangulate({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {0, 1, 0}, {1, 1, 0}, {2, 1, 0}}).corners,
        (std::vector<Corners>{{0, 2, 3}, {1, 0, 3}, {3, 2, 5}, {2, 4, 5}}));
}

TEST(DelaunayExamples, DegenerateSetsGiveNothing) {
    EXPECT_TRUE(Triangulate({}).triangles.empty());
    EXPECT_TRUE(Triangulate({{1, 2, 3}}).triangles.empty());
    EXPECT_TRUE(Triangulate({{0, 0, 0}, {1, 1, 0}}).triangles.empty());
    EXPECT_TRUE(Triangulate({{0, 0, 0}, {1, 1, 0}, {2, 2, 0}}).triangles.empty());
    EXPECT_TRUE(Triangulate({{0, 5, 0}, {0, 1, 0}, {0, 3, 0}, {0, 2, 0}}).triangles.empty());
    EXPECT_TRUE(Triangulate({{2, 2, 1}, {2, 2, 2}, {2, 2, 3}}).triangles.empty());
}

TEST(DelaunayExamples, OnlyTheLastOfEqualPointsIsInserted) {
    geom::CDelaunay engine;
    const Outcome run =
        Triangulate(engine, {{1, 1, 5}, {0, 0, 0}, {1, 0, 0}, {1, 1, 7}, {0, 1, 0}, {1, 1, 6}});
    // Sorted: (0,0), (0,1), (1,0), then the three records at (1,1) at 3, 4, 5.
    EXPECT_EQ(run.corners, (std::vector<Corners>{{1, 0, 5}, {0, 2, 5}}));
    ASSERT_EQ(run.triangles.size(), 2u);
    EXPECT_EQ(run.triangles[0].p3.z, engine.PointStore()[5].z);
}

TEST(DelaunayStore, GrowsInStepsOfAThousand) {
    geom::CDelaunay engine;
    EXPECT_EQ(engine.PointStore().size(), 1000u);
    EXPECT_EQ(engine.PointCount(), 0);
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(engine.AddPoint(i, -i, 0.5 * i), 1);
    }
    EXPECT_EQ(engine.PointStore().size(), 1000u);
    EXPECT_EQ(engine.AddPoint(7, 8, 9), 1);
    EXPECT_EQ(engine.PointStore().size(), 2000u);
    EXPECT_EQ(engine.PointCount(), 1001);
    const geom::CVertex& last = engine.PointStore()[1000];
    EXPECT_EQ(last.x, 7);
    EXPECT_EQ(last.y, 8);
    EXPECT_EQ(last.z, 9);
    EXPECT_EQ(last.w, 0u);
    EXPECT_EQ(engine.PointStore()[999].y, -999);
}

TEST(DelaunayStore, EnclosingCornersAreAppendedDuringTheRun) {
    geom::CDelaunay engine;
    Triangulate(engine, {{0, 0, 1}, {4, 0, 1}, {0, 1, 1}, {4, 1, 1}});
    ASSERT_EQ(engine.PointCount(), 7);
    // dmax = 4 (the wider side), centre (2, 0.5), factor 2.
    const auto& store = engine.PointStore();
    EXPECT_EQ(store[4].x, 10);
    EXPECT_EQ(store[4].y, -3.5);
    EXPECT_EQ(store[5].x, 2);
    EXPECT_EQ(store[5].y, 8.5);
    EXPECT_EQ(store[6].x, -6);
    EXPECT_EQ(store[6].y, -3.5);
    for (int i = 4; i < 7; ++i) {
        EXPECT_EQ(store[i].z, 0);
    }
}

TEST(DelaunayStore, NoPointsAddNoCorners) {
    geom::CDelaunay engine;
    EXPECT_TRUE(engine.Triangulate().empty());
    EXPECT_EQ(engine.PointCount(), 0);
}

}  // namespace
