// Thinning to a vertical tolerance: on random, gridded and adversarial clouds (spikes, collinear
// rows, repeated positions, a plane), every point left out lies within the tolerance of the
// result's surface, the plane through its triangle's corners evaluated in long double; every
// point lies in a counter-clockwise triangle of kept corners; a plane keeps its corners only.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <vector>

#include "geom/kernel/geometry_error.h"
#include "geom/kernel/predicates.h"
#include "geom/thinning/greedy_thinning.h"

namespace {

using geom::ThinPoint;

geom::PlanPoint Plan(const ThinPoint& p) {
    return geom::PlanPoint{p.x, p.y};
}

// Twice the area of a counter-clockwise triangle, in long double.
long double DoubleArea(const ThinPoint& a, const ThinPoint& b, const ThinPoint& c) {
    return (static_cast<long double>(b.x) - a.x) * (static_cast<long double>(c.y) - a.y) -
           (static_cast<long double>(b.y) - a.y) * (static_cast<long double>(c.x) - a.x);
}

long double PlaneAt(const ThinPoint& a, const ThinPoint& b, const ThinPoint& c,
                    const ThinPoint& p) {
    const long double d = DoubleArea(a, b, c);
    const long double wb = DoubleArea(a, p, c) / d;
    const long double wc = DoubleArea(a, b, p) / d;
    return a.z + wb * (static_cast<long double>(b.z) - a.z) +
           wc * (static_cast<long double>(c.z) - a.z);
}

// Checks the claim of the result; gives the largest distance of a point left out.
long double CheckThinning(const std::vector<ThinPoint>& points, double tolerance,
                          const geom::ThinningResult& result) {
    std::set<std::uint32_t> kept(result.kept.begin(), result.kept.end());
    EXPECT_EQ(kept.size(), result.kept.size()) << "a point kept twice";
    for (const auto& t : result.triangles) {
        for (const std::uint32_t v : t) {
            EXPECT_TRUE(kept.count(v)) << "a triangle corner that is not kept";
        }
        EXPECT_EQ(geom::Orient(Plan(points[t[0]]), Plan(points[t[1]]), Plan(points[t[2]])), 1);
    }
    long double worst = 0.0L;
    for (std::uint32_t i = 0; i < points.size(); ++i) {
        if (kept.count(i) ||
            std::binary_search(result.conflicts.begin(), result.conflicts.end(), i)) {
            continue;
        }
        bool found = false;
        for (const auto& t : result.triangles) {
            const ThinPoint& a = points[t[0]];
            const ThinPoint& b = points[t[1]];
            const ThinPoint& c = points[t[2]];
            const geom::PlanPoint p = Plan(points[i]);
            if (geom::Orient(Plan(a), Plan(b), p) >= 0 && geom::Orient(Plan(b), Plan(c), p) >= 0 &&
                geom::Orient(Plan(c), Plan(a), p) >= 0) {
                found = true;
                const long double distance = std::fabs(points[i].z - PlaneAt(a, b, c, points[i]));
                worst = std::max(worst, distance);
                EXPECT_LE(distance, static_cast<long double>(tolerance))
                    << "point " << i << " (" << points[i].x << ", " << points[i].y << ", "
                    << points[i].z << ")";
            }
        }
        EXPECT_TRUE(found) << "point " << i << " outside every triangle";
    }
    return worst;
}

std::vector<ThinPoint> RandomCloud(int count, unsigned seed, double offset) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> position(0.0, 100.0);
    std::normal_distribution<double> noise(0.0, 0.05);
    std::vector<ThinPoint> points;
    for (int i = 0; i < count; ++i) {
        const double x = position(random);
        const double y = position(random);
        points.push_back({offset + x, offset + y,
                          20.0 + 5.0 * std::sin(x / 9.0) * std::cos(y / 13.0) + noise(random)});
    }
    return points;
}

TEST(Thinning, RandomCloudsMeetEveryToleranceAndKeepFewerForLooserOnes) {
    for (const double offset : {0.0, 500000.0}) {
        const std::vector<ThinPoint> points = RandomCloud(1500, 7, offset);
        std::size_t previous = points.size() + 1;
        for (const double tolerance : {0.0, 0.01, 0.1, 0.5, 2.0, 100.0}) {
            const geom::ThinningResult result = geom::ThinToVerticalTolerance(points, tolerance);
            CheckThinning(points, tolerance, result);
            EXPECT_LE(result.kept.size(), previous) << tolerance;
            previous = result.kept.size();
            EXPECT_TRUE(result.conflicts.empty());
        }
        // A tolerance above the whole relief keeps the hull corners only.
        EXPECT_LT(previous, 30u);
    }
}

