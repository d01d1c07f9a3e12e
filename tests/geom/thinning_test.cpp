// Thinning to a vertical tolerance: on random, gridded and adversarial clouds (spikes, collinear
// rows, repeated positions, a plane), every point left out lies within the tolerance of the
// result's surface, the plane through its triangle's corners evaluated in long double and, near
// the tolerance, exactly; every point lies in a counter-clockwise triangle of kept corners; a
// plane keeps its corners only.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "checks/exact_predicates.h"
#include "geom/kernel/geometry_error.h"
#include "geom/kernel/predicates.h"
#include "geom/thinning/greedy_thinning.h"
#include "geom/thinning/grid_lattice.h"
#include "geom/thinning/grid_scan.h"
#include "geom/thinning/stream_thinning.h"
#include "geom/thinning/thin_plane.h"

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

// Whether p lies beyond the tolerance from the plane through a, b, c (counter-clockwise): by long
// double, or exactly where long double may round either way.
bool Beyond(const ThinPoint& a, const ThinPoint& b, const ThinPoint& c, const ThinPoint& p,
            double tolerance) {
    const long double distance = std::fabs(p.z - PlaneAt(a, b, c, p));
    const long double near = 1e-9L * (1.0L + std::fabs(p.z) + tolerance);
    if (std::fabs(distance - tolerance) > near) {
        return distance > tolerance;
    }
    const auto exact = [](const ThinPoint& q) { return exact::Point3{q.x, q.y, q.z}; };
    return !exact::ExactWithinVertically(exact(a), exact(b), exact(c), exact(p), tolerance);
}

// Checks the claim of the result: every point not kept lies in a counter-clockwise triangle of
// the surface and within the tolerance of its plane, unless it sits at a kept point's position
// beyond the tolerance (a conflict) or is not `covered` (outside the boundaries): their numbers
// must be the ones reported. Gives the largest distance of a point left out.
template <typename Covered>
long double CheckThinning(const std::vector<ThinPoint>& points, double tolerance,
                          const geom::ThinningResult& result, Covered covered) {
    const geom::ThinSurface& surface = result.surface;
    std::set<std::uint32_t> kept(result.kept.begin(), result.kept.end());
    EXPECT_EQ(kept.size(), result.kept.size()) << "a point kept twice";
    std::set<std::pair<double, double>> keptPositions;
    for (std::size_t v = 0; v < surface.vertices.size(); ++v) {
        keptPositions.insert({surface.vertices[v].x, surface.vertices[v].y});
        if (surface.ids[v] != geom::ThinningTin::kLineVertex) {
            const ThinPoint& p = points.at(surface.ids[v]);
            EXPECT_TRUE(p.x == surface.vertices[v].x && p.y == surface.vertices[v].y);
        }
    }
    for (const auto& t : surface.triangles) {
        EXPECT_EQ(geom::Orient(Plan(surface.vertices[t[0]]), Plan(surface.vertices[t[1]]),
                               Plan(surface.vertices[t[2]])),
                  1);
    }
    // Each triangle checks the points in its box (found by x in a sorted index).
    std::vector<std::uint32_t> byX(points.size());
    for (std::uint32_t i = 0; i < points.size(); ++i) {
        byX[i] = i;
    }
    std::sort(byX.begin(), byX.end(),
              [&](std::uint32_t a, std::uint32_t b) { return points[a].x < points[b].x; });
    std::vector<char> found(points.size(), 0);
    std::vector<char> conflict(points.size(), 0);
    long double worst = 0.0L;
    for (const auto& t : surface.triangles) {
        const ThinPoint& a = surface.vertices[t[0]];
        const ThinPoint& b = surface.vertices[t[1]];
        const ThinPoint& c = surface.vertices[t[2]];
        const double low = std::min({a.x, b.x, c.x});
        const double high = std::max({a.x, b.x, c.x});
        auto it = std::lower_bound(byX.begin(), byX.end(), low,
                                   [&](std::uint32_t k, double x) { return points[k].x < x; });
        for (; it != byX.end() && points[*it].x <= high; ++it) {
            const std::uint32_t i = *it;
            const geom::PlanPoint p = Plan(points[i]);
            if (kept.count(i) || geom::Orient(Plan(a), Plan(b), p) < 0 ||
                geom::Orient(Plan(b), Plan(c), p) < 0 || geom::Orient(Plan(c), Plan(a), p) < 0) {
                continue;
            }
            found[i] = 1;
            const long double distance = std::fabs(points[i].z - PlaneAt(a, b, c, points[i]));
            const bool beyond = Beyond(a, b, c, points[i], tolerance);
            if (beyond && keptPositions.count({points[i].x, points[i].y})) {
                conflict[i] = 1;
                continue;
            }
            worst = std::max(worst, distance);
            EXPECT_FALSE(beyond) << "point " << i << " (" << points[i].x << ", " << points[i].y
                                 << ", " << points[i].z << ")";
        }
    }
    std::uint64_t conflicts = 0;
    std::uint64_t outside = 0;
    for (std::uint32_t i = 0; i < points.size(); ++i) {
        conflicts += conflict[i];
        if (!covered(points[i])) {
            outside += found[i] ? 0 : 1;
            continue;
        }
        EXPECT_TRUE(found[i] || kept.count(i)) << "point " << i << " outside every triangle";
    }
    EXPECT_EQ(conflicts, result.conflicts);
    EXPECT_EQ(outside, result.outside);
    return worst;
}

