// The grid thinning's own decisions: GridBeyond, whether a node lies beyond the tolerance from a
// triangle's plane, against exact big-integer arithmetic on the nodes' coordinates (near ties
// included, at survey coordinates and decimal elevations); GridCrossingFitsBetter, which diagonal
// of a co-circular quad follows the ground.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "checks/exact_predicates.h"
#include "geom/thinning/grid_beyond.h"
#include "geom/thinning/grid_diagonal.h"
#include "geom/thinning/grid_lattice.h"
#include "geom/thinning/thin_plane.h"

namespace {

using geom::GridNode;

exact::Point3 Exact(const GridNode& n) {
    return exact::Point3{n.p.x, n.p.y, n.p.z};
}

TEST(GridBeyond, DecidesAsExactArithmeticAtAndAroundTheTolerance) {
    std::mt19937 random(41);
    std::uniform_int_distribution<std::int64_t> index(0, 400);
    std::uniform_int_distribution<int> centimetres(-3000, 3000);
    const auto node = [&](std::int64_t i, std::int64_t j, double z) {
        GridNode n;
        n.i = i;
        n.j = j;
        n.p = {300000.0 + 0.5 * static_cast<double>(i), 5700000.0 + 2.0 * static_cast<double>(j),
               z};
        return n;
    };
    int beyond = 0, within = 0, undecided = 0;
    for (int round = 0; round < 4000; ++round) {
        GridNode a = node(index(random), index(random), 200.0 + centimetres(random) / 100.0);
        GridNode b = node(index(random), index(random), 200.0 + centimetres(random) / 100.0);
        GridNode c = node(index(random), index(random), 200.0 + centimetres(random) / 100.0);
        const std::int64_t orient = (b.i - a.i) * (c.j - a.j) - (b.j - a.j) * (c.i - a.i);
        if (orient == 0) {
            continue;
        }
        if (orient < 0) {
            std::swap(b, c);
        }
        // A node inside: a rounded mix of the corners.
        const double wa = 0.2 + 0.6 * (round % 7) / 7.0, wb = (1.0 - wa) / 2.0;
        GridNode p = node(std::llround(wa * a.i + wb * b.i + (1.0 - wa - wb) * c.i),
                          std::llround(wa * a.j + wb * b.j + (1.0 - wa - wb) * c.j),
                          200.0 + centimetres(random) / 100.0);
        if ((b.i - a.i) * (p.j - a.j) - (b.j - a.j) * (p.i - a.i) < 0 ||
            (c.i - b.i) * (p.j - b.j) - (c.j - b.j) * (p.i - b.i) < 0 ||
            (a.i - c.i) * (p.j - c.j) - (a.j - c.j) * (p.i - c.i) < 0) {
            continue;
        }
        // Tolerances at the computed distance and a step either side: near ties both ways.
        const double d = std::fabs(p.p.z - geom::ThinPlane(a.p, b.p, c.p).At(p.p));
        for (const double tolerance : {d, std::nextafter(d, 0.0), std::nextafter(d, 1e300), 0.0}) {
            const int decided = geom::GridBeyond(a, b, c, p, tolerance);
            const bool exactlyWithin =
                exact::ExactWithinVertically(Exact(a), Exact(b), Exact(c), Exact(p), tolerance);
            ASSERT_EQ(decided, exactlyWithin ? 0 : 1)
                << a.i << " " << a.j << ", " << b.i << " " << b.j << ", " << c.i << " " << c.j
                << ", " << p.i << " " << p.j << " at " << tolerance;
            (exactlyWithin ? within : beyond) += 1;
        }
        // The node on the plane exactly (a corner's elevation on a flat triangle) is within 0.
        GridNode flat = p;
        flat.p.z = a.p.z;
        GridNode fb = b, fc = c;
        fb.p.z = fc.p.z = a.p.z;
        EXPECT_EQ(geom::GridBeyond(a, fb, fc, flat, 0.0), 0);
    }
    // Triangles too large for the integer weights are left undecided.
    const GridNode far = node(20000, 0, 1.0), top = node(0, 20000, 1.0);
    undecided += geom::GridBeyond(node(0, 0, 1.0), far, top, node(5, 5, 1.0), 0.5) == -1;
    EXPECT_EQ(undecided, 1);
    EXPECT_GT(beyond, 2000);
    EXPECT_GT(within, 2000);
}

// A ridge along one diagonal of a 3 x 3 grid: that diagonal fits, the other does not; on flat
// ground neither fits better.
TEST(GridCrossingFitsBetter, TakesTheDiagonalAlongTheRidge) {
    for (const double lift : {1.0, 0.0}) {
        std::vector<geom::ThinPoint> points;
        for (int j = 0; j < 3; ++j) {
            for (int i = 0; i < 3; ++i) {
                points.push_back({10.0 * i, 10.0 * j, i == j ? 50.0 + lift : 50.0});
            }
        }
        geom::GridLattice grid;
        ASSERT_TRUE(geom::FindGridLattice(points, grid));
        const auto node = [&](std::uint32_t i, std::uint32_t j) {
            GridNode n;
            n.i = i;
            n.j = j;
            n.p = grid.Node(i, j);
            return n;
        };
        // q, a, d, b counter-clockwise; q-d the ridge's diagonal in the first, across it in the
        // second.
        EXPECT_EQ(
            geom::GridCrossingFitsBetter(grid, node(0, 0), node(2, 0), node(2, 2), node(0, 2)),
            lift > 0.0);
        EXPECT_FALSE(
            geom::GridCrossingFitsBetter(grid, node(2, 0), node(2, 2), node(0, 2), node(0, 0)));
    }
}

}  // namespace
