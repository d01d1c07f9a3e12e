// Profiles along a line: on random surfaces every point lies on the surface, stations increase,
// the profile is linear between its points (so no edge crossing is missing) and gaps are where
// the line is off the surface; known answers on a grid, a plane and a surface with a hole.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "geom/surface/trace_profile.h"
#include "surface_test_support.h"

namespace {

using geom::PlanPoint;
using geom::ProfileRun;

std::vector<ProfileRun> Profile(const geom::WeldedSurface& surface,
                                const std::vector<PlanPoint>& line, double interval = 0.0,
                                double start = 0.0) {
    std::vector<ProfileRun> runs;
    EXPECT_EQ(geom::TraceProfile(surface, line, {start, interval}, runs), geom::SurfaceStatus::Ok);
    return runs;
}

// The plan position at a station along the line (measured from 0 at its first vertex).
PlanPoint AtStation(const std::vector<PlanPoint>& line, double station) {
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        const double length = std::hypot(line[i + 1].x - line[i].x, line[i + 1].y - line[i].y);
        if (station <= length || i + 2 == line.size()) {
            const double t = length > 0 ? station / length : 0.0;
            return {line[i].x + t * (line[i + 1].x - line[i].x),
                    line[i].y + t * (line[i + 1].y - line[i].y)};
        }
        station -= length;
    }
    return line.front();
}

// Every point on the surface and where its station puts it; stations strictly increasing; the
// surface linear between consecutive points of a run (a missing crossing would break it), and
// off the surface in every gap.
// Elevations are compared within `tolerance`.
void ExpectProfileOf(const geom::WeldedSurface& surface, const std::vector<PlanPoint>& line,
                     const std::vector<ProfileRun>& runs, double tolerance = 1e-9) {
    double last = -INFINITY;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        const std::vector<geom::ProfilePoint>& points = runs[r].points;
        ASSERT_FALSE(points.empty());
        for (std::size_t i = 0; i < points.size(); ++i) {
            const geom::ProfilePoint& p = points[i];
            EXPECT_GT(p.station, last);
            last = p.station;
            const PlanPoint at = AtStation(line, p.station);
            EXPECT_NEAR(at.x, p.x, 1e-9);
            EXPECT_NEAR(at.y, p.y, 1e-9);
            double z = 0;
            ASSERT_TRUE(surfacetest::HeightAt(surface, p.x, p.y, z)) << p.x << " " << p.y;
            EXPECT_NEAR(z, p.z, tolerance);
            if (i == 0) {
                continue;
            }
            for (const double f : {0.25, 0.5, 0.75}) {
                const PlanPoint q =
                    AtStation(line, points[i - 1].station * (1 - f) + p.station * f);
                ASSERT_TRUE(surfacetest::HeightAt(surface, q.x, q.y, z));
                EXPECT_NEAR(z, points[i - 1].z * (1 - f) + p.z * f, tolerance)
                    << "between stations " << points[i - 1].station << " and " << p.station;
            }
        }
        if (r > 0) {
            const PlanPoint gap =
                AtStation(line, (runs[r - 1].points.back().station + points.front().station) / 2);
            double z = 0;
            EXPECT_FALSE(surfacetest::HeightAt(surface, gap.x, gap.y, z));
        }
    }
}

// A row of cells cut by their rising diagonals, crossed along y = 0.5 from x = -1 to x = 5: one
// run from x = 0 to x = 4 with a point on every vertical edge and every diagonal, stations from
// the line's start.
TEST(Profiles, CrossesEveryEdgeOfAGrid) {
    const geom::WeldedSurface grid =
        surfacetest::Weld({surfacetest::Grid(4, 1, [](int i, int j) { return 10.0 * i + j; })});
    const std::vector<ProfileRun> runs = Profile(grid, {{-1, 0.5}, {5, 0.5}});
    ASSERT_EQ(runs.size(), 1u);
    ASSERT_EQ(runs[0].points.size(), 9u);
    for (std::size_t i = 0; i < 9; ++i) {
        EXPECT_DOUBLE_EQ(runs[0].points[i].station, 1.0 + 0.5 * i);
        EXPECT_DOUBLE_EQ(runs[0].points[i].z, 10.0 * 0.5 * i + 0.5);
    }
}

