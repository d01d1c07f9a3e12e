// Surface statistics on shapes with known counts, elevations and areas. (A split surface is met
// by the welding tests and, through the writers, by the surface function tests.)
#include <gtest/gtest.h>

#include <cmath>

#include "geom/compute_surface_statistics.h"
#include "surface_test_support.h"

namespace {

using geom::SurfaceStatistics;
using geom::SurfaceStatus;

SurfaceStatistics Statistics(const std::vector<geom::SurfaceMesh>& meshes) {
    SurfaceStatistics statistics;
    EXPECT_EQ(geom::ComputeSurfaceStatistics(surfacetest::Weld(meshes), statistics),
              SurfaceStatus::Ok);
    return statistics;
}

TEST(SurfaceStatistics, TiltedPlane) {
    const SurfaceStatistics s =
        Statistics({surfacetest::Grid(3, 2, [](int i, int j) { return i + 2.0 * j; })});
    EXPECT_EQ(s.vertexCount, 12u);
    EXPECT_EQ(s.triangleCount, 12u);
    EXPECT_EQ(s.minElevation, 0.0);
    EXPECT_EQ(s.maxElevation, 7.0);
    EXPECT_DOUBLE_EQ(s.meanElevation, 3.5);
    EXPECT_DOUBLE_EQ(s.planArea, 6.0);
    EXPECT_DOUBLE_EQ(s.surfaceArea, 6.0 * std::sqrt(6.0));  // slope factor sqrt(1 + 1 + 4)
}

// A pyramid of n sides over a regular n-gon of radius r: plan area n r^2 sin(2 pi / n) / 2,
// each side a triangle of base 2 r sin(pi / n) and height sqrt(h^2 + (r cos(pi / n))^2).
TEST(SurfaceStatistics, RegularPyramid) {
    const int n = 7;
    const double r = 3.0;
    const double h = 4.0;
    geom::SurfaceMesh mesh;
    mesh.vertices.emplace_back(10, 20, 100 + h);
    for (int k = 0; k < n; ++k) {
        const double angle = 2 * M_PI * k / n;
        mesh.vertices.emplace_back(10 + r * std::cos(angle), 20 + r * std::sin(angle), 100);
        mesh.faces.push_back({0, 1 + k, 1 + (k + 1) % n});
    }
    const SurfaceStatistics s = Statistics({mesh});
    EXPECT_EQ(s.vertexCount, 8u);
    EXPECT_EQ(s.triangleCount, 7u);
    EXPECT_EQ(s.minElevation, 100.0);
    EXPECT_EQ(s.maxElevation, 104.0);
    EXPECT_DOUBLE_EQ(s.meanElevation, 100.5);
    EXPECT_NEAR(s.planArea, n * r * r * std::sin(2 * M_PI / n) / 2, 1e-12);
    const double side =
        2 * r * std::sin(M_PI / n) * std::sqrt(h * h + std::pow(r * std::cos(M_PI / n), 2)) / 2;
    EXPECT_NEAR(s.surfaceArea, n * side, 1e-12);
}

TEST(SurfaceStatistics, WallsHaveSurfaceButNoPlanArea) {
    geom::SurfaceMesh mesh;
    mesh.vertices = {{0, 0, 0}, {1, 0, 1}, {2, 0, 0}, {0, -1, 0}};
    mesh.faces = {{0, 1, 2}, {0, 2, 3}};
    const SurfaceStatistics s = Statistics({mesh});
    EXPECT_EQ(s.triangleCount, 2u);
    EXPECT_DOUBLE_EQ(s.planArea, 1.0);
    EXPECT_DOUBLE_EQ(s.surfaceArea, 2.0);
}

TEST(SurfaceStatistics, EmptySurfaceIsRefused) {
    SurfaceStatistics s;
    s.vertexCount = 5;
    EXPECT_EQ(geom::ComputeSurfaceStatistics(geom::WeldedSurface(), s),
              SurfaceStatus::EmptySurface);
    EXPECT_EQ(s.vertexCount, 0u);
}

}  // namespace
