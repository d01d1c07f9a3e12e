// Behaviour the procedure leaves open and the engine fixes: flat triangles, working lists that
// outgrow three records per point, and the reference comparison on such runs.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "delaunay_oracle.h"
#include "geom/delaunay.h"

namespace {

using geom::CTriangle;

bool IsFlat(const CTriangle& t) {
    return std::fabs(t.p1.y - t.p2.y) < 1e-6 && std::fabs(t.p2.y - t.p3.y) < 1e-6;
}

TEST(DelaunayDecisions, FlatTriangleGetsNoCircleAndIsNeverComplete) {
    // Sorted: (0, 4e-7), (0, 8e-7), (1, 0), (1, 4e-7). The last point looks at the flat triangle
    // (1, 0, 2) made by the one before and lies right of every point, yet it stays unmarked.
    geom::CDelaunay engine;
    engine.AddPoint(0, 8e-7, 1);
    engine.AddPoint(1, 0, 2);
    engine.AddPoint(1, 4e-7, 3);
    engine.AddPoint(0, 4e-7, 4);
    const std::vector<CTriangle> triangles = engine.Triangulate();
    ASSERT_EQ(triangles.size(), 1u);
    const CTriangle& t = triangles[0];
    EXPECT_EQ(t.i1, 1);
    EXPECT_EQ(t.i2, 0);
    EXPECT_EQ(t.i3, 2);
    EXPECT_TRUE(IsFlat(t));
    EXPECT_EQ(t.circleKnown, 0);
    EXPECT_EQ(t.complete, 0);
    EXPECT_EQ(t.xc, 0);
    EXPECT_EQ(t.yc, 0);
    EXPECT_EQ(t.r, 0);
}

TEST(DelaunayDecisions, TrianglesLookedAtCarryTheirCircle) {
    // Unit square: both triangles are made by the last point and never looked at. With a fifth
    // point far right, triangles of the square are looked at by it and some lie left of it.
    geom::CDelaunay engine;
    for (const auto& p : std::vector<std::vector<double>>{{0, 0}, {1, 0}, {0, 1}, {1, 1}}) {
        engine.AddPoint(p[0], p[1], 0);
    }
    for (const CTriangle& t : engine.Triangulate()) {
        EXPECT_EQ(t.circleKnown, 0);
        EXPECT_EQ(t.complete, 0);
    }
    geom::CDelaunay wider;
    for (const auto& p :
         std::vector<std::vector<double>>{{0, 0}, {1, 0}, {0, 1}, {1, 1}, {9, 0.5}}) {
        wider.AddPoint(p[0], p[1], 0);
    }
    const std::vector<CTriangle> triangles = wider.Triangulate();
    const std::vector<CTriangle> reference = delaunay_oracle::ReplayWithOracle(wider);
    ASSERT_EQ(triangles.size(), reference.size());
    bool someComplete = false;
    for (std::size_t k = 0; k < triangles.size(); ++k) {
        EXPECT_TRUE(delaunay_oracle::SameTriangle(triangles[k], reference[k])) << k;
        if (triangles[k].complete) {
            someComplete = true;
            EXPECT_EQ(triangles[k].circleKnown, 1);
            EXPECT_LT(triangles[k].xc + triangles[k].r, 9);
        }
    }
    EXPECT_TRUE(someComplete);
}

TEST(DelaunayDecisions, WorkingListsGrowPastThreeRecordsPerPoint) {
    // 24 points on the left half of the unit circle, then one inside it, right of them all.
    // Rounding makes the circles of the arc triangles disagree, so the list fills with
    // overlapping triangles, and the last point's cavity takes in more than 25 of them.
    const int arc = 24;
    geom::CDelaunay engine;
    const double pi = std::acos(-1.0);
    for (int k = 0; k < arc; ++k) {
        const double a = pi / 2 + pi * (k + 0.5) / arc;
        engine.AddPoint(std::cos(a), std::sin(a), k);
    }
    engine.AddPoint(0.3, 0.1, 100);
    const int n = arc + 1;
    const std::vector<CTriangle> triangles = engine.Triangulate();

    delaunay_oracle::WalkStats stats;
    const std::vector<CTriangle> reference = delaunay_oracle::ReplayWithOracle(engine, &stats);
    EXPECT_GT(stats.largestCavityEdges, 3u * n);
    EXPECT_GT(stats.largestTriangleList, 3u * n);

    ASSERT_EQ(triangles.size(), reference.size());
    for (std::size_t k = 0; k < triangles.size(); ++k) {
        EXPECT_TRUE(delaunay_oracle::SameTriangle(triangles[k], reference[k])) << k;
    }
    // What remains is the fan from the inner point (last in the sorted store) over the arc.
    ASSERT_EQ(triangles.size(), static_cast<std::size_t>(arc - 1));
    for (const CTriangle& t : triangles) {
        EXPECT_EQ(t.i3, arc);
        EXPECT_EQ(t.p3.z, 100);
    }
}

}  // namespace