// On a plane the profile is the plane: every point, the line's vertices and the regular
// stations included, at its exact elevation.
TEST(Profiles, AreExactOnAPlane) {
    const auto plane = [](double x, double y) { return 2 * x - 3 * y + 5; };
    const geom::WeldedSurface surface =
        surfacetest::Weld({surfacetest::RandomSurface(3, 200, 0, 0, 20, 20, plane)});
    const std::vector<PlanPoint> line = {{1, 1}, {19, 7}, {4, 18}};
    const std::vector<ProfileRun> runs = Profile(surface, line, 1.0);
    ASSERT_EQ(runs.size(), 1u);
    int whole = 0;
    for (const geom::ProfilePoint& p : runs[0].points) {
        EXPECT_NEAR(p.z, plane(p.x, p.y), 1e-12);
        whole += p.station == std::floor(p.station) ? 1 : 0;
    }
    const double length = std::hypot(18, 6) + std::hypot(15, 11);
    EXPECT_EQ(whole, static_cast<int>(std::floor(length)) + 1);
    EXPECT_EQ(runs[0].points.front().station, 0.0);
    EXPECT_NEAR(runs[0].points.back().station, length, 1e-12);
    ExpectProfileOf(surface, line, runs);
}

// A line across a hole and out of the surface and back: a run per stretch on the surface.
TEST(Profiles, BreakWhereTheLineLeavesTheSurface) {
    const geom::SurfaceMesh holed = surfacetest::HoledGrid(6, [](int i, int j) { return i * j; });
    const geom::WeldedSurface surface = surfacetest::Weld({holed});
    const std::vector<PlanPoint> line = {{0.5, 3.5}, {8, 3.5}, {8, 2.5}, {0.25, 2.5}};
    const std::vector<ProfileRun> runs = Profile(surface, line);
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_DOUBLE_EQ(runs[0].points.back().x, 2.0);
    EXPECT_DOUBLE_EQ(runs[1].points.front().x, 4.0);
    EXPECT_DOUBLE_EQ(runs[1].points.back().x, 6.0);
    EXPECT_DOUBLE_EQ(runs[2].points.front().x, 6.0);
    EXPECT_DOUBLE_EQ(runs[2].points.front().station, 7.5 + 1 + 2);
    EXPECT_DOUBLE_EQ(runs[3].points.back().x, 0.25);
    ExpectProfileOf(surface, line, runs);
}

// Random lines, partly off the surface, some through its vertices, over random surfaces.
TEST(Profiles, LieOnRandomSurfaces) {
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> u(-3.0, 13.0);
    for (int seed = 0; seed < 20; ++seed) {
        const geom::SurfaceMesh mesh =
            surfacetest::RandomSurface(100 + seed, 150, 0, 0, 10, 10, {});
        const geom::WeldedSurface surface = surfacetest::Weld({mesh});
        std::vector<PlanPoint> line;
        for (int i = 0; i < 6; ++i) {
            if (i % 3 == 2) {
                const geom::CVertex& v = mesh.vertices[random() % mesh.vertices.size()];
                line.push_back({v.x, v.y});  // through a vertex of the surface
            } else {
                line.push_back({u(random), u(random)});
            }
        }
        line.push_back(line.back());  // a repeated vertex is skipped
        const std::vector<ProfileRun> runs = Profile(surface, line, 0.7);
        ASSERT_FALSE(runs.empty());
        ExpectProfileOf(surface, line, runs);
    }
}

// Far from the origin (survey coordinates) the crossings keep their places: within what a
// position's rounding (1e-9 at 5,800,000) makes of the steepest slopes (about 10).
TEST(Profiles, KeepTheirPrecisionInSurveyCoordinates) {
    const geom::WeldedSurface surface = surfacetest::Weld({surfacetest::RandomSurface(
        5, 300, 350000, 5800000, 350100, 5800100, [](double x, double y) {
            return std::sin((x - 350000) / 7) + std::cos((y - 5800000) / 9);
        })});
    const std::vector<PlanPoint> line = {{349990, 5800010}, {350110, 5800090}};
    ExpectProfileOf(surface, line, Profile(surface, line), 2e-8);
}

}  // namespace
