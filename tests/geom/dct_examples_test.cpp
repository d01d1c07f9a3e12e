// Small inputs whose vertex list, triangles and triangle order are known exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "checks/dct_test_support.h"

namespace {

using dcttest::Corners;
using Positions = std::vector<std::array<double, 2>>;

Positions PositionsOf(const std::vector<geom::CVertex>& vertices) {
    Positions positions;
    for (const geom::CVertex& v : vertices) {
        positions.push_back({v.x, v.y});
    }
    return positions;
}

dcttest::Triangulation TriangulatePositions(const Positions& positions) {
    std::vector<geom::CVertex> points;
    for (const auto& p : positions) {
        points.emplace_back(p[0], p[1], 0.0);
    }
    return dcttest::TriangulateAll(points);
}

TEST(DctExamples, UnitSquareInEveryInsertionOrder) {
    const Positions corners = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    std::array<int, 4> order = {0, 1, 2, 3};
    do {
        Positions positions;
        for (const int k : order) {
            positions.push_back(corners[k]);
        }
        const dcttest::Triangulation run = TriangulatePositions(positions);
        SCOPED_TRACE(testing::Message()
                     << "order " << order[0] << order[1] << order[2] << order[3]);
        EXPECT_EQ(PositionsOf(run.vertices), (Positions{{0, 0}, {0, 1}, {1, 0}, {1, 1}}));
        EXPECT_EQ(dcttest::IndexTriples(run.triangles),
                  (std::vector<Corners>{{0, 2, 1}, {1, 2, 3}}));
    } while (std::next_permutation(order.begin(), order.end()));
}

TEST(DctExamples, ThreePointsGiveOneTriangleWhicheverWayTheyTurn) {
    // Sorted order counter-clockwise, clockwise, and a vertical pair first.
    EXPECT_EQ(dcttest::IndexTriples(TriangulatePositions({{2, 0}, {0, 0}, {1, -1}}).triangles),
              (std::vector<Corners>{{0, 1, 2}}));
    EXPECT_EQ(dcttest::IndexTriples(TriangulatePositions({{2, 0}, {1, 1}, {0, 0}}).triangles),
              (std::vector<Corners>{{0, 2, 1}}));
    EXPECT_EQ(dcttest::IndexTriples(TriangulatePositions({{0, 1}, {0, 0}, {1, 0}}).triangles),
              (std::vector<Corners>{{0, 2, 1}}));
}

TEST(DctExamples, TriangularHullIsNotListedAsAFace) {
    const dcttest::Triangulation run = TriangulatePositions({{0, 0}, {2, 1}, {2, 4}, {4, 0}});
    EXPECT_EQ(dcttest::IndexTriples(run.triangles),
              (std::vector<Corners>{{0, 1, 2}, {0, 3, 1}, {1, 3, 2}}));
}

TEST(DctExamples, FiveVerticesMergeThreeWithTwo) {
    const dcttest::Triangulation run =
        TriangulatePositions({{3, 2}, {0, 0}, {4, 0}, {1, 2}, {2, 0}});
    EXPECT_EQ(PositionsOf(run.vertices), (Positions{{0, 0}, {1, 2}, {2, 0}, {3, 2}, {4, 0}}));
    EXPECT_EQ(dcttest::IndexTriples(run.triangles),
              (std::vector<Corners>{{0, 2, 1}, {1, 2, 3}, {2, 4, 3}}));
}

TEST(DctExamples, DeletedEntryEdgeHandsOverToTheNextCounterClockwise) {
    // Vertex 2 = (7, 0) first meets the edge to (3, 20); the merge deletes that edge, and the
    // walk around vertex 2 then starts at its next edge counter-clockwise, the one to (0, 4).
    const dcttest::Triangulation run =
        TriangulatePositions({{10, 4}, {0, 4}, {20, 5}, {7, 0}, {3, 20}, {8, 4}});
    EXPECT_EQ(PositionsOf(run.vertices),
              (Positions{{0, 4}, {3, 20}, {7, 0}, {8, 4}, {10, 4}, {20, 5}}));
    EXPECT_EQ(
        dcttest::IndexTriples(run.triangles),
        (std::vector<Corners>{{0, 2, 3}, {0, 3, 1}, {1, 3, 4}, {1, 4, 5}, {2, 5, 4}, {2, 4, 3}}));
}

TEST(DctExamples, PointsOnOneLineGiveNoTriangles) {
    const dcttest::Triangulation diagonal =
        TriangulatePositions({{3, 3}, {1, 1}, {2, 2}, {0, 0}, {1, 1}});
    EXPECT_TRUE(diagonal.failure.empty());
    EXPECT_TRUE(diagonal.triangles.empty());
    EXPECT_EQ(PositionsOf(diagonal.vertices), (Positions{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));

    Positions vertical;
    for (int i = 9; i >= 0; --i) {
        vertical.push_back({5, 0.5 * i});
    }
    const dcttest::Triangulation column = TriangulatePositions(vertical);
    EXPECT_TRUE(column.failure.empty());
    EXPECT_TRUE(column.triangles.empty());
    EXPECT_EQ(column.vertices.size(), 10u);
}

}  // namespace
