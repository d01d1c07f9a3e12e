// The thinning's exact decisions: GridBeyond (on the grid) and ThinBeyond (off it), whether a
// point lies beyond the tolerance from a triangle's plane, against exact big-integer arithmetic on
// the coordinates (near ties included, at survey coordinates and decimal elevations), with the
// exact sums they rest on; GridCrossingFitsBetter, which diagonal of a co-circular quad follows
// the ground.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "checks/exact_predicates.h"
#include "geom/kernel/exact_sum.h"
#include "geom/kernel/predicates.h"
#include "geom/thinning/grid_beyond.h"
#include "geom/thinning/grid_diagonal.h"
#include "geom/thinning/grid_lattice.h"
#include "geom/thinning/thin_beyond.h"
#include "geom/thinning/thin_plane.h"

namespace {

using geom::GridNode;

using geom::ThinPoint;

exact::Point3 Exact(const ThinPoint& p) {
    return exact::Point3{p.x, p.y, p.z};
}

// Decides p against the plane through a, b, c with `decide(tolerance)` at p's computed distance
// from it, a step either side (near ties both ways) and 0, against exact arithmetic; counts the
// outcomes.
template <typename Decide>
void DecideAroundTheDistance(const ThinPoint& a, const ThinPoint& b, const ThinPoint& c,
                             const ThinPoint& p, const Decide& decide, int& within, int& beyond) {
    const double d = std::fabs(p.z - geom::ThinPlane(a, b, c).At(p));
    for (const double tolerance : {d, std::nextafter(d, 0.0), std::nextafter(d, 1e300), 0.0}) {
        const bool exactlyWithin =
            exact::ExactWithinVertically(Exact(a), Exact(b), Exact(c), Exact(p), tolerance);
        ASSERT_EQ(decide(tolerance), exactlyWithin ? 0 : 1)
            << a.x << " " << a.y << ", " << b.x << " " << b.y << ", " << c.x << " " << c.y << ", "
            << p.x << " " << p.y << " at " << tolerance;
        (exactlyWithin ? within : beyond) += 1;
    }
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
        DecideAroundTheDistance(
            a.p, b.p, c.p, p.p,
            [&](double tolerance) { return geom::GridBeyond(a, b, c, p, tolerance); }, within,
            beyond);
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

bool CounterClockwise(const ThinPoint& a, const ThinPoint& b, const ThinPoint& c) {
    return geom::Orient(geom::PlanPoint{a.x, a.y}, geom::PlanPoint{b.x, b.y},
                        geom::PlanPoint{c.x, c.y}) > 0;
}

TEST(ExactSum, KeepsWhatFloatingPointLoses) {
    geom::ExactSum<8> cancelled;
    cancelled.Add(1e16);
    cancelled.Add(1.0);
    cancelled.Add(-1e16);
    EXPECT_EQ(cancelled.Sign(), 1);  // 1e16 + 1 rounds to 1e16
    // (1 + 2^-30)(1 - 2^-30) - 1 = -2^-60, where the rounded product is 1.
    geom::ExactSum<8> product;
    product.AddProduct(1.0 + 0x1p-30, 1.0 - 0x1p-30);
    product.Add(-1.0);
    EXPECT_EQ(product.Sign(), -1);
    geom::ExactSum<8> zero;
    zero.AddProduct(3.0, 0.1);
    zero.AddProduct(-0.1, 3.0);
    EXPECT_EQ(zero.Sign(), 0);
}

TEST(ThinBeyond, DecidesAsExactArithmeticAtAndAroundTheTolerance) {
    std::mt19937 random(17);
    std::uniform_int_distribution<int> centimetres(0, 9000);
    std::uniform_int_distribution<int> elevation(-3000, 3000);
    const auto point = [&] {
        return ThinPoint{300000.0 + centimetres(random) / 100.0,
                         5700000.0 + centimetres(random) / 100.0,
                         200.0 + elevation(random) / 100.0};
    };
    int beyond = 0, within = 0;
    for (int round = 0; round < 3000; ++round) {
        ThinPoint a = point(), b = point(), c = point();
        if (!CounterClockwise(a, b, c)) {
            std::swap(b, c);
        }
        if (!CounterClockwise(a, b, c)) {
            continue;
        }
        // Inside (a rounded mix of the corners) or anywhere.
        ThinPoint p = point();
        if (round % 2 == 0) {
            const double wa = 0.1 + 0.8 * (round % 9) / 9.0, wb = (1.0 - wa) / 2.0;
            p.x = std::round((wa * a.x + wb * b.x + (1.0 - wa - wb) * c.x) * 100.0) / 100.0;
            p.y = std::round((wa * a.y + wb * b.y + (1.0 - wa - wb) * c.y) * 100.0) / 100.0;
        }
        DecideAroundTheDistance(
            a, b, c, p, [&](double tolerance) { return geom::ThinBeyond(a, b, c, p, tolerance); },
            within, beyond);
    }
    EXPECT_GT(beyond, 2000);
    EXPECT_GT(within, 2000);
}

// A plane exact in binary (quarter-metre places at survey offsets) with a point lifted off it:
// at the lift the point is within, a step below it beyond, on both sides of the plane.
TEST(ThinBeyond, APointExactlyAtTheToleranceIsWithin) {
    std::mt19937 random(5);
    std::uniform_int_distribution<int> quarter(0, 400);
    const auto on = [](double x, double y) {
        return ThinPoint{x, y, 120.5 + 0.5 * (x - 400000.0) - 0.25 * (y - 5700000.0)};
    };
    int ties = 0;
    for (int round = 0; round < 500; ++round) {
        const auto at = [&] {
            return on(400000.0 + quarter(random) * 0.25, 5700000.0 + quarter(random) * 0.25);
        };
        const ThinPoint a = at();
        ThinPoint b = at(), c = at();
        if (!CounterClockwise(a, b, c)) {
            std::swap(b, c);
        }
        if (!CounterClockwise(a, b, c)) {
            continue;
        }
        const ThinPoint base = at();
        EXPECT_EQ(geom::ThinBeyond(a, b, c, base, 0.0), 0);
        for (const double lift : {0.1, -0.07, 0.375}) {
            ThinPoint p = base;
            p.z = base.z + lift;
            const double tolerance = std::fabs(p.z - base.z);  // exact: the two are close
            EXPECT_EQ(geom::ThinBeyond(a, b, c, p, tolerance), 0) << lift;
            EXPECT_EQ(geom::ThinBeyond(a, b, c, p, std::nextafter(tolerance, 0.0)), 1) << lift;
            ++ties;
        }
    }
    EXPECT_GT(ties, 1000);
}

TEST(ThinBeyond, LeavesUndecidedWhatItCannotDecideExactly) {
    const ThinPoint a{0.0, 0.0, 1.0}, b{10.0, 0.0, 1.0}, c{0.0, 10.0, 1.0}, p{2.0, 2.0, 1.5};
    EXPECT_EQ(geom::ThinBeyond(a, b, c, p, 0.5), 0);
    EXPECT_EQ(geom::ThinBeyond(a, b, c, p, 0.25), 1);
    EXPECT_EQ(geom::ThinBeyond(a, c, b, p, 0.5), -1);  // clockwise
    EXPECT_EQ(geom::ThinBeyond(a, b, c, ThinPoint{2.0, 2.0, 1e-300}, 0.5), -1);
    EXPECT_EQ(geom::ThinBeyond(a, b, ThinPoint{0.0, 1e250, 1.0}, p, 0.5), -1);
    EXPECT_EQ(geom::ThinBeyond(a, b, c, p, 1e-300), -1);
}

}  // namespace
