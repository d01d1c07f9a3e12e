// Exact decisions of the thinning off the grid: ThinBeyond, whether a point lies beyond the
// tolerance from a triangle's plane, against big-integer arithmetic at survey coordinates with
// decimal elevations (tolerances at the computed distance and a step either side, and exact ties),
// and the exact sums it rests on.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "checks/exact_predicates.h"
#include "geom/kernel/exact_sum.h"
#include "geom/kernel/predicates.h"
#include "geom/thinning/thin_beyond.h"
#include "geom/thinning/thin_plane.h"

namespace {

using geom::ThinPoint;

exact::Point3 Exact(const ThinPoint& p) {
    return exact::Point3{p.x, p.y, p.z};
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
        const double d = std::fabs(p.z - geom::ThinPlane(a, b, c).At(p));
        for (const double tolerance : {d, std::nextafter(d, 0.0), std::nextafter(d, 1e300), 0.0}) {
            const int decided = geom::ThinBeyond(a, b, c, p, tolerance);
            const bool exactlyWithin =
                exact::ExactWithinVertically(Exact(a), Exact(b), Exact(c), Exact(p), tolerance);
            ASSERT_EQ(decided, exactlyWithin ? 0 : 1)
                << a.x << " " << a.y << ", " << b.x << " " << b.y << ", " << c.x << " " << c.y
                << ", " << p.x << " " << p.y << " at " << tolerance;
            (exactlyWithin ? within : beyond) += 1;
        }
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