TEST(Thinning, APlaneKeepsItsCornersAndAGridItsShape) {
    std::vector<ThinPoint> plane;
    for (int i = 0; i <= 40; ++i) {
        for (int j = 0; j <= 40; ++j) {
            plane.push_back({i * 0.5, j * 0.5, 3.0 + 0.25 * i - 0.125 * j});
        }
    }
    // Tolerance 0 keeps a point unless floating point shows it on the surface: rounding keeps
    // the plane's points; the smallest tolerance above the rounding keeps the corners.
    EXPECT_EQ(geom::ThinToVerticalTolerance(plane, 0.0).kept.size(), plane.size());
    const geom::ThinningResult flat = geom::ThinToVerticalTolerance(plane, 1e-9);
    CheckThinning(plane, 1e-9, flat);
    EXPECT_EQ(flat.kept.size(), 4u);
    EXPECT_EQ(flat.triangles.size(), 2u);

    // A cone on the grid: a peak the surface must reach.
    std::vector<ThinPoint> cone = plane;
    for (ThinPoint& p : cone) {
        p.z = 10.0 - std::hypot(p.x - 10.0, p.y - 10.0);
    }
    for (const double tolerance : {0.05, 0.3}) {
        const geom::ThinningResult result = geom::ThinToVerticalTolerance(cone, tolerance);
        CheckThinning(cone, tolerance, result);
        EXPECT_LT(result.kept.size(), cone.size() / 2) << tolerance;
    }
}

TEST(Thinning, SpikesRowsAndRepeatedPositionsKeepTheClaim) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> cell(0, 30);
    std::uniform_real_distribution<double> height(-1.0, 1.0);
    // Collinear rows: every point on one of five lines x = const, plus two far corners.
    std::vector<ThinPoint> rows;
    for (int r = 0; r < 5; ++r) {
        for (int k = 0; k < 60; ++k) {
            rows.push_back({r * 7.0, k * 0.5, height(random)});
        }
    }
    // Spikes on a flat field.
    std::vector<ThinPoint> spikes;
    for (int i = 0; i < 400; ++i) {
        spikes.push_back({static_cast<double>(cell(random)), static_cast<double>(cell(random)),
                          i % 37 == 0 ? 50.0 : (i % 41 == 0 ? -80.0 : 0.0)});
    }
    for (const double tolerance : {0.0, 0.2, 1.5}) {
        for (const std::vector<ThinPoint>* cloud : {&rows, &spikes}) {
            const geom::ThinningResult result = geom::ThinToVerticalTolerance(*cloud, tolerance);
            CheckThinning(*cloud, tolerance, result);
        }
    }
    // The spikes' cells repeat: later points at a kept position are conflicts exactly when they
    // differ from the first there by more than the tolerance.
    const geom::ThinningResult result = geom::ThinToVerticalTolerance(spikes, 1.5);
    std::vector<std::uint32_t> expected;
    for (std::uint32_t i = 0; i < spikes.size(); ++i) {
        for (std::uint32_t j = 0; j < i; ++j) {
            if (spikes[j].x == spikes[i].x && spikes[j].y == spikes[i].y) {
                if (std::fabs(spikes[j].z - spikes[i].z) > 1.5) {
                    expected.push_back(i);
                }
                break;
            }
        }
    }
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(result.conflicts, expected);
}

TEST(Thinning, RefusesWhatCannotMakeASurface) {
    const std::vector<ThinPoint> line = {{0, 0, 1}, {1, 1, 2}, {2, 2, 3}, {1, 1, 5}};
    const std::vector<ThinPoint> good = {{0, 0, 1}, {1, 0, 2}, {0, 1, 3}};
    const std::vector<ThinPoint> bad = {{0, 0, 1}, {1, 0, NAN}, {0, 1, 3}};
    const auto refusal = [](const std::vector<ThinPoint>& points, double tolerance) {
        try {
            geom::ThinToVerticalTolerance(points, tolerance);
        } catch (const geom::GeometryError& error) {
            return std::string(error.what());
        }
        return std::string("accepted");
    };
    EXPECT_EQ(refusal(line, 1.0), "The points to thin do not span an area!\n");
    EXPECT_EQ(refusal(good, -1.0),
              "Thinning needs finite coordinates and a tolerance of 0 or more!\n");
    EXPECT_EQ(refusal(good, INFINITY),
              "Thinning needs finite coordinates and a tolerance of 0 or more!\n");
    EXPECT_EQ(refusal(bad, 1.0),
              "Thinning needs finite coordinates and a tolerance of 0 or more!\n");
    EXPECT_EQ(refusal(good, 0.0), "accepted");
}

}  // namespace
