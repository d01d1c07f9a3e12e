// The grid path's in-circle decision in integers: on lattices with equal and unequal steps, far
// from the origin, it gives InCircle's answer on the nodes' plan positions, co-circular nodes
// (common on a lattice) included, and offsets too large for integers go to InCircle.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "geom/kernel/predicates.h"
#include "geom/thinning/grid_circle.h"

namespace {

struct Lattice {
    double x0, y0, dx, dy;
};

TEST(GridCircle, DecidesAsInCircleOnTheNodesPositions) {
    // Steps and origins whose nodes are exact: equal steps, unequal ones, fractions of a metre.
    const Lattice lattices[] = {{0.0, 0.0, 1.0, 1.0},
                                {500000.0, 5400000.0, 0.25, 0.25},
                                {-300.0, 7000.0, 3.0, 5.0},
                                {100.0, -40.0, 0.5, 2.0}};
    std::mt19937 random(41);
    for (const Lattice& lattice : lattices) {
        const bool square = lattice.dx == lattice.dy;
        int counts[3] = {0, 0, 0};
        // Small windows give many co-circular quadruples; wide ones pass the integer limit.
        for (const std::int64_t window : {4, 12, 200, 20000}) {
            std::uniform_int_distribution<std::int64_t> index(0, window);
            const auto node = [&] {
                geom::GridNode n;
                n.i = index(random);
                n.j = index(random);
                n.p = {lattice.x0 + static_cast<double>(n.i) * lattice.dx,
                       lattice.y0 + static_cast<double>(n.j) * lattice.dy, 0.0};
                return n;
            };
            for (int trial = 0; trial < 4000; ++trial) {
                geom::GridNode a = node(), b = node();
                const geom::GridNode c = node(), d = node();
                const std::int64_t orient = (b.i - a.i) * (c.j - a.j) - (b.j - a.j) * (c.i - a.i);
                if (orient == 0) {
                    continue;
                }
                if (orient < 0) {
                    std::swap(a, b);
                }
                const int expected =
                    geom::InCircle({a.p.x, a.p.y}, {b.p.x, b.p.y}, {c.p.x, c.p.y}, {d.p.x, d.p.y});
                ASSERT_EQ(geom::GridInCircle(a, b, c, d, square), expected)
                    << "(" << a.i << " " << a.j << ") (" << b.i << " " << b.j << ") (" << c.i << " "
                    << c.j << ") (" << d.i << " " << d.j << ")";
                ++counts[expected + 1];
            }
        }
        // All three answers were compared, on-circle ones among them.
        EXPECT_GT(counts[0], 1000);
        EXPECT_GT(counts[1], 200);
        EXPECT_GT(counts[2], 1000);
    }
}

// A rectangle's corners are co-circular whatever the steps; a node just beside one is inside or
// outside as the steps decide.
TEST(GridCircle, RectanglesAreCoCircularAndUnequalStepsDecideTheRest) {
    const auto node = [](std::int64_t i, std::int64_t j, double dx, double dy) {
        return geom::GridNode{
            i, j, {static_cast<double>(i) * dx, static_cast<double>(j) * dy, 0.0}};
    };
    for (const double dy : {1.0, 0.5, 4.0}) {
        const bool square = dy == 1.0;
        const geom::GridNode a = node(0, 0, 1.0, dy), b = node(3, 0, 1.0, dy);
        const geom::GridNode c = node(3, 2, 1.0, dy), d = node(0, 2, 1.0, dy);
        EXPECT_EQ(geom::GridInCircle(a, b, c, d, square), 0);
        // Node (4, 1): distance from the centre (1.5, 1 dy) is 2.5 against the radius
        // sqrt(2.25 + dy^2): outside for dy = 1 and 0.5, inside for dy = 4.
        const geom::GridNode e = node(4, 1, 1.0, dy);
        EXPECT_EQ(geom::GridInCircle(a, b, c, e, square), dy == 4.0 ? 1 : -1);
    }
}

}  // namespace