long double CheckThinning(const std::vector<ThinPoint>& points, double tolerance,
                          const geom::ThinningResult& result) {
    return CheckThinning(points, tolerance, result, [](const ThinPoint&) { return true; });
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
            EXPECT_EQ(result.conflicts, 0u);
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
    // The plane is exact in binary and a point at the tolerance is decided exactly: even
    // tolerance 0 keeps only the corners, on the grid and off it (a corner missing: the general
    // path keeps the five corners of the hull left).
    for (const double tolerance : {0.0, 1e-9}) {
        const geom::ThinningResult flat = geom::ThinToVerticalTolerance(plane, tolerance);
        EXPECT_TRUE(flat.grid);
        CheckThinning(plane, tolerance, flat);
        EXPECT_EQ(flat.kept.size(), 4u);
        EXPECT_EQ(flat.surface.triangles.size(), 2u);
    }
    std::vector<ThinPoint> holed(plane.begin() + 1, plane.end());
    const geom::ThinningResult holedFlat = geom::ThinToVerticalTolerance(holed, 0.0);
    EXPECT_FALSE(holedFlat.grid);
    CheckThinning(holed, 0.0, holedFlat);
    EXPECT_EQ(holedFlat.kept.size(), 5u);

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
    // The spikes' cells repeat: points at a kept position beyond the tolerance are conflicts.
    const geom::ThinningResult result = geom::ThinToVerticalTolerance(spikes, 1.5);
    EXPECT_GT(result.conflicts, 0u);
}

// A volcano-like grid of 87 x 61 cells of 10 m, elevations in whole metres (as R's volcano
// data set comes): a cone with a crater, a ridge and terraces, many points at equal distances.
std::vector<ThinPoint> VolcanoGrid(double x0, double y0) {
    std::vector<ThinPoint> points;
    for (int i = 0; i < 87; ++i) {
        for (int j = 0; j < 61; ++j) {
            const double dx = i - 45.0, dy = j - 28.0;
            const double r2 = dx * dx + dy * dy;
            const double z = 95.0 + 90.0 * std::exp(-r2 / 500.0) - 30.0 * std::exp(-r2 / 30.0) +
                             8.0 * std::sin(i / 5.0) * std::cos(j / 7.0) +
                             (i > 60 ? 12.0 * std::tanh((i - 70.0) / 2.0) : 0.0);
            points.push_back({x0 + i * 10.0, y0 + j * 10.0, std::round(z)});
        }
    }
    return points;
}

TEST(Thinning, AVolcanoGridMeetsEveryTolerance) {
    const std::vector<ThinPoint> volcano = VolcanoGrid(300000.0, 5700000.0);
    std::size_t previous = volcano.size() + 1;
    for (const double tolerance : {0.0, 0.5, 1.0, 2.5, 10.0}) {
        const geom::ThinningResult result = geom::ThinToVerticalTolerance(volcano, tolerance);
        CheckThinning(volcano, tolerance, result);
        EXPECT_LE(result.kept.size(), previous) << tolerance;
        previous = result.kept.size();
    }
    EXPECT_LT(previous, volcano.size() / 10);
}

