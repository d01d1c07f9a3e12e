// The grid path's in-circle decision in integers: on lattices with equal and unequal steps, far
// from the origin, it gives InCircle's answer on the nodes' plan positions, co-circular nodes
// (common on a lattice) included, and offsets too large for integers go to InCircle.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <utility>

#include "geom/kernel/predicates.h"
#include "geom/thinning/grid_circle.h"

namespace {

// The plan positions of a lattice's columns and rows (exact: whole or binary fractions).
geom::GridLattice Lattice(double x0, double y0, double dx, double dy, std::uint32_t side) {
    geom::GridLattice grid;
    grid.columns = grid.rows = side;
    for (std::uint32_t k = 0; k < side; ++k) {
        grid.xs.push_back(x0 + k * dx);
        grid.ys.push_back(y0 + k * dy);
    }
    return grid;
}

geom::PlanPoint Plan(const geom::GridLattice& grid, geom::GridPlace n) {
    return {grid.xs[n.i], grid.ys[n.j]};
}

TEST(GridCircle, DecidesAsInCircleOnTheNodesPositions) {
    // Equal steps, unequal ones, fractions of a metre, far from the origin.
    const geom::GridLattice lattices[] = {
        Lattice(0.0, 0.0, 1.0, 1.0, 20001), Lattice(500000.0, 5400000.0, 0.25, 0.25, 20001),
        Lattice(-300.0, 7000.0, 3.0, 5.0, 20001), Lattice(100.0, -40.0, 0.5, 2.0, 20001)};
    std::mt19937 random(41);
    for (const geom::GridLattice& grid : lattices) {
        const bool square = grid.xs[1] - grid.xs[0] == grid.ys[1] - grid.ys[0];
        int counts[3] = {0, 0, 0};
        // Small windows give many co-circular quadruples; the widest passes the integer limit.
        for (const std::uint32_t window : {4u, 12u, 200u, 20000u}) {
            std::uniform_int_distribution<std::uint32_t> index(0, window);
            const auto node = [&] { return geom::GridPlace{index(random), index(random)}; };
            for (int trial = 0; trial < 4000; ++trial) {
                geom::GridPlace a = node(), b = node();
                const geom::GridPlace c = node(), d = node();
                const int orient = geom::Orient(Plan(grid, a), Plan(grid, b), Plan(grid, c));
                if (orient == 0) {
                    continue;
                }
                if (orient < 0) {
                    std::swap(a, b);
                }
                const int expected =
                    geom::InCircle(Plan(grid, a), Plan(grid, b), Plan(grid, c), Plan(grid, d));
                ASSERT_EQ(geom::GridInCircle(grid, a, b, c, d, square), expected)
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

// A rectangle's corners are co-circular whatever the steps; a node beside it is inside or
// outside as the steps decide.
TEST(GridCircle, RectanglesAreCoCircularAndUnequalStepsDecideTheRest) {
    for (const double dy : {1.0, 0.5, 4.0}) {
        const geom::GridLattice grid = Lattice(0.0, 0.0, 1.0, dy, 5);
        const bool square = dy == 1.0;
        const geom::GridPlace a{0, 0}, b{3, 0}, c{3, 2}, d{0, 2};
        EXPECT_EQ(geom::GridInCircle(grid, a, b, c, d, square), 0);
        // Node (4, 1) lies 2.5 from the centre (1.5, dy), the radius is sqrt(2.25 + dy^2):
        // outside for dy = 1 and 0.5, inside for dy = 4.
        EXPECT_EQ(geom::GridInCircle(grid, a, b, c, {4, 1}, square), dy == 4.0 ? 1 : -1);
    }
}

}  // namespace
