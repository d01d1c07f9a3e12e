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

namespace {

// Points spread over almost all of the doubles' range: the enclosing triangle of the points
// themselves overflows, so they are triangulated as their copy at 1/16, which gives the same
// triangles; the corners keep the points' own coordinates.
TEST(DelaunayExamples, PointsNearTheLargestDoublesAreTriangulatedAsTheirCopyAtOneSixteenth) {
    const double s = 1e308;
    std::vector<std::array<double, 3>> far = {{s, s, 1},   {-s, s, 2},       {s, -s, 3},
                                              {-s, -s, 4}, {0, s, 5},        {s, 0, 6},
                                              {0, -s, 7},  {-s, 0.3 * s, 8}, {0.1 * s, 0.2 * s, 9}};
    std::vector<std::array<double, 3>> sixteenth = far;
    for (auto& p : sixteenth) {
        p[0] /= 16;
        p[1] /= 16;
    }
    const std::vector<geom::CTriangle> big = Triangulate(far);
    const std::vector<geom::CTriangle> small = Triangulate(sixteenth);
    ASSERT_FALSE(big.empty());
    ASSERT_EQ(dcttest::IndexTriples(big), dcttest::IndexTriples(small));
    for (std::size_t k = 0; k < big.size(); ++k) {
        for (const auto& [corner, copy] :
             {std::make_pair(big[k].p1, small[k].p1), std::make_pair(big[k].p2, small[k].p2),
              std::make_pair(big[k].p3, small[k].p3)}) {
            EXPECT_EQ(corner.x, copy.x * 16);
            EXPECT_EQ(corner.y, copy.y * 16);
            EXPECT_EQ(corner.z, copy.z);
        }
        EXPECT_EQ(big[k].circleKnown, 0);
    }
    // A coordinate that the scaling would round: no exact triangulation at 1/16, no triangles.
    far.push_back({-0.5 * s, 5e-324, 10});
    EXPECT_TRUE(Triangulate(far).empty());
}

}  // namespace
