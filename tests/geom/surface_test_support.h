// Helpers shared by the surface tests (welding, contours, statistics, volumes).
//
// Triangulated(points): the CDCT triangulation of the points as one mesh.
// Grid(nx, ny, height): the grid of vertices (i, j), 0 <= i <= nx, 0 <= j <= ny, with
// z = height(i, j), each cell cut into two faces by its rising diagonal.
// RandomSurface(seed, count, x0, y0, x1, y1, height): the triangulation of `count` random plan
// points in the rectangle [x0, x1] x [y0, y1] and its four corners, with z = height(x, y), or
// random in [0, 1) when height is empty.
// HoledGrid(n, height): Grid(n, n, height) without the faces of its middle n/3 x n/3 cells (for
// n = 6 the cells 2 and 3 each way: a hole from (2, 2) to (4, 4)).
// SplitLikeWriter(mesh, maxPoints): split_like_writer.h.
// Weld(meshes): WeldSurface, which must succeed.
// HeightAt(surface, x, y, z): the surface's elevation at a plan position found by looking at
// every triangle (points on an edge within a relative 1e-12 count); false outside.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "checks/dct_test_support.h"
#include "geom/surface/surface_mesh.h"
#include "geom/surface/weld_surface.h"
#include "split_like_writer.h"

namespace surfacetest {

inline geom::SurfaceMesh Triangulated(const std::vector<geom::CVertex>& points) {
    const dcttest::Triangulation run = dcttest::TriangulateAll(points);
    EXPECT_EQ(run.failure, "");
    geom::SurfaceMesh mesh;
    mesh.vertices = run.vertices;
    for (const geom::CTriangle& t : run.triangles) {
        mesh.faces.push_back({t.i1, t.i2, t.i3});
    }
    return mesh;
}

inline geom::SurfaceMesh RandomSurface(std::uint64_t seed, int count, double x0, double y0,
                                       double x1, double y1,
                                       const std::function<double(double, double)>& height) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    std::vector<geom::CVertex> points = {{x0, y0, 0}, {x1, y0, 0}, {x0, y1, 0}, {x1, y1, 0}};
    for (int i = 0; i < count; ++i) {
        points.emplace_back(x0 + (x1 - x0) * u(random), y0 + (y1 - y0) * u(random), 0);
    }
    for (geom::CVertex& p : points) {
        p.z = height ? height(p.x, p.y) : u(random);
    }
    return Triangulated(points);
}

inline geom::SurfaceMesh Grid(int nx, int ny, const std::function<double(int, int)>& height) {
    geom::SurfaceMesh mesh;
    for (int j = 0; j <= ny; ++j) {
        for (int i = 0; i <= nx; ++i) {
            mesh.vertices.emplace_back(i, j, height(i, j));
        }
    }
    auto at = [nx](int i, int j) { return j * (nx + 1) + i; };
    for (int j = 0; j < ny; ++j) {
        for (int i = 0; i < nx; ++i) {
            mesh.faces.push_back({at(i, j), at(i + 1, j), at(i + 1, j + 1)});
            mesh.faces.push_back({at(i, j), at(i + 1, j + 1), at(i, j + 1)});
        }
    }
    return mesh;
}

inline geom::SurfaceMesh HoledGrid(int n, const std::function<double(int, int)>& height) {
    geom::SurfaceMesh grid = Grid(n, n, height);
    std::vector<geom::MeshFace> kept;
    const std::size_t first = static_cast<std::size_t>(n / 3);
    const std::size_t last = static_cast<std::size_t>(n - n / 3);
    for (std::size_t f = 0; f < grid.faces.size(); ++f) {
        const std::size_t i = f / 2 % static_cast<std::size_t>(n);
        const std::size_t j = f / 2 / static_cast<std::size_t>(n);
        if (!(i >= first && i < last && j >= first && j < last)) {
            kept.push_back(grid.faces[f]);
        }
    }
    grid.faces = kept;
    return grid;
}

inline geom::WeldedSurface Weld(const std::vector<geom::SurfaceMesh>& meshes) {
    geom::WeldedSurface surface;
    EXPECT_EQ(geom::WeldSurface(meshes, surface), geom::SurfaceStatus::Ok);
    return surface;
}

inline bool HeightAt(const geom::WeldedSurface& surface, double x, double y, double& z) {
    for (const geom::SurfaceTriangle& t : surface.triangles) {
        const geom::SurfacePoint& a = surface.points[t.corner[0]];
        const geom::SurfacePoint& b = surface.points[t.corner[1]];
        const geom::SurfacePoint& c = surface.points[t.corner[2]];
        const double area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        const double wa = ((b.x - x) * (c.y - y) - (b.y - y) * (c.x - x)) / area;
        const double wb = ((c.x - x) * (a.y - y) - (c.y - y) * (a.x - x)) / area;
        const double wc = 1.0 - wa - wb;
        const double slack = -1e-12;
        if (wa >= slack && wb >= slack && wc >= slack) {
            z = wa * a.z + wb * b.z + wc * c.z;
            return true;
        }
    }
    return false;
}

}  // namespace surfacetest
