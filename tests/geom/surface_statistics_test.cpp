// Surface statistics on shapes with known counts, elevations and areas. (A pyramid and meshes
// without vertices are met, and a split surface through the writers, by the surface function
// tests; a split surface also by the welding tests.)
#include <gtest/gtest.h>

#include <cmath>

#include "geom/surface/compute_surface_statistics.h"
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

TEST(SurfaceStatistics, WallsHaveSurfaceButNoPlanArea) {
    geom::SurfaceMesh mesh;
    mesh.vertices = {{0, 0, 0}, {1, 0, 1}, {2, 0, 0}, {0, -1, 0}};
    mesh.faces = {{0, 1, 2}, {0, 2, 3}};
    const SurfaceStatistics s = Statistics({mesh});
    EXPECT_EQ(s.triangleCount, 2u);
    EXPECT_DOUBLE_EQ(s.planArea, 1.0);
    EXPECT_DOUBLE_EQ(s.surfaceArea, 2.0);
}

}  // namespace
