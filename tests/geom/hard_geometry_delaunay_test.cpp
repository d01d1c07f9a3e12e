// CDelaunay on the hard point sets (hard_geometry_sets.h) and on points on one circle: nothing
// thrown, no crash or hang, and a valid piece of the Delaunay triangulation (checked exactly),
// whatever the scale of the data or how many points share a circle.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "checks/hard_geometry_checks.h"
#include "delaunay_validity.h"
#include "geom/incremental/delaunay.h"
#include "hard_geometry_sets.h"

namespace {

std::vector<geom::CTriangle> Triangulate(const hardgeom::Points& points,
                                         std::vector<geom::CVertex>* sorted = nullptr) {
    geom::CDelaunay engine;
    for (const geom::CVertex& p : points) {
        engine.AddPoint(p.x, p.y, p.z);
    }
    std::vector<geom::CTriangle> triangles = engine.Triangulate();
    if (sorted != nullptr) {
        sorted->assign(engine.PointStore().begin(), engine.PointStore().begin() + points.size());
    }
    return triangles;
}

// The triangles are a valid piece of the Delaunay triangulation (checked exactly).
void ExpectValid(const std::string& name, const hardgeom::Points& points) {
    SCOPED_TRACE(name);
    std::vector<geom::CVertex> sorted;
    std::vector<geom::CTriangle> triangles;
    ASSERT_NO_THROW(triangles = Triangulate(points, &sorted));
    const hardgeom::MeshFaults faults = delaunay_validity::IncrementalFaults(sorted, triangles);
    EXPECT_TRUE(faults.Valid()) << faults;
}

// The triangles as sets of input positions, for comparing runs over the same points.
std::vector<std::array<double, 6>> Shapes(const std::vector<geom::CTriangle>& triangles,
                                          double scale) {
    std::vector<std::array<double, 6>> shapes;
    for (const geom::CTriangle& t : triangles) {
        std::array<std::pair<double, double>, 3> c{{{t.p1.x * scale, t.p1.y * scale},
                                                    {t.p2.x * scale, t.p2.y * scale},
                                                    {t.p3.x * scale, t.p3.y * scale}}};
        std::sort(c.begin(), c.end());
        shapes.push_back(
            {c[0].first, c[0].second, c[1].first, c[1].second, c[2].first, c[2].second});
    }
    std::sort(shapes.begin(), shapes.end());
    return shapes;
}

// The same points times a power of two give the same triangles: the decisions do not depend on
// the scale of the data.
void ExpectScaleFree(const std::string& name, const hardgeom::Points& points, int exponent) {
    SCOPED_TRACE(name);
    hardgeom::Points scaled;
    for (const geom::CVertex& p : points) {
        scaled.emplace_back(std::ldexp(p.x, exponent), std::ldexp(p.y, exponent), p.z);
    }
    const std::vector<geom::CTriangle> original = Triangulate(points);
    EXPECT_FALSE(original.empty());
    EXPECT_EQ(Shapes(original, std::ldexp(1.0, exponent)), Shapes(Triangulate(scaled), 1.0));
}

// The area of a polygon given in order, from positions relative to (cx, cy).
double PolygonArea(const hardgeom::Points& ring, double cx, double cy) {
    double area = 0.0;
    for (std::size_t k = 0; k < ring.size(); ++k) {
        const geom::CVertex& a = ring[k];
        const geom::CVertex& b = ring[(k + 1) % ring.size()];
        area += 0.5 * ((a.x - cx) * (b.y - cy) - (b.x - cx) * (a.y - cy));
    }
    return area;
}

class DelaunayOnHardSets : public testing::TestWithParam<hardgeom::HardSet> {};

TEST_P(DelaunayOnHardSets, GivesAValidPieceOfTheDelaunayTriangulation) {
    ExpectValid(GetParam().name, GetParam().make());
}

INSTANTIATE_TEST_SUITE_P(HardSets, DelaunayOnHardSets, testing::ValuesIn(hardgeom::HardSets()),
                         [](const testing::TestParamInfo<hardgeom::HardSet>& info) {
                             return std::string(info.param.name);
                         });

// Points on one circle, exactly or within rounding: the walk's circle test took in triangles
// whose circle merely passes through the point and returned about n * n / 10 overlapping
// triangles. The polygon has n - 2 triangles, covering it once.
TEST(HardGeometryDelaunay, PointsOnOneCircle) {
    std::vector<geom::CVertex> sorted;
    for (const int n : {5, 6, 7, 12, 50, 333, 2000}) {
        for (const auto& [radius, cx, cy] : {std::tuple<double, double, double>{100.0, 0.0, 0.0},
                                             {30.0, 350123.456, 5800456.789},
                                             {1e-3, 13.4, 52.5}}) {
            SCOPED_TRACE(std::to_string(n) + " points, radius " + std::to_string(radius));
            const hardgeom::Points ring = hardgeom::RoundedCircle(n, radius, cx, cy);
            const std::vector<geom::CTriangle> triangles = Triangulate(ring, &sorted);
            EXPECT_EQ(triangles.size(), static_cast<std::size_t>(n - 2));
            const hardgeom::MeshFaults faults =
                delaunay_validity::IncrementalFaults(sorted, triangles);
            EXPECT_EQ(faults.notCounterClockwise + faults.overlaps + faults.repeatedEdges, 0u);
            const double area = PolygonArea(ring, cx, cy);
            EXPECT_NEAR(delaunay_validity::TriangleArea(triangles), area, 1e-6 * area);
        }
    }
}

// With its centre, every triangle of the fan comes back counter-clockwise.
TEST(HardGeometryDelaunay, CircleWithItsCentre) {
    hardgeom::Points points = hardgeom::RoundedCircle(5004, 50.0, 0.0, 0.0);
    points.emplace_back(0.0, 0.0, 0.0);
    std::vector<geom::CVertex> sorted;
    const std::vector<geom::CTriangle> triangles = Triangulate(points, &sorted);
    EXPECT_EQ(triangles.size(), 5004u);
    const hardgeom::MeshFaults faults = delaunay_validity::IncrementalFaults(sorted, triangles);
    EXPECT_EQ(faults.notCounterClockwise + faults.overlaps + faults.repeatedEdges, 0u);
}

// Coordinates in degrees: neighbours differ in y by far less than 1e-6, the walk's tolerance.
// 10,000 points over about 100 m, and the cell centres of a 3-arc-second elevation grid clipped to
// an irregular outline.
TEST(HardGeometryDelaunay, CoordinatesInDegrees) {
    std::mt19937_64 rng(20261206);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    hardgeom::Points scattered;
    for (int i = 0; i < 10000; ++i) {
        scattered.emplace_back(13.4 + 0.0013 * unit(rng), 52.5 + 0.0009 * unit(rng), 0.0);
    }
    ExpectValid("10,000 points in degrees", scattered);
    ExpectScaleFree("10,000 points in degrees", scattered, 30);

    const double step = 1.0 / 1200.0, pi = std::acos(-1.0);
    hardgeom::Points grid;
    for (int i = 0; i < 90; ++i) {
        for (int j = 0; j < 90; ++j) {
            const double x = 9.5 + (i + 0.5) * step, y = 47.2 + (j + 0.5) * step;
            // An outline whose radius wanders with the angle, like a small country's.
            const double dx = i - 45.0, dy = j - 45.0;
            const double angle = std::atan2(dy, dx);
            const double reach =
                30.0 + 8.0 * std::sin(3 * angle) + 5.0 * std::cos(7 * angle + pi / 5);
            if (dx * dx + dy * dy <= reach * reach) {
                grid.emplace_back(x, y, 400.0 + i + j);
            }
        }
    }
    EXPECT_GT(grid.size(), 2500u);
    ExpectValid("clipped grid in degrees", grid);
}

}  // namespace
