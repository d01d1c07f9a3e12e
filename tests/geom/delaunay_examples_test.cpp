#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "checks/dct_test_support.h"
#include "geom/incremental/delaunay.h"

namespace {

using dcttest::Corners;

std::vector<geom::CTriangle> Triangulate(geom::CDelaunay& engine,
                                         const std::vector<std::array<double, 3>>& points) {
    for (const auto& p : points) {
        EXPECT_EQ(engine.AddPoint(p[0], p[1], p[2]), 1);
    }
    return engine.Triangulate();
}

std::vector<geom::CTriangle> Triangulate(const std::vector<std::array<double, 3>>& points) {
    geom::CDelaunay engine;
    return Triangulate(engine, points);
}

// (The unit square, a point inside a triangle, and triangles next to the hull that are lost, are
// met through triangulate in the module's tests.)
TEST(DelaunayExamples, ThreeByTwoGrid) {
    EXPECT_EQ(dcttest::IndexTriples(
                  Triangulate({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {0, 1, 0}, {1, 1, 0}, {2, 1, 0}})),
              (std::vector<Corners>{{0, 2, 3}, {1, 0, 3}, {3, 2, 5}, {2, 4, 5}}));
}

TEST(DelaunayExamples, DegenerateSetsGiveNothing) {
    geom::CDelaunay empty;
    EXPECT_TRUE(Triangulate(empty, {}).empty());
    EXPECT_EQ(empty.PointCount(), 0);  // no points, no enclosing corners
    EXPECT_TRUE(Triangulate({{1, 2, 3}}).empty());
    EXPECT_TRUE(Triangulate({{0, 0, 0}, {1, 1, 0}}).empty());
    EXPECT_TRUE(Triangulate({{0, 0, 0}, {1, 1, 0}, {2, 2, 0}}).empty());
    EXPECT_TRUE(Triangulate({{0, 5, 0}, {0, 1, 0}, {0, 3, 0}, {0, 2, 0}}).empty());
    EXPECT_TRUE(Triangulate({{2, 2, 1}, {2, 2, 2}, {2, 2, 3}}).empty());
}

TEST(DelaunayExamples, OnlyTheLastOfEqualPointsIsInserted) {
    geom::CDelaunay engine;
    const std::vector<geom::CTriangle> triangles =
        Triangulate(engine, {{1, 1, 5}, {0, 0, 0}, {1, 0, 0}, {1, 1, 7}, {0, 1, 0}, {1, 1, 6}});
    // Sorted: (0,0), (0,1), (1,0), then the three records at (1,1) at 3, 4, 5.
    ASSERT_EQ(dcttest::IndexTriples(triangles), (std::vector<Corners>{{1, 0, 5}, {0, 2, 5}}));
    EXPECT_EQ(triangles[0].p3.z, engine.PointStore()[5].z);
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
    EXPECT_EQ(dcttest::RecordOf(engine.PointStore()[1000]), (dcttest::Record{7, 8, 9, 0}));
    EXPECT_EQ(engine.PointStore()[999].y, -999);
}

TEST(DelaunayStore, EnclosingCornersAreAppendedDuringTheRun) {
    geom::CDelaunay engine;
    Triangulate(engine, {{0, 0, 1}, {4, 0, 1}, {0, 1, 1}, {4, 1, 1}});
    ASSERT_EQ(engine.PointCount(), 7);
    // dmax = 4 (the wider side), centre (2, 0.5), factor 2; z 0.
    const auto& store = engine.PointStore();
    EXPECT_EQ(dcttest::Records({store[4], store[5], store[6]}),
              (std::vector<dcttest::Record>{{10, -3.5, 0, 0}, {2, 8.5, 0, 0}, {-6, -3.5, 0, 0}}));
}

}  // namespace
