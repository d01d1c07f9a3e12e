// Behaviour the procedure leaves open and the engine fixes: triangles flat within the tolerance,
// and points on an arc whose circle tests rounding makes disagree.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "checks/dct_test_support.h"
#include "delaunay_oracle.h"
#include "delaunay_validity.h"
#include "geom/incremental/delaunay.h"

namespace {

using geom::CTriangle;

bool IsFlat(const CTriangle& t) {
    return std::fabs(t.p1.y - t.p2.y) < 1e-6 && std::fabs(t.p2.y - t.p3.y) < 1e-6;
}

TEST(DelaunayDecisions, TrianglesFlatWithinTheToleranceAreTriangulatedAndCarryNoCircle) {
    // A rhombus less than 1e-6 high: every triangle's y values lie within the tolerance, so the
    // circle construction has none to give, yet the points are triangulated exactly.
    geom::CDelaunay engine;
    engine.AddPoint(0, 0, 1);
    engine.AddPoint(1e-7, 1.7e-7, 2);
    engine.AddPoint(2e-7, 0, 3);
    engine.AddPoint(3e-7, 1.7e-7, 4);
    const std::vector<CTriangle> triangles = engine.Triangulate();
    EXPECT_EQ(dcttest::IndexTriples(triangles),
              (std::vector<dcttest::Corners>{{1, 0, 2}, {1, 2, 3}}));
    for (const CTriangle& t : triangles) {
        EXPECT_TRUE(IsFlat(t));
        EXPECT_TRUE(t.circleKnown == 0 && t.complete == 0 && t.xc == 0 && t.yc == 0 && t.r == 0);
    }
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

TEST(DelaunayDecisions, ArcWhoseCirclesRoundingMakesDisagreeGivesTheDelaunayTriangles) {
    // 24 points on the left half of the unit circle, then one inside it, right of them all.
    // Rounding makes circle tests of the arc triangles disagree. The engine's triangles are the
    // Delaunay ones: a valid set covering what the Delaunay triangulation covers.
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

    const std::vector<geom::CVertex> store(engine.PointStore().begin(),
                                           engine.PointStore().begin() + n + 3);
    const std::vector<geom::CVertex> sorted(store.begin(), store.begin() + n);
    EXPECT_TRUE(delaunay_validity::IncrementalFaults(sorted, triangles).Valid());
    const double covered = delaunay_validity::DelaunayCoveredArea(store);
    EXPECT_NEAR(delaunay_validity::TriangleArea(triangles), covered, 1e-12);
    EXPECT_GT(covered, 0.5);
}

}  // namespace
