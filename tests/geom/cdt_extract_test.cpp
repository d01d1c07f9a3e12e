// The constrained triangulator's result lists from a mesh made by hand: triangles grouped by
// their lowest vertex in ascending order and, within one vertex, in mesh order, also when the
// mesh lists them out of that order (as the lines' insertion leaves it), with the vertices that
// no kept triangle uses left out and the others renumbered.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "geom/cdt/cdt_output.h"
#include "geom/cdt/cdt_region.h"

namespace {

using Corners = std::array<int, 3>;

// Six vertices sorted by x, then y; the triangles' corners in the order given.
geom::CdtMesh MeshOf(const std::vector<Corners>& corners) {
    geom::CdtMesh mesh;
    const geom::PlanPoint at[6] = {{0, 0}, {1, -1}, {1, 1}, {2, 0}, {3, -1}, {3, 1}};
    for (int v = 0; v < 6; ++v) {
        mesh.points.push_back(at[v]);
        mesh.z.push_back(10.0 * v);
        mesh.vertexTriangle.push_back(geom::kCdtNone);
    }
    for (const Corners& c : corners) {
        const std::uint32_t t = static_cast<std::uint32_t>(mesh.triangles.size());
        mesh.triangles.push_back(
            geom::CdtTriangle{{std::uint32_t(c[0]), std::uint32_t(c[1]), std::uint32_t(c[2])},
                              {geom::kCdtNone, geom::kCdtNone, geom::kCdtNone},
                              0});
        for (const int v : c) {
            mesh.vertexTriangle[v] = t;
        }
    }
    return mesh;
}

// Mesh order: lowest vertices 0 1 3, then 0 1 2 out of order, then 3 and 0 again.
const std::vector<Corners> kMixed = {{0, 1, 2}, {1, 3, 2}, {3, 4, 5}, {2, 0, 3},
                                     {5, 1, 4}, {2, 3, 5}, {4, 5, 3}, {4, 0, 1}};

std::vector<Corners> IndicesOf(const std::vector<geom::CTriangle>& triangles) {
    std::vector<Corners> indices;
    for (const geom::CTriangle& t : triangles) {
        indices.push_back({t.i1, t.i2, t.i3});
    }
    return indices;
}

TEST(CdtExtract, OrdersByLowestVertexThenMeshOrder) {
    const geom::CdtMesh mesh = MeshOf(kMixed);
    std::vector<geom::CTriangle> triangles;
    triangles.reserve(2 * 6);
    std::vector<geom::CVertex> vertices;
    geom::CdtExtract(mesh, 6, {}, mesh.z, triangles, vertices);
    const std::vector<Corners> expected = {{0, 1, 2}, {0, 3, 2}, {0, 1, 4}, {1, 3, 2},
                                           {1, 4, 5}, {2, 3, 5}, {3, 4, 5}, {3, 4, 5}};
    EXPECT_EQ(IndicesOf(triangles), expected);
    ASSERT_EQ(vertices.size(), 6u);
    EXPECT_EQ(vertices[4].x, 3.0);
    EXPECT_EQ(vertices[4].y, -1.0);
    EXPECT_EQ(vertices[4].z, 40.0);
    ASSERT_EQ(triangles.size(), expected.size());
    EXPECT_EQ(triangles[4].p2.x, 3.0);
    EXPECT_EQ(triangles[4].p2.z, 40.0);
    EXPECT_EQ(triangles[4].p3.y, 1.0);
}

TEST(CdtExtract, LeavesOutVerticesOfNoKeptTriangle) {
    const geom::CdtMesh mesh = MeshOf(kMixed);
    // Every triangle at vertex 4 left out: vertex 5 becomes 4.
    std::vector<std::uint8_t> state(kMixed.size(), geom::kCdtKept);
    state[2] = state[4] = state[6] = state[7] = geom::kCdtOutside;
    std::vector<geom::CTriangle> triangles;
    std::vector<geom::CVertex> vertices;
    geom::CdtExtract(mesh, 6, state, mesh.z, triangles, vertices);
    const std::vector<Corners> expected = {{0, 1, 2}, {0, 3, 2}, {1, 3, 2}, {2, 3, 4}};
    EXPECT_EQ(IndicesOf(triangles), expected);
    ASSERT_EQ(vertices.size(), 5u);
    EXPECT_EQ(vertices[4].z, 50.0);
    ASSERT_EQ(triangles.size(), expected.size());
    EXPECT_EQ(triangles[3].p3.z, 50.0);
}

}  // namespace