// A round site: 200000 points on its rim, all hull corners, and two inside. The second one
// inserted lies in a fan of thin triangles round the first and flips about a quarter of them in
// one chain; the thinning must keep every point (each is a corner or beyond the tolerance), not
// run out of stack.
TEST(Thinning, ARoundSiteWithAFanOfThinTrianglesKeepsEveryPoint) {
    const int rim = 200000;
    std::vector<ThinPoint> points;
    for (int k = 0; k < rim; ++k) {
        const double angle = 2.0 * M_PI * k / rim;
        points.push_back(
            {500000.0 + 100.0 * std::cos(angle), 5000000.0 + 100.0 * std::sin(angle), 0.0});
    }
    points.push_back({500000.0, 5000000.0, 10.0});
    points.push_back({500010.0, 5000000.0, 3.0});
    const geom::ThinningResult result = geom::ThinToVerticalTolerance(points, 0.01);
    EXPECT_EQ(result.kept.size(), points.size());
    EXPECT_EQ(result.conflicts, 0u);
    // A triangulation of n vertices, h of them on the hull, has 2 n - h - 2 triangles.
    ASSERT_EQ(result.surface.triangles.size(), points.size());
    for (const auto& t : result.surface.triangles) {
        ASSERT_EQ(
            geom::Orient(Plan(result.surface.vertices[t[0]]), Plan(result.surface.vertices[t[1]]),
                         Plan(result.surface.vertices[t[2]])),
            1);
    }
}

// Read in passes with few points waiting at once, the thinning drops points as they are read
// and reads again until a pass changes nothing: the claim holds all the same, and the surface
// stays about as small as the one thinned with every point waiting.
TEST(Thinning, StreamedInSmallBudgetsTheClaimStillHolds) {
    std::mt19937 random(3);
    std::uniform_real_distribution<double> height(-2.0, 2.0);
    std::vector<ThinPoint> noisyGrid;  // every point on the rim of some triangle, at random z
    for (int i = 0; i < 40; ++i) {
        for (int j = 0; j < 40; ++j) {
            noisyGrid.push_back({i * 1.0, j * 1.0, height(random)});
        }
    }
    std::vector<ThinPoint> repeated = RandomCloud(800, 9, 1000.0);  // every point read twice,
    for (std::size_t i = 0, n = repeated.size(); i < n; ++i) {      // the second time 0.3 higher
        repeated.push_back({repeated[i].x, repeated[i].y, repeated[i].z + 0.3});
    }
    const std::vector<ThinPoint> clouds[] = {RandomCloud(2500, 5, 500000.0), VolcanoGrid(0.0, 0.0),
                                             noisyGrid, repeated};
    for (const std::vector<ThinPoint>& cloud : clouds) {
        for (const double tolerance : {0.05, 0.5}) {
            const geom::ThinningResult whole = geom::ThinToVerticalTolerance(cloud, tolerance);
            EXPECT_EQ(whole.passes, 1);
            // A whole grid is thinned on the grid, which decides nodes at the tolerance exactly
            // and may keep far fewer (whole elevations on a 10 m grid); the streamed general path
            // is held to itself with half the points waiting.
            const std::size_t reference =
                whole.grid
                    ? geom::ThinToVerticalTolerance(cloud, tolerance, cloud.size() / 2).kept.size()
                    : whole.kept.size();
            for (const std::size_t budget : {16u, 300u}) {
                const geom::ThinningResult streamed =
                    geom::ThinToVerticalTolerance(cloud, tolerance, budget);
                CheckThinning(cloud, tolerance, streamed);
                EXPECT_GE(streamed.passes, 3) << budget;
                EXPECT_LE(streamed.kept.size(), reference * 3 / 2 + 10) << budget;
            }
        }
    }
}

// Whether p lies strictly inside the closed polygon (crossing number, decided with Orient).
bool InsidePolygon(const std::vector<ThinPoint>& polygon, const ThinPoint& p) {
    bool inside = false;
    for (std::size_t i = 0, n = polygon.size(); i < n; ++i) {
        const ThinPoint& a = polygon[i];
        const ThinPoint& b = polygon[(i + 1) % n];
        if ((a.y > p.y) != (b.y > p.y)) {
            const int side = geom::Orient(Plan(a), Plan(b), Plan(p));
            inside = inside != (b.y > a.y ? side > 0 : side < 0);
        }
    }
    return inside;
}

