// Helpers shared by the surface tests (welding, contours, statistics, volumes).
//
// Triangulated(points): the CDCT triangulation of the points as one mesh.
// Grid(nx, ny, height): the grid of vertices (i, j), 0 <= i <= nx, 0 <= j <= ny, with
// z = height(i, j), each cell cut into two faces by its rising diagonal.
// SplitLikeWriter(mesh, maxPoints): the mesh cut into meshes the way the splitting mesh writer
// cuts a triangulation: faces taken in order, a new mesh begun before a face once the current one
// holds maxPoints - 2 vertices, each mesh with its own numbering (shared vertices repeated).
// Weld(meshes): WeldSurface, which must succeed.
// HeightAt(surface, x, y, z): the surface's elevation at a plan position found by looking at
// every triangle (points on an edge within a relative 1e-12 count); false outside.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <unordered_map>
#include <vector>

#include "dct_test_support.h"
#include "geom/surface_mesh.h"
#include "geom/weld_surface.h"

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

inline std::vector<geom::SurfaceMesh> SplitLikeWriter(const geom::SurfaceMesh& mesh,
                                                      std::size_t maxPoints) {
    std::vector<geom::SurfaceMesh> parts;
    std::unordered_map<int, int> local;
    for (const geom::MeshFace& face : mesh.faces) {
        if (parts.empty() || local.size() >= maxPoints - 2) {
            parts.emplace_back();
            local.clear();
        }
        geom::SurfaceMesh& part = parts.back();
        auto number = [&](int global) {
            auto it = local.find(global);
            if (it != local.end()) {
                return it->second;
            }
            const int k = static_cast<int>(part.vertices.size());
            local.emplace(global, k);
            part.vertices.push_back(mesh.vertices[global]);
            return k;
        };
        const int a = number(face.i1);
        const int b = number(face.i2);
        const int c = number(face.i3);
        part.faces.push_back({a, b, c});
    }
    return parts;
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
