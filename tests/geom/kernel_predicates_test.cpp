// The kernel's predicates (filtered and exact) against the big-integer oracle of the tests, on
// inputs where floating point goes wrong: nearly collinear and nearly cocircular points a few
// units in the last place apart, at every scale from subnormal numbers to 1e300, where the
// determinants underflow or overflow.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <set>
#include <vector>

#include "checks/exact_predicates.h"
#include "geom/kernel/exact_predicates.h"
#include "geom/kernel/predicates.h"

namespace {

using geom::PlanPoint;

exact::Point Oracle(PlanPoint p) {
    return {p.x, p.y};
}

PlanPoint Scaled(PlanPoint p, double scale) {
    return {p.x * scale, p.y * scale};
}

// p moved by i units in the last place in x and j in y.
PlanPoint Nudged(PlanPoint p, int i, int j) {
    for (; i > 0; --i) {
        p.x = std::nextafter(p.x, HUGE_VAL);
    }
    for (; i < 0; ++i) {
        p.x = std::nextafter(p.x, -HUGE_VAL);
    }
    for (; j > 0; --j) {
        p.y = std::nextafter(p.y, HUGE_VAL);
    }
    for (; j < 0; ++j) {
        p.y = std::nextafter(p.y, -HUGE_VAL);
    }
    return p;
}

// Scales at which products and determinants are ordinary, underflow or overflow.
const double kScales[] = {1.0, 1e-300, 1e300, 1e-160, 1e160, 0x1p-1060, 1e-310, 3.7e-7, 1e15};

struct Tally {
    int compared = 0;
    int wrong = 0;
    std::set<int> signs;  // the answers met, so a run that saw only one sign is noticed

