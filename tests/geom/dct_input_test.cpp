// How CDCT takes its points: duplicates and which of them survives, the vertex list, the
// failure texts, and the growth of the point store.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "checks/dct_test_support.h"

namespace {

std::vector<double> ZOf(const std::vector<geom::CVertex>& vertices) {
    std::vector<double> z;
    for (const geom::CVertex& v : vertices) {
        z.push_back(v.z);
    }
    return z;
}

TEST(DctInput, EqualPositionsCountOnceWithTheZOfTheSurvivor) {
    // The sort puts the two points at (0, 0) in the order second, first: the first one added
    // is the last of the run and survives.
    const dcttest::Triangulation two =
        dcttest::TriangulateAll({{0, 0, 1}, {0, 0, 2}, {1, 0, 3}, {0, 1, 4}});
    ASSERT_EQ(two.vertices.size(), 3u);
    EXPECT_EQ(ZOf(two.vertices), (std::vector<double>{1, 4, 3}));
    EXPECT_EQ(dcttest::IndexTriples(two.triangles), (std::vector<dcttest::Corners>{{0, 2, 1}}));
    EXPECT_EQ(two.triangles[0].p1.z, 1.0);

    // Three equal points added first are sorted third, first, second: the second survives.
    const dcttest::Triangulation three =
        dcttest::TriangulateAll({{0, 0, 1}, {0, 0, 2}, {0, 0, 3}, {5, 0, 4}, {0, 5, 6}});
    EXPECT_EQ(ZOf(three.vertices), (std::vector<double>{2, 6, 4}));
}

TEST(DctInput, CoordinatesThatAreNotFiniteAreSortedLikeAnyOther) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<geom::CVertex> points = {{0, 0, 1}, {inf, 1, 2}, {2, 0, 3},   {0, 0, 4},
                                               {0, 3, 5}, {inf, 1, 6}, {-inf, 2, 7}};
    const dcttest::Triangulation run = dcttest::TriangulateAll(points);
    EXPECT_EQ(run.failure, "");
    EXPECT_EQ(dcttest::Records(run.vertices), dcttest::Records(dcttest::ExpectedVertices(points)));
}

TEST(DctInput, GetVerticesWalksTheStoreDroppingAllButTheLastOfAdjacentEquals) {
    geom::CDCT dct;
    EXPECT_EQ(dct.AddPoint(5, 5, 1), 1);
    EXPECT_EQ(dct.AddPoint(5, 5, 2), 1);
    EXPECT_EQ(dct.AddPoint(1, 1, 3), 1);
    EXPECT_EQ(dct.AddPoint(5, 5, 4), 1);
    const std::vector<geom::CVertex> before = dct.GetVertices();
    EXPECT_EQ(ZOf(before), (std::vector<double>{2, 3, 4}));
    for (const geom::CVertex& v : before) {
        EXPECT_EQ(v.w, 0u);
    }
    EXPECT_EQ(dct.GetVertices().size(), 3u);  // reading does not change the store
}

std::string FailureOf(const std::vector<geom::CVertex>& points) {
    return dcttest::TriangulateAll(points).failure;
}

// (Fewer points, and fewer positions, are met through kaf-dct in the module's tests.)
TEST(DctInput, FewerThanThreePositionsFailWithTheNarrowText) {
    const std::string text = "A minimum of 3 vertices are required!\n";
    EXPECT_EQ(FailureOf({}), text);
    EXPECT_EQ(FailureOf({{0, 0, 0}, {-0.0, 0, 1}, {0, -0.0, 2}}), text);  // one position
    EXPECT_EQ(FailureOf({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}), "");
}