// A ridge along x = 50 drawn as a breakline, an outline with a notch and a hole: the surface
// keeps every line as a chain of its edges, stays inside the outline and out of the hole, keeps
// the lines' own elevations, and every survey point it covers lies within the tolerance.
TEST(Thinning, BreaklinesAndBoundariesAreKeptAndTheClaimHoldsWithin) {
    const auto ground = [](double x, double y) {
        return 20.0 - 0.4 * std::fabs(x - 50.0) + 2.0 * std::sin(y / 10.0);
    };
    std::vector<ThinPoint> points = RandomCloud(3000, 21, 0.0);
    for (ThinPoint& p : points) {
        p.z = ground(p.x, p.y) + 0.02 * std::sin(p.x * 7.0 + p.y * 3.0);
    }
    geom::ThinLines lines;
    geom::ThinLine ridge;
    for (int y = -5; y <= 105; y += 10) {
        ridge.vertices.push_back({50.0, static_cast<double>(y), ground(50.0, y)});
    }
    lines.breaklines.push_back(ridge);
    for (const auto& corner : std::vector<std::pair<double, double>>{
             {5, 5}, {95, 5}, {95, 60}, {60, 60}, {60, 95}, {5, 95}}) {
        lines.boundary.vertices.push_back(
            {corner.first, corner.second, ground(corner.first, corner.second)});
    }
    lines.holes.push_back({});
    lines.holes[0].vertices = {{20, 20, 12.5}, {30, 20, 13.0}, {30, 30, 14.0}, {20, 30, 13.5}};
    const auto covered = [&](const ThinPoint& p) {
        return InsidePolygon(lines.boundary.vertices, p) &&
               !InsidePolygon(lines.holes[0].vertices, p);
    };
    std::vector<std::vector<ThinPoint>> segments;  // every line as its chain of segments
    for (const std::vector<ThinPoint>* line :
         {&ridge.vertices, &lines.boundary.vertices, &lines.holes[0].vertices}) {
        segments.push_back(*line);
    }
    for (const bool flat : {false, true}) {
        lines.boundary.flat = flat;
        for (const double tolerance : {0.1, 0.5}) {
            for (const std::size_t budget : {0u, 200u}) {
                const geom::ThinningResult result =
                    geom::ThinToVerticalTolerance(points, tolerance, budget, lines);
                CheckThinning(points, tolerance, result, covered);
                EXPECT_GT(result.outside, 500u);
                const geom::ThinSurface& surface = result.surface;
                for (const auto& t : surface.triangles) {
                    const ThinPoint& a = surface.vertices[t[0]];
                    const ThinPoint& b = surface.vertices[t[1]];
                    const ThinPoint& c = surface.vertices[t[2]];
                    const ThinPoint centre{(a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3, 0};
                    EXPECT_TRUE(covered(centre)) << centre.x << " " << centre.y;
                    for (const auto& line : segments) {
                        for (std::size_t i = 0; i < line.size(); ++i) {
                            const ThinPoint& u = line[i];
                            const ThinPoint& v = line[(i + 1) % line.size()];
                            if (&line == &segments[0] && i + 1 == line.size()) {
                                continue;  // the ridge is open
                            }
                            for (const auto& edge : {std::make_pair(a, b), std::make_pair(b, c),
                                                     std::make_pair(c, a)}) {
                                EXPECT_FALSE(geom::SegmentsCross(
                                    Plan(edge.first), Plan(edge.second), Plan(u), Plan(v)))
                                    << "an edge crosses a line";
                            }
                        }
                    }
                }
                // The lines' vertices within the outline are vertices with their own elevations
                // (the flat outline's take the surface's).
                for (const auto& line : segments) {
                    for (const ThinPoint& v : line) {
                        if (&line == &segments[1] && flat) {
                            continue;
                        }
                        bool onOutline = false;
                        const auto& outline = lines.boundary.vertices;
                        for (std::size_t i = 0; i < outline.size(); ++i) {
                            onOutline =
                                onOutline ||
                                geom::OnSegment(Plan(outline[i]),
                                                Plan(outline[(i + 1) % outline.size()]), Plan(v));
                        }
                        const bool onSurface = covered(v) || onOutline || &line != &segments[0];
                        bool present = false;
                        for (const ThinPoint& w : surface.vertices) {
                            present = present || (w.x == v.x && w.y == v.y && w.z == v.z);
                        }
                        EXPECT_EQ(present, onSurface) << v.x << " " << v.y;
                    }
                }
            }
        }
    }
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

// Every pair of triangles across a shared edge: the far corner not strictly inside the other's
// circle (the surface is Delaunay). Gives the number of edges checked.
std::size_t CheckDelaunay(const geom::ThinSurface& surface) {
    std::map<std::pair<std::uint32_t, std::uint32_t>, std::uint32_t> across;  // edge -> far corner
    for (const auto& t : surface.triangles) {
        for (int k = 0; k < 3; ++k) {
            across[{t[(k + 1) % 3], t[(k + 2) % 3]}] = t[k];
        }
    }
    std::size_t checked = 0;
    for (const auto& t : surface.triangles) {
        for (int k = 0; k < 3; ++k) {
            const auto other = across.find({t[(k + 2) % 3], t[(k + 1) % 3]});
            if (other != across.end()) {
                ++checked;
                EXPECT_LE(geom::InCircle(Plan(surface.vertices[t[0]]), Plan(surface.vertices[t[1]]),
                                         Plan(surface.vertices[t[2]]),
                                         Plan(surface.vertices[other->second])),
                          0);
            }
        }
    }
    return checked;
}

std::vector<ThinPoint> Shuffled(std::vector<ThinPoint> points, unsigned seed) {
    std::mt19937 random(seed);
    std::shuffle(points.begin(), points.end(), random);
    return points;
}

std::set<std::pair<double, double>> KeptPositions(const geom::ThinSurface& surface) {
    std::set<std::pair<double, double>> positions;
    for (const ThinPoint& v : surface.vertices) {
        positions.insert({v.x, v.y});
    }
    return positions;
}

// The grids of the grid path's tests: volcano-like, a flat field with spikes and pits (cells 0.5
// by 2), a wavy 1 m terrain in whole centimetres (cells 2 by 2).
std::vector<std::vector<ThinPoint>> TestGrids() {
    std::mt19937 random(17);
    std::uniform_real_distribution<double> height(-1.0, 1.0);
    std::vector<ThinPoint> spikes;
    std::vector<ThinPoint> terrain;
    for (int j = 0; j < 45; ++j) {
        for (int i = 0; i < 70; ++i) {
            const double r = height(random);
            spikes.push_back(
                {100.0 + i * 0.5, -40.0 + j * 2.0, r > 0.97 ? 30.0 : (r < -0.97 ? -9.0 : 0.0)});
            terrain.push_back({i * 2.0, j * 2.0,
                               std::round(100.0 * (3.0 * std::sin(i / 6.0) * std::cos(j / 4.0) +
                                                   0.2 * height(random))) /
                                   100.0});
        }
    }
    return {VolcanoGrid(300000.0, 5700000.0), spikes, terrain};
}

// Whole regular grids, in any order, are thinned on the grid itself: the claim holds in long
// double, the surface is Delaunay, and the order of the points changes nothing but their numbers.
TEST(Thinning, WholeGridsInAnyOrderAreThinnedOnTheGrid) {
    const std::vector<std::vector<ThinPoint>> grids = TestGrids();
    for (const std::vector<ThinPoint>& grid : grids) {
        for (const double tolerance : {0.0, 0.01, 0.5, 2.0}) {
            const geom::ThinningResult ordered = geom::ThinToVerticalTolerance(grid, tolerance);
            EXPECT_TRUE(ordered.grid);
            CheckThinning(grid, tolerance, ordered);
            EXPECT_GT(CheckDelaunay(ordered.surface), 0u);
            const std::vector<ThinPoint> mixed = Shuffled(grid, 5);
            const geom::ThinningResult shuffled = geom::ThinToVerticalTolerance(mixed, tolerance);
            EXPECT_TRUE(shuffled.grid);
            CheckThinning(mixed, tolerance, shuffled);
            EXPECT_EQ(KeptPositions(shuffled.surface), KeptPositions(ordered.surface));
            EXPECT_EQ(shuffled.surface.triangles.size(), ordered.surface.triangles.size());
            // About as few points as the general path keeps (it thins the grid when streamed).
            const geom::ThinningResult general =
                geom::ThinToVerticalTolerance(grid, tolerance, grid.size() / 2);
            EXPECT_FALSE(general.grid);
            EXPECT_LE(ordered.kept.size(), general.kept.size() * 21 / 20 + 4) << tolerance;
        }
    }
    // A plane on a grid keeps its four corners, in two triangles.
    std::vector<ThinPoint> plane;
    for (int j = 0; j < 30; ++j) {
        for (int i = 0; i < 20; ++i) {
            plane.push_back({i * 0.25, j * 0.25, 1.0 + i * 0.5 - j * 0.25});
        }
    }
    const geom::ThinningResult flat = geom::ThinToVerticalTolerance(Shuffled(plane, 2), 1e-9);
    EXPECT_TRUE(flat.grid);
    EXPECT_EQ(flat.kept.size(), 4u);
    EXPECT_EQ(flat.surface.triangles.size(), 2u);
}

// A node exactly at the tolerance from the surface is within it and left out; just below that
// tolerance it is kept: on the grid, and off it (a node missing: the general path). A tilted
// plane exact in binary at survey coordinates with one node raised 0.375, and a flat field with
// one node at 0.1 (the same double as the tolerance).
TEST(Thinning, ANodeAtTheToleranceIsLeftOut) {
    const auto field = [](double lift, double base, double tilt) {
        std::vector<ThinPoint> points;
        for (int j = 0; j < 9; ++j) {
            for (int i = 0; i < 9; ++i) {
                const double z = base + tilt * (0.5 * i - 0.25 * j);
                points.push_back(
                    {300000.0 + 2.0 * i, 5700000.0 + 2.0 * j, i == 4 && j == 4 ? z + lift : z});
            }
        }
        return points;
    };
    for (const auto& [grid, tolerance] : {std::make_pair(field(0.375, 100.25, 1.0), 0.375),
                                          std::make_pair(field(0.1, 0.0, 0.0), 0.1)}) {
        for (const bool whole : {true, false}) {
            std::vector<ThinPoint> points = grid;
            if (!whole) {
                points.erase(points.begin() + 6 * 9 + 2);  // after the raised node: its index stays
            }
            const geom::ThinningResult at = geom::ThinToVerticalTolerance(points, tolerance);
            EXPECT_EQ(at.grid, whole);
            CheckThinning(points, tolerance, at);
            EXPECT_EQ(at.kept.size(), 4u) << tolerance;
            const double below = std::nextafter(tolerance, 0.0);
            const geom::ThinningResult under = geom::ThinToVerticalTolerance(points, below);
            CheckThinning(points, below, under);
            EXPECT_EQ(under.kept.size(), 5u) << tolerance;
            EXPECT_EQ(std::count(under.kept.begin(), under.kept.end(), 4u * 9u + 4u), 1)
                << tolerance;
        }
    }
}

// A point repeating a kept point's position is within when its elevation is at most the tolerance
// from the kept one's, exactly: here the rounded difference of the two comes out at the tolerance
// while the true one lies a hair beyond it (a conflict) or a hair within (left out).
TEST(Thinning, ARepeatAHairBeyondTheToleranceIsAConflictOneAHairWithinIsLeftOut) {
    const double hair = std::ldexp(1.0, -60);  // far below half an ulp of 0.1
    for (const double sign : {-1.0, 1.0}) {
        std::vector<ThinPoint> points{{0.0, 0.0, sign * hair}, {10.0, 0.0, 0.0}, {0.0, 10.0, 0.0},
                                      {10.0, 10.0, 0.0},       {5.0, 4.0, 0.0},  {0.0, 0.0, 0.1}};
        const geom::ThinningResult result = geom::ThinToVerticalTolerance(points, 0.1);
        CheckThinning(points, 0.1, result);
        EXPECT_EQ(result.conflicts, sign < 0.0 ? 1u : 0u) << sign;
    }
}

// Points that are not a whole regular grid take the general path, with the same claim: a node
// missing, a node twice, a column a little off, a spacing that is not exact in binary, lines.
TEST(Thinning, AlmostGridsTakeTheGeneralPath) {
    const std::vector<ThinPoint> volcano = VolcanoGrid(0.0, 0.0);
    std::vector<ThinPoint> missing = volcano;
    missing.erase(missing.begin() + 1000);
    std::vector<ThinPoint> twice = volcano;
    twice[1000] = twice[1001];
    std::vector<ThinPoint> off = volcano;
    for (ThinPoint& p : off) {
        p.x = p.x == 200.0 ? 200.0000001 : p.x;
    }
    std::vector<ThinPoint> decimal;  // 0.1 steps from 1000.3: not exactly even in binary
    for (int j = 0; j < 30; ++j) {
        for (int i = 0; i < 30; ++i) {
            decimal.push_back(
                {1000.3 + i * 0.1, 7.0 + j * 0.1, std::sin(i / 3.0) + std::cos(j / 4.0)});
        }
    }
    for (const std::vector<ThinPoint>* cloud : {&missing, &twice, &off, &decimal}) {
        const geom::ThinningResult result = geom::ThinToVerticalTolerance(*cloud, 0.5);
        EXPECT_FALSE(result.grid);
        CheckThinning(*cloud, 0.5, result);
    }
    EXPECT_TRUE(geom::ThinToVerticalTolerance(volcano, 0.5).grid);
    geom::ThinLines lines;
    lines.breaklines.push_back({{{100.0, 100.0, 120.0}, {500.0, 400.0, 150.0}}, false});
    EXPECT_FALSE(geom::ThinToVerticalTolerance(volcano, 0.5, 0, lines).grid);
    // A grid with an elevation that is not a number is refused, as any cloud is.
    std::vector<ThinPoint> bad = volcano;
    bad[77].z = NAN;
    EXPECT_THROW(geom::ThinToVerticalTolerance(bad, 0.5), geom::GeometryError);
}

// Streamed from a reader (as the point-file functions read), a whole grid is thinned on the grid
// in one reading.
TEST(Thinning, AStreamedGridIsReadOnce) {
    const std::vector<ThinPoint> grid = Shuffled(VolcanoGrid(0.0, 0.0), 9);
    int readings = 0;
    geom::ThinOptions options;
    options.tolerance = 1.0;
    const geom::ThinStreamResult result = geom::ThinStream(
        [&](const geom::ThinPointSink& sink) {
            ++readings;
            for (const ThinPoint& p : grid) {
                sink(p.x, p.y, p.z);
            }
            return true;
        },
        options);
    EXPECT_EQ(readings, 1);
    EXPECT_TRUE(result.grid);
    EXPECT_EQ(result.read, grid.size());
    geom::ThinningResult asResult;
    asResult.surface = result.surface;
    asResult.kept = result.surface.ids;
    EXPECT_EQ(result.kept, asResult.kept.size());
    CheckThinning(grid, 1.0, asResult);
}

// The farthest node of a grid triangle, as a full scan of every node finds it: of the nodes of the
// closed triangle (corners left out) that lie beyond the tolerance, decided exactly, the one
// farthest from the corners' plane by ThinPlane::Distance, the first row by row of equal ones.
geom::GridFarthest FarthestByFullScan(const geom::GridLattice& grid, const geom::GridNode (&c)[3],
                                      double tolerance) {
    const auto point = [&](const geom::GridNode& n) {
        return grid.Node(static_cast<std::uint32_t>(n.i), static_cast<std::uint32_t>(n.j));
    };
    const geom::ThinPlane plane(point(c[0]), point(c[1]), point(c[2]));
    geom::GridFarthest best;
    double farthest = -1.0;
    for (std::int64_t j = 0; j < grid.rows; ++j) {
        for (std::int64_t i = 0; i < grid.columns; ++i) {
            bool inside = true;
            for (int k = 0; k < 3; ++k) {
                const geom::GridNode& p = c[k];
                const geom::GridNode& q = c[(k + 1) % 3];
                inside = inside && (q.i - p.i) * (j - p.j) - (q.j - p.j) * (i - p.i) >= 0;
                inside = inside && !(p.i == i && p.j == j);
            }
            if (!inside) {
                continue;
            }
            const ThinPoint p = point({i, j, {}});
            const double d = plane.Distance(p);
            if (d > farthest && Beyond(point(c[0]), point(c[1]), point(c[2]), p, tolerance)) {
                farthest = d;
                best.node = static_cast<std::uint32_t>(j * grid.columns + i);
            }
        }
    }
    best.distance = best.node != geom::GridFarthest::kNoNode ? farthest : 0.0;
    return best;
}

// The grid path's scan reads only the tiles that may hold the farthest node: on random triangles
// (large, thin, along rows and columns) and on the triangles of thinned surfaces, it finds the
// node and distance a full scan finds, or no node when none lies beyond the tolerance.
TEST(Thinning, TheGridScanFindsTheFarthestNodeAsAFullScanDoes) {
    std::mt19937 random(23);
    int beyond = 0, within = 0;
    // Besides the test grids, planes: their distances are all rounding, equal or nearly so, and
    // the bounds' allowance for rounding decides which node comes first.
    std::vector<std::vector<ThinPoint>> grids = TestGrids();
    grids.emplace_back();
    grids.emplace_back();
    for (int j = 0; j < 40; ++j) {
        for (int i = 0; i < 50; ++i) {
            grids[grids.size() - 2].push_back({i * 0.25, j * 0.25, 1.0 + i * 0.5 - j * 0.25});
            grids.back().push_back({5000.0 + i, 7000.0 + j, 1000.3 + i * 0.01 - j * 0.07});
        }
    }
    for (const std::vector<ThinPoint>& points : grids) {
        geom::GridLattice grid;
        ASSERT_TRUE(geom::FindGridLattice(points, grid));
        std::vector<std::array<geom::GridNode, 3>> triangles;
        std::uniform_int_distribution<std::int64_t> column(0, grid.columns - 1);
        std::uniform_int_distribution<std::int64_t> row(0, grid.rows - 1);
        std::uniform_int_distribution<std::int64_t> step(-9, 9);
        while (triangles.size() < 300) {
            geom::GridNode a{column(random), row(random), {}}, b, c;
            if (triangles.size() % 2 == 0) {  // anywhere on the grid
                b = {column(random), row(random), {}};
                c = {column(random), row(random), {}};
            } else {  // small, often thin or along a row or column
                b = {a.i + step(random), a.j + step(random) / 3, {}};
                c = {a.i + step(random) / 3, a.j + step(random), {}};
            }
            const std::int64_t orient = (b.i - a.i) * (c.j - a.j) - (b.j - a.j) * (c.i - a.i);
            const auto on = [&](const geom::GridNode& n) {
                return n.i >= 0 && n.j >= 0 && n.i < grid.columns && n.j < grid.rows;
            };
            if (orient != 0 && on(b) && on(c)) {
                triangles.push_back(orient > 0 ? std::array<geom::GridNode, 3>{a, b, c}
                                               : std::array<geom::GridNode, 3>{a, c, b});
            }
        }
        const geom::ThinningResult thinned = geom::ThinToVerticalTolerance(points, 2.0);
        for (const auto& t : thinned.surface.triangles) {
            std::array<geom::GridNode, 3> corners;
            for (int k = 0; k < 3; ++k) {
                const ThinPoint& p = thinned.surface.vertices[t[k]];
                corners[k].i =
                    std::lower_bound(grid.xs.begin(), grid.xs.end(), p.x) - grid.xs.begin();
                corners[k].j =
                    std::lower_bound(grid.ys.begin(), grid.ys.end(), p.y) - grid.ys.begin();
            }
            triangles.push_back(corners);
        }
        for (const double tolerance : {0.0, 0.01, 0.5, 2.0}) {
            // Every triangle read through the tiles' bounds (the smallest over their box), and as
            // the thinning reads them.
            const geom::GridScan bounded(grid, tolerance, 0), scan(grid, tolerance);
            for (const auto& t : triangles) {
                geom::GridNode corners[3] = {t[0], t[1], t[2]};
                for (geom::GridNode& c : corners) {
                    c.p =
                        grid.Node(static_cast<std::uint32_t>(c.i), static_cast<std::uint32_t>(c.j));
                }
                const auto farthest = [&](const geom::GridScan& scan) {
                    return scan.Farthest(corners[0], corners[1], corners[2]);
                };
                const geom::GridFarthest expected = FarthestByFullScan(grid, corners, tolerance);
                const geom::GridFarthest found = farthest(bounded);
                EXPECT_EQ(found.node, expected.node)
                    << "(" << t[0].i << " " << t[0].j << ") (" << t[1].i << " " << t[1].j << ") ("
                    << t[2].i << " " << t[2].j << ") at " << tolerance;
                const geom::GridFarthest read = farthest(scan);
                EXPECT_EQ(read.node, expected.node);
                if (expected.node != geom::GridFarthest::kNoNode) {
                    EXPECT_EQ(found.distance, expected.distance);
                    EXPECT_EQ(read.distance, expected.distance);
                    ++beyond;
                    // At the farthest distance (which includes the allowance for rounding) the
                    // tolerance holds the triangle; just below it, where the exact decisions
                    // come in, the scan agrees with the full scan.
                    if (beyond % 16 == 0) {
                        const double d = expected.distance, under = std::nextafter(d, 0.0);
                        const geom::GridScan at(grid, d, 0), below(grid, under, 0);
                        EXPECT_EQ(farthest(at).node, geom::GridFarthest::kNoNode);
                        EXPECT_EQ(farthest(below).node,
                                  FarthestByFullScan(grid, corners, under).node);
                    }
                } else {
                    ++within;
                }
            }
        }
    }
    // Both outcomes are common, so the comparison covers both.
    EXPECT_GT(beyond, 1000);
    EXPECT_GT(within, 1000);
}

}  // namespace