    void Add(int oracle, int filtered, int exactOnly) {
        ++compared;
        wrong += (filtered != oracle) + (exactOnly != oracle);
        signs.insert(oracle);
    }
};

void ExpectOrientAgrees(PlanPoint a, PlanPoint b, PlanPoint c, Tally& tally) {
    const int oracle = exact::ExactOrient(Oracle(a), Oracle(b), Oracle(c));
    const int filtered = geom::Orient(a, b, c);
    const int exactOnly = geom::ExactOrientSign(a, b, c);
    EXPECT_EQ(filtered, oracle) << a.x << ' ' << a.y << ' ' << b.x << ' ' << b.y << ' ' << c.x
                                << ' ' << c.y;
    EXPECT_EQ(exactOnly, oracle);
    // The branch-free filter answers only where it is sure.
    const int certain = geom::OrientIfCertain(a, b, c);
    EXPECT_TRUE(certain == 0 || certain == oracle) << certain << " for " << oracle;
    tally.Add(oracle, filtered, exactOnly);
}

void ExpectInCircleAgrees(PlanPoint a, PlanPoint b, PlanPoint c, PlanPoint d, Tally& tally) {
    const int oracle = exact::ExactInCircle(Oracle(a), Oracle(b), Oracle(c), Oracle(d));
    const int filtered = geom::InCircle(a, b, c, d);
    const int exactOnly = geom::ExactInCircleSign(a, b, c, d);
    EXPECT_EQ(filtered, oracle) << d.x << ' ' << d.y;
    EXPECT_EQ(exactOnly, oracle);
    tally.Add(oracle, filtered, exactOnly);
}

TEST(KernelPredicates, OrientOfNearlyCollinearPointsAtEveryScale) {
    // c a few units in the last place off the line through a and b: the plain evaluation gets
    // many of these wrong.
    const PlanPoint a{0.5, 0.5};
    const PlanPoint b{12.0, 12.0};
    const PlanPoint c{24.0, 24.0};
    for (const double scale : kScales) {
        Tally tally;
        for (int i = -6; i <= 6; ++i) {
            for (int j = -6; j <= 6; ++j) {
                ExpectOrientAgrees(Scaled(a, scale), Scaled(b, scale),
                                   Nudged(Scaled(c, scale), i, j), tally);
                ExpectOrientAgrees(Nudged(Scaled(a, scale), i, j), Scaled(c, scale),
                                   Scaled(b, scale), tally);
            }
        }
        EXPECT_EQ(tally.wrong, 0) << "scale " << scale;
        EXPECT_EQ(tally.signs.size(), 3u) << "scale " << scale;
    }
}

TEST(KernelPredicates, OrientOfPointsOnAndBesideAxisParallelLines) {
    // Three points of one x or one y are collinear; one of them a few units in the last place off
    // that line is not, whichever of the three it is.
    const PlanPoint lines[2][3] = {{{3.0, 1.0}, {3.0, 7.0}, {3.0, 19.0}},
                                   {{1.0, 3.0}, {7.0, 3.0}, {19.0, 3.0}}};
    for (const double scale : kScales) {
        Tally tally;
        for (const auto& line : lines) {
            for (int moved = 0; moved < 3; ++moved) {
                for (int i = -3; i <= 3; ++i) {
                    for (int j = -3; j <= 3; ++j) {
                        PlanPoint p[3] = {Scaled(line[0], scale), Scaled(line[1], scale),
                                          Scaled(line[2], scale)};
                        p[moved] = Nudged(p[moved], i, j);
                        ExpectOrientAgrees(p[0], p[1], p[2], tally);
                        ExpectOrientAgrees(p[2], p[1], p[0], tally);
                    }
                }
            }
        }
        EXPECT_EQ(tally.wrong, 0) << "scale " << scale;
        EXPECT_EQ(tally.signs.size(), 3u) << "scale " << scale;
    }
}

TEST(KernelPredicates, InCircleOfNearlyCocircularPointsAtEveryScale) {
    // d a few units in the last place off the circle through a, b and c, the circle centred
    // away from the origin so that the differences round.
    const PlanPoint a{13.0, 7.0};
    const PlanPoint b{3.0, 17.0};
    const PlanPoint c{-7.0, 7.0};
    const PlanPoint d{3.0, -3.0};
    for (const double scale : kScales) {
        Tally tally;
        for (int i = -4; i <= 4; ++i) {
            for (int j = -4; j <= 4; ++j) {
                ExpectInCircleAgrees(Scaled(a, scale), Scaled(b, scale), Scaled(c, scale),
                                     Nudged(Scaled(d, scale), i, j), tally);
            }
        }
        EXPECT_EQ(tally.wrong, 0) << "scale " << scale;
        // Unless the scaling rounded d's circle away, all three answers occur.
        EXPECT_GE(tally.signs.size(), 2u) << "scale " << scale;
    }
}

TEST(KernelPredicates, SubnormalAndHugeCoordinatesMixed) {
    // Coordinates drawn from every binade, including subnormal numbers, zero and the largest
    // finite doubles, often repeated so that degenerate cases come up.
    std::mt19937_64 random(20261207);
    std::uniform_int_distribution<int> exponent(-1074, 1023);
    std::uniform_int_distribution<int> pick(0, 7);
    std::vector<double> pool = {0.0, std::numeric_limits<double>::denorm_min(),
                                std::numeric_limits<double>::min(),
                                std::numeric_limits<double>::max()};
    for (int k = 0; k < 60; ++k) {
        const double v = std::ldexp(1.0 + (random() % 1024) / 1024.0, exponent(random));
        pool.push_back(random() % 2 ? v : -v);
    }
    const auto coordinate = [&]() { return pool[random() % pool.size()]; };
    Tally orient;
    Tally circle;
    for (int k = 0; k < 4000; ++k) {
        const PlanPoint a{coordinate(), coordinate()};
        const PlanPoint b{coordinate(), coordinate()};
        const PlanPoint c{coordinate(), coordinate()};
        const PlanPoint d{coordinate(), coordinate()};
        // Keep inputs whose differences stay finite: the predicates are exact for those.
        const auto finite = [](PlanPoint p, PlanPoint q) {
            return std::isfinite(p.x - q.x) && std::isfinite(p.y - q.y);
        };
        if (!finite(a, b) || !finite(a, c) || !finite(b, c) || !finite(a, d) || !finite(b, d) ||
            !finite(c, d)) {
            continue;
        }
        ExpectOrientAgrees(a, b, c, orient);
        if (pick(random) == 0) {
            ExpectInCircleAgrees(a, b, c, d, circle);
        }
    }
    EXPECT_EQ(orient.wrong + circle.wrong, 0);
    EXPECT_GT(orient.compared, 1000);
    EXPECT_EQ(orient.signs.size(), 3u);
    EXPECT_EQ(circle.signs.size(), 2u);  // four random points are next to never cocircular
}

TEST(KernelPredicates, PointOnSegmentAndSegmentCrossing) {
    const PlanPoint a{0.1, 0.1};
    const PlanPoint b{0.7, 0.7};
    // 0.3 is not exactly three times 0.1: (0.3, 0.3) is on the line y = x, exactly.
    EXPECT_TRUE(geom::OnSegment(a, b, {0.3, 0.3}));
    EXPECT_TRUE(geom::OnSegment(a, b, a));
    EXPECT_FALSE(geom::OnSegment(a, b, {0.9, 0.9}));  // on the line, past the end
    EXPECT_FALSE(geom::OnSegment(a, b, Nudged({0.3, 0.3}, 0, 1)));

    EXPECT_TRUE(geom::SegmentsCross({0, 0}, {2, 2}, {0, 2}, {2, 0}));
    EXPECT_FALSE(geom::SegmentsCross({0, 0}, {2, 2}, {1, 1}, {2, 0}));  // touches at an end
    EXPECT_FALSE(geom::SegmentsCross({0, 0}, {2, 2}, {1, 1}, {3, 3}));  // overlaps along
    EXPECT_FALSE(geom::SegmentsCross({0, 0}, {2, 2}, {3, 0}, {3, 5}));  // apart
    // Crossings decided by units in the last place: c-d runs across the line y = x one unit
    // before the end of the segment, or one unit past it.
    const PlanPoint far{1e15, 1e15};
    EXPECT_TRUE(geom::SegmentsCross({0, 0}, far, Nudged(far, -2, 0), Nudged(far, 0, -2)));
    EXPECT_FALSE(geom::SegmentsCross({0, 0}, far, Nudged(far, 0, 2), Nudged(far, 2, 0)));
}

}  // namespace
