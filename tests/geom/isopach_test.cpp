// The cut/fill map: its datum-0 volume is the overlay's cut and fill, its vertices are both
// surfaces' vertices and edge crossings with z = existing - design, on random surfaces that
// overlap in part, in survey coordinates and with a hole in the design.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "geom/surface/compute_datum_volume.h"
#include "geom/surface/compute_isopach.h"
#include "geom/surface/compute_volume.h"
#include "geom/surface/surface_progress.h"
#include "surface_test_support.h"

namespace {

geom::IsopachMesh Isopach(const geom::WeldedSurface& existing, const geom::WeldedSurface& design) {
    geom::IsopachMesh isopach;
    EXPECT_EQ(geom::ComputeIsopach(existing, design, isopach), geom::SurfaceStatus::Ok);
    return isopach;
}

// The map as a mesh the welder takes.
geom::SurfaceMesh AsSurfaceMesh(const geom::IsopachMesh& isopach) {
    geom::SurfaceMesh mesh;
    for (const geom::SurfacePoint& v : isopach.vertices) {
        mesh.vertices.emplace_back(v.x, v.y, v.z);
    }
    mesh.faces = isopach.faces;
    return mesh;
}

// The mesh moved and scaled in plan: x to x0 + step x, y to y0 + step y.
geom::SurfaceMesh Placed(geom::SurfaceMesh mesh, double x0, double y0, double step) {
    for (geom::CVertex& v : mesh.vertices) {
        v.x = x0 + step * v.x;
        v.y = y0 + step * v.y;
    }
    return mesh;
}

// The map's plan area; every face is expected counter-clockwise.
double CounterClockwiseArea(const geom::IsopachMesh& isopach) {
    double area = 0.0;
    for (const geom::MeshFace& f : isopach.faces) {
        const geom::SurfacePoint& a = isopach.vertices[static_cast<std::size_t>(f.i1)];
        const geom::SurfacePoint& b = isopach.vertices[static_cast<std::size_t>(f.i2)];
        const geom::SurfacePoint& c = isopach.vertices[static_cast<std::size_t>(f.i3)];
        const double twice = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        EXPECT_GT(twice, 0.0);
        area += twice / 2;
    }
    return area;
}

void ExpectRelativelyNear(double got, double expected, double relative) {
    EXPECT_NEAR(got, expected, relative * std::fabs(expected)) << "expected " << expected;
}

// The isopach, welded and integrated to datum 0, gives the overlay's cut, fill and area.
void ExpectVolumeOfOverlay(const geom::WeldedSurface& existing, const geom::WeldedSurface& design,
                           const geom::IsopachMesh& isopach) {
    geom::VolumeResult overlay;
    ASSERT_EQ(geom::ComputeVolume(existing, design, overlay), geom::SurfaceStatus::Ok);
    geom::WeldedSurface map;
    ASSERT_EQ(geom::WeldSurface({AsSurfaceMesh(isopach)}, map), geom::SurfaceStatus::Ok);
    EXPECT_TRUE(map.walls.empty());
    geom::VolumeResult datum;
    ASSERT_EQ(geom::ComputeDatumVolume(map, 0.0, datum), geom::SurfaceStatus::Ok);
    ExpectRelativelyNear(datum.cut, overlay.cut, 1e-9);
    ExpectRelativelyNear(datum.fill, overlay.fill, 1e-9);
    ExpectRelativelyNear(datum.area, overlay.area, 1e-9);
}

bool Has(const geom::IsopachMesh& mesh, double x, double y, double tolerance) {
    for (const geom::SurfacePoint& v : mesh.vertices) {
        if (std::fabs(v.x - x) <= tolerance && std::fabs(v.y - y) <= tolerance) {
            return true;
        }
    }
    return false;
}

// Every vertex of one surface strictly inside the other and every crossing of their edges is a
// vertex of the isopach, once, whose elevation is the difference of the surfaces there.
void ExpectVerticesOfOverlay(const geom::WeldedSurface& existing, const geom::WeldedSurface& design,
                             const geom::IsopachMesh& isopach) {
    std::vector<std::pair<double, double>> plan;
    for (const geom::SurfacePoint& v : isopach.vertices) {
        plan.emplace_back(v.x, v.y);
    }
    std::sort(plan.begin(), plan.end());
    EXPECT_EQ(std::adjacent_find(plan.begin(), plan.end()), plan.end());
    for (const geom::SurfacePoint& v : isopach.vertices) {
        double e = 0, d = 0;
        ASSERT_TRUE(surfacetest::HeightAt(existing, v.x, v.y, e));
        ASSERT_TRUE(surfacetest::HeightAt(design, v.x, v.y, d));
        EXPECT_NEAR(v.z, e - d, 1e-9);
    }
    for (const auto* pair : {&existing, &design}) {
        const geom::WeldedSurface& other = pair == &existing ? design : existing;
        for (const geom::SurfacePoint& p : pair->points) {
            double z = 0;
            if (surfacetest::HeightAt(other, p.x, p.y, z)) {
                EXPECT_TRUE(Has(isopach, p.x, p.y, 0.0)) << p.x << " " << p.y;
            }
        }
    }
    for (const geom::SurfaceTriangle& s : existing.triangles) {
        for (int m = 0; m < 3; ++m) {
            const geom::SurfacePoint& p = existing.points[s.corner[m]];
            const geom::SurfacePoint& q = existing.points[s.corner[(m + 1) % 3]];
            for (const geom::SurfaceTriangle& t : design.triangles) {
                for (int k = 0; k < 3; ++k) {
                    const geom::SurfacePoint& r = design.points[t.corner[k]];
                    const geom::SurfacePoint& u = design.points[t.corner[(k + 1) % 3]];
                    const double det = (q.x - p.x) * (u.y - r.y) - (q.y - p.y) * (u.x - r.x);
                    const double a = ((r.x - p.x) * (u.y - r.y) - (r.y - p.y) * (u.x - r.x)) / det;
                    const double b = ((r.x - p.x) * (q.y - p.y) - (r.y - p.y) * (q.x - p.x)) / det;
                    if (a > 1e-6 && a < 1 - 1e-6 && b > 1e-6 && b < 1 - 1e-6) {
                        EXPECT_TRUE(
                            Has(isopach, p.x + a * (q.x - p.x), p.y + a * (q.y - p.y), 1e-9));
                    }
                }
            }
        }
    }
}

TEST(Isopach, IsTheOverlayOfRandomSurfaces) {
    for (int seed = 0; seed < 8; ++seed) {
        const geom::WeldedSurface existing =
            surfacetest::Weld({surfacetest::RandomSurface(200 + seed, 40, 0, 0, 10, 10, {})});
        const geom::WeldedSurface design =
            surfacetest::Weld({surfacetest::RandomSurface(300 + seed, 40, 3, -2, 14, 8, {})});
        const geom::IsopachMesh isopach = Isopach(existing, design);
        ASSERT_FALSE(isopach.faces.empty());
        ExpectVolumeOfOverlay(existing, design, isopach);
        ExpectVerticesOfOverlay(existing, design, isopach);
    }
}

// Surfaces whose edges lie on one another, in survey coordinates, where the side tests end in
// exact zeros: a surface against itself (the map is the surface with nothing added and z = 0),
// and a fine grid against a coarse one shifted by a quarter of its step, whose vertices lie on
// the fine grid's edges halfway between its vertices (each there once, no crossing made twice).
TEST(Isopach, MapsSurfacesWhoseEdgesLieOnOneAnother) {
    const double x0 = 350123.25, y0 = 5800456.5;
    const geom::SurfaceMesh random = surfacetest::RandomSurface(
        31, 3000, x0, y0, x0 + 200, y0 + 150, [](double x, double) { return 0.01 * x; });
    const geom::WeldedSurface surface =
        surfacetest::Weld(surfacetest::SplitLikeWriter(random, 900));
    const geom::IsopachMesh itself = Isopach(surface, surface);
    EXPECT_EQ(itself.vertices.size(), surface.points.size());
    EXPECT_EQ(itself.faces.size(), surface.triangles.size());
    for (const geom::SurfacePoint& v : itself.vertices) {
        EXPECT_EQ(v.z, 0.0);
    }
    ExpectVolumeOfOverlay(surface, surface, itself);

    const geom::WeldedSurface fine = surfacetest::Weld(
        {Placed(surfacetest::Grid(16, 12, [](int i, int j) { return i - j; }), x0, y0, 0.5)});
    const geom::WeldedSurface coarse = surfacetest::Weld(
        {Placed(surfacetest::Grid(7, 6, [](int i, int) { return 0.25 * i; }), x0 + 0.25, y0, 1.0)});
    const geom::IsopachMesh map = Isopach(fine, coarse);
    ExpectVolumeOfOverlay(fine, coarse, map);
    ExpectVerticesOfOverlay(fine, coarse, map);
}

// Two triangles crossing as a star: the map is their hexagonal overlap, its six corners the
// crossings of their edges (each crossing of two edges a corner of one piece), fanned into four
// counter-clockwise faces that cover the hexagon once.
TEST(Isopach, FansAPieceOfSixCrossings) {
    geom::SurfaceMesh up;
    up.vertices = {{0, 0, 0}, {12, 0, 12}, {6, 12, 6}};  // z = x
    up.faces = {{0, 1, 2}};
    geom::SurfaceMesh down;
    down.vertices = {{0, 8, 8}, {12, 8, 8}, {6, -4, -4}};  // z = y
    down.faces = {{0, 2, 1}};
    const geom::WeldedSurface existing = surfacetest::Weld({up});
    const geom::WeldedSurface design = surfacetest::Weld({down});
    const geom::IsopachMesh isopach = Isopach(existing, design);
    ASSERT_EQ(isopach.vertices.size(), 6u);
    for (const auto& corner :
         {std::make_pair(4.0, 0.0), std::make_pair(8.0, 0.0), std::make_pair(10.0, 4.0),
          std::make_pair(8.0, 8.0), std::make_pair(4.0, 8.0), std::make_pair(2.0, 4.0)}) {
        EXPECT_TRUE(Has(isopach, corner.first, corner.second, 1e-12))
            << corner.first << " " << corner.second;
    }
    for (const geom::SurfacePoint& v : isopach.vertices) {
        EXPECT_NEAR(v.z, v.x - v.y, 1e-12);
    }
    ASSERT_EQ(isopach.faces.size(), 4u);
    EXPECT_NEAR(CounterClockwiseArea(isopach), 48.0, 1e-12);
    ExpectVolumeOfOverlay(existing, design, isopach);
}

// Larger surfaces split into meshes, in survey coordinates, the design on a grid whose
// vertices fall on the existing surface's edges and vertices now and then.
TEST(Isopach, KeepsTheVolumeOfLargeSurfacesInSurveyCoordinates) {
    const double x0 = 350000, y0 = 5800000;
    const auto ground = [&](double x, double y) {
        return 400 + 5 * std::sin((x - x0) / 9) + 4 * std::cos((y - y0) / 13);
    };
    const geom::SurfaceMesh mesh =
        surfacetest::RandomSurface(7, 20000, x0, y0, x0 + 300, y0 + 300, ground);
    const geom::WeldedSurface existing =
        surfacetest::Weld(surfacetest::SplitLikeWriter(mesh, 4000));
    const geom::SurfaceMesh pad =
        Placed(surfacetest::Grid(40, 40, [](int i, int j) { return 401.0 + 0.05 * i * j / 40; }),
               x0 + 50, y0 + 20, 5);
    const geom::WeldedSurface design = surfacetest::Weld({pad});
    ExpectVolumeOfOverlay(existing, design, Isopach(existing, design));
}

// More existing triangles than the map takes between two estimates of its size (the
// progress stride): its arrays are grown to the estimate while they are written, and the map
// still holds the whole overlay.
TEST(Isopach, KeepsTheVolumeWhenItsArraysGrowWhileWritten) {
    const auto ground = [](double x, double y) { return 50 + std::sin(x / 40) * std::cos(y / 60); };
    const geom::WeldedSurface existing = surfacetest::Weld(surfacetest::SplitLikeWriter(
        surfacetest::RandomSurface(21, 40000, 0, 0, 1000, 1000, ground), 30000));
    ASSERT_GT(existing.triangles.size(), geom::kProgressStride);
    const geom::WeldedSurface design = surfacetest::Weld({surfacetest::RandomSurface(
        22, 30000, 150, -100, 1100, 900, [](double x, double) { return 49.5 + x / 1000; })});
    ExpectVolumeOfOverlay(existing, design, Isopach(existing, design));
}

// Two existing triangles over a U-shaped design: the upper one meets both arms of the U, which
// no design triangle joins inside it. The map covers both arms, and nothing in the slot; the
// volume between the surfaces counts both arms too.
TEST(Isopach, CoversEveryPartOfADesignThatATriangleMeets) {
    const geom::SurfaceMesh cell =
        Placed(surfacetest::Grid(1, 1, [](int i, int) { return 10.0 * i; }), 0, 0, 10);
    const geom::WeldedSurface existing = surfacetest::Weld({cell});  // z = x over 10 x 10
    geom::SurfaceMesh u = surfacetest::Grid(10, 10, [](int, int) { return 0.0; });
    std::vector<geom::MeshFace> kept;
    for (std::size_t f = 0; f < u.faces.size(); ++f) {
        const std::size_t i = f / 2 % 10;
        const std::size_t j = f / 2 / 10;
        if (!(i >= 4 && i < 6 && j >= 3)) {  // the slot: 4 <= x <= 6, y >= 3
            kept.push_back(u.faces[f]);
        }
    }
    u.faces = kept;
    const geom::WeldedSurface design = surfacetest::Weld({u});
    const geom::IsopachMesh isopach = Isopach(existing, design);
    geom::WeldedSurface map;
    ASSERT_EQ(geom::WeldSurface({AsSurfaceMesh(isopach)}, map), geom::SurfaceStatus::Ok);
    geom::VolumeResult datum;
    ASSERT_EQ(geom::ComputeDatumVolume(map, 0.0, datum), geom::SurfaceStatus::Ok);
    EXPECT_NEAR(datum.area, 100.0 - 2 * 7, 1e-9);
    EXPECT_NEAR(datum.cut, 500.0 - 7 * (6 * 6 - 4 * 4) / 2.0, 1e-9);  // of x over the U
    EXPECT_EQ(datum.fill, 0.0);
    double z = 0;
    EXPECT_FALSE(surfacetest::HeightAt(map, 5.0, 8.0, z));
    ASSERT_TRUE(surfacetest::HeightAt(map, 8.0, 9.0, z));  // the right arm, in the upper triangle
    EXPECT_NEAR(z, 8.0, 1e-12);
    ExpectVolumeOfOverlay(existing, design, isopach);
}

// A design ring with a square hole and a small island apart, over a larger existing grid: triangles
// wholly outside the design, wholly inside its hole, and one holding the whole island (whose
// centroid misses it) each get exactly their overlap.
TEST(Isopach, FindsTheDesignWhereverATriangleMeetsIt) {
    const geom::SurfaceMesh grid =  // 0 ... 120 each way
        Placed(surfacetest::Grid(12, 12, [](int i, int j) { return 0.5 * i - j; }), 0, 0, 10);
    const geom::WeldedSurface existing = surfacetest::Weld({grid});
    const geom::SurfaceMesh ring =  // 20 ... 110, the hole 50 ... 80
        Placed(surfacetest::HoledGrid(6, [](int i, int j) { return 0.3 * i + j; }), 20, 20, 15);
    geom::SurfaceMesh island;
    island.vertices = {{3, 103, 1}, {6, 103, 2}, {6, 106, 3}, {3, 106, 4}};
    island.faces = {{0, 1, 2}, {0, 2, 3}};
    const geom::WeldedSurface design = surfacetest::Weld({ring, island});
    const geom::IsopachMesh isopach = Isopach(existing, design);
    ExpectVolumeOfOverlay(existing, design, isopach);
    geom::WeldedSurface map;
    ASSERT_EQ(geom::WeldSurface({AsSurfaceMesh(isopach)}, map), geom::SurfaceStatus::Ok);
    geom::VolumeResult datum;
    ASSERT_EQ(geom::ComputeDatumVolume(map, 0.0, datum), geom::SurfaceStatus::Ok);
    EXPECT_NEAR(datum.area, 90.0 * 90.0 - 30.0 * 30.0 + 9.0, 1e-9);
    double z = 0;
    ASSERT_TRUE(surfacetest::HeightAt(map, 5.0, 104.0, z));
    EXPECT_NEAR(z, (0.5 * 0.5 - 10.4) - (1 + 2.0 / 3 + 1.0 / 3), 1e-9);
    EXPECT_FALSE(surfacetest::HeightAt(map, 65.0, 65.0, z));
    EXPECT_FALSE(surfacetest::HeightAt(map, 10.0, 50.0, z));
}

// A design fanned about its centre by 600 slivers, ringed by a band: the walk to a triangle's
// centroid from the seed of its cell goes round the fan too long and gives up, and boundary
// triangles share grid cells with the triangle's box though none meets it. The triangle lies wholly
// inside the design (flat at 1 there), so the map covers all of it at 5 - 1.
TEST(Isopach, CoversATriangleInsideTheDesignWhereTheWalkGivesUp) {
    const int n = 600;
    geom::SurfaceMesh fan;
    fan.vertices.emplace_back(0.0, 0.0, 1.0);
    for (int ring = 1; ring <= 2; ++ring) {
        for (int i = 0; i < n; ++i) {
            const double angle = 2 * std::acos(-1.0) * i / n;
            const double radius = ring == 1 ? 1.0 : 3.0;
            fan.vertices.emplace_back(radius * std::cos(angle), radius * std::sin(angle), ring);
        }
    }
    for (int i = 0; i < n; ++i) {
        const int r = 1 + i, r1 = 1 + (i + 1) % n;  // the inner ring
        const int o = r + n, o1 = r1 + n;           // the outer ring
        fan.faces.push_back({0, r, r1});
        fan.faces.push_back({r, o, o1});
        fan.faces.push_back({r, o1, r1});
    }
    const geom::WeldedSurface design = surfacetest::Weld({fan});
    geom::SurfaceMesh piece;
    piece.vertices = {{-0.6, 0.1, 5.0}, {0.6, 0.1, 5.0}, {0.0, 0.7, 5.0}};
    piece.faces = {{0, 1, 2}};
    const geom::WeldedSurface existing = surfacetest::Weld({piece});
    const geom::IsopachMesh isopach = Isopach(existing, design);
    EXPECT_NEAR(CounterClockwiseArea(isopach), 0.36, 1e-12);
    for (const geom::SurfacePoint& v : isopach.vertices) {
        EXPECT_NEAR(v.z, 4.0, 1e-12);
    }
}

// A design with a hole: no map over the hole.
TEST(Isopach, LeavesOutWhereOneSurfaceIsMissing) {
    const geom::WeldedSurface existing =
        surfacetest::Weld({surfacetest::Grid(6, 6, [](int i, int) { return 1.0 * i; })});
    const geom::SurfaceMesh holed = surfacetest::HoledGrid(6, [](int, int) { return 3.0; });
    const geom::WeldedSurface design = surfacetest::Weld({holed});
    const geom::IsopachMesh isopach = Isopach(existing, design);
    ExpectVolumeOfOverlay(existing, design, isopach);
    geom::WeldedSurface map;
    ASSERT_EQ(geom::WeldSurface({AsSurfaceMesh(isopach)}, map), geom::SurfaceStatus::Ok);
    double z = 0;
    EXPECT_FALSE(surfacetest::HeightAt(map, 3.0, 3.0, z));
    ASSERT_TRUE(surfacetest::HeightAt(map, 5.5, 0.5, z));
    EXPECT_NEAR(z, 2.5, 1e-12);
    EXPECT_EQ(map.points.size(), 48u);  // the grids' vertices, less the one inside the hole
}

}  // namespace