TEST(DctInput, StoreGrowsPastItsFirstRoomKeepingEveryPoint) {
    geom::CDCT dct;
    const int count = 2 * 50000 + 7;
    for (int i = 0; i < count; ++i) {
        dct.AddPoint(i % 317, i / 317, i);  // distinct positions, added row by row
    }
    const std::vector<geom::CVertex> stored = dct.GetVertices();
    ASSERT_EQ(stored.size(), static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        ASSERT_EQ(stored[i].z, i);
        ASSERT_EQ(stored[i].x, i % 317);
        // What a reader looks back at, in every block of the store.
        const geom::DctStoredPoint& added = dct.AddedPoint(static_cast<std::uint32_t>(i));
        ASSERT_EQ(added.x, i % 317);
        ASSERT_EQ(added.y, i / 317);
        ASSERT_EQ(added.z, i);
    }
    const std::vector<geom::CTriangle> triangles = dct.Triangulate();
    // 315 full rows of 317 points and 152 points of a last row: two triangles per grid cell
    // (316 x 314 cells, then 151 cells under the last row) and a fan of 165 triangles from the
    // end of the last row down to the rest of the row below.
    EXPECT_EQ(triangles.size(), 2u * 316 * 314 + 2 * 151 + 165);
    const std::vector<geom::CVertex> vertices = dct.GetVertices();
    ASSERT_EQ(vertices.size(), static_cast<std::size_t>(count));
    EXPECT_EQ(vertices[0].z, 0.0);
    EXPECT_EQ(vertices[1].x, 0.0);
    EXPECT_EQ(vertices[1].y, 1.0);
}

// Dropping the points at earlier points' positions keeps the first point at each, the rest in
// the order added (0 and -0 one position, the first one's sign kept), and the run after it is
// that of those points alone, with the points added since merged into the drop's sort or, beyond
// the room it was made for, sorted anew; among them repeats of kept positions and of each other.
TEST(DctInput, DroppedRepeatsLeaveTheFirstPointsAndTheRunOfThemAlone) {
    std::mt19937 random(6);
    std::uniform_int_distribution<int> coordinate(-40, 40);
    for (const int rows : {20000, 2000}) {
        geom::CDCT dct;
        std::vector<geom::CVertex> firsts;
        std::set<std::pair<double, double>> seen;
        for (int i = 0; i < rows; ++i) {
            const int column = coordinate(random);
            const double x = column == 0 && i % 2 == 1 ? -0.0 : column;
            const double y = coordinate(random) * 0.5;
            dct.AddPoint(x, y, i);
            if (seen.insert({x + 0.0, y}).second) {
                firsts.emplace_back(x, y, i);
            }
        }
        const std::uint32_t repeats = static_cast<std::uint32_t>(rows - firsts.size());
        ASSERT_GT(repeats, 200u);
        EXPECT_EQ(dct.DropRepeatedPositions(0), repeats) << rows;
        for (std::uint32_t k = 0; k < firsts.size(); ++k) {
            const geom::DctStoredPoint& point = dct.AddedPoint(k);
            ASSERT_EQ(dcttest::RecordOf(geom::CVertex(point.x, point.y, point.z)),
                      dcttest::RecordOf(firsts[k]))
                << rows << " " << k;
            ASSERT_EQ(std::signbit(point.x), std::signbit(firsts[k].x)) << rows << " " << k;
        }
        std::vector<geom::CVertex> all = firsts;
        for (int i = 0; i < 500; ++i) {
            const geom::CVertex p(coordinate(random) * 0.5, coordinate(random) * 0.25, -i);
            dct.AddPoint(p.x, p.y, p.z);
            all.push_back(p);
        }
        const dcttest::Triangulation expected = dcttest::TriangulateAll(all);
        ASSERT_EQ(expected.failure, "");
        EXPECT_EQ(dcttest::IndexTriples(dct.Triangulate()),
                  dcttest::IndexTriples(expected.triangles))
            << rows;
        const std::vector<geom::CVertex> vertices = dct.GetVertices();
        EXPECT_EQ(dcttest::Records(vertices), dcttest::Records(expected.vertices)) << rows;
        for (std::size_t k = 0; k < vertices.size(); ++k) {
            ASSERT_EQ(std::signbit(vertices[k].x), std::signbit(expected.vertices[k].x)) << k;
        }
    }
    // Nothing is dropped where a coordinate is not finite.
    geom::CDCT dct;
    for (const double x : {1.0, std::numeric_limits<double>::infinity(), 1.0}) {
        dct.AddPoint(x, 2, 3);
    }
    EXPECT_EQ(dct.DropRepeatedPositions(0), 0u);
    EXPECT_EQ(dct.GetVertices().size(), 3u);
}

}  // namespace
