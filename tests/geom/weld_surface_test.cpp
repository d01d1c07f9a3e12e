// Joining the meshes of one surface: shared border vertices become one point, faces keep their
// neighbours across the seam, and what cannot be one surface is refused with its place. (An
// elevation that is not finite and a seam vertex at two elevations are met through the surface
// functions in the module's tests.)
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <utility>

#include "surface_test_support.h"

namespace {

using geom::SurfaceStatus;

geom::SurfaceMesh TwoFaces() {
    geom::SurfaceMesh mesh;
    mesh.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    mesh.faces = {{0, 1, 2}, {0, 2, 3}};
    return mesh;
}

std::size_t BoundaryEdges(const geom::WeldedSurface& surface) {
    std::size_t count = 0;
    for (const geom::SurfaceTriangle& t : surface.triangles) {
        for (std::int32_t n : t.across) {
            count += n < 0 ? 1 : 0;
        }
    }
    return count;
}

TEST(WeldSurface, SplitSurfaceBecomesTheSurfaceItWasCutFrom) {
    const geom::SurfaceMesh whole = surfacetest::RandomSurface(15, 3000, 0, 0, 100, 100, {});
    const std::vector<geom::SurfaceMesh> parts = surfacetest::SplitLikeWriter(whole, 500);
    ASSERT_GT(parts.size(), 5u);
    std::size_t repeated = 0;
    for (const geom::SurfaceMesh& part : parts) {
        repeated += part.vertices.size();
    }
    ASSERT_GT(repeated, whole.vertices.size());

    const geom::WeldedSurface one = surfacetest::Weld({whole});
    const geom::WeldedSurface split = surfacetest::Weld(parts);
    ASSERT_EQ(split.points.size(), whole.vertices.size());
    ASSERT_EQ(split.triangles.size(), whole.faces.size());
    for (std::size_t k = 0; k < split.points.size(); ++k) {
        EXPECT_EQ(split.points[k].x, one.points[k].x);
        EXPECT_EQ(split.points[k].y, one.points[k].y);
        EXPECT_EQ(split.points[k].z, one.points[k].z);
    }
    // Only the hull's edges are open: the seams between the meshes are closed.
    EXPECT_EQ(BoundaryEdges(split), BoundaryEdges(one));
    for (std::size_t t = 0; t < split.triangles.size(); ++t) {
        for (int k = 0; k < 3; ++k) {
            const std::int32_t n = split.triangles[t].across[k];
            if (n < 0) {
                continue;
            }
            const std::int32_t a = split.triangles[t].corner[k];
            const std::int32_t b = split.triangles[t].corner[(k + 1) % 3];
            bool reverse = false;
            for (int j = 0; j < 3; ++j) {
                reverse = reverse || (split.triangles[n].corner[j] == b &&
                                      split.triangles[n].corner[(j + 1) % 3] == a &&
                                      split.triangles[n].across[j] == static_cast<int>(t));
            }
            EXPECT_TRUE(reverse) << "triangle " << t << " edge " << k;
        }
    }
}

// The triangle across each edge found by looking at every other triangle's edges.
void ExpectNeighboursOfEveryEdge(const geom::WeldedSurface& surface, const char* what) {
    std::map<std::pair<std::int32_t, std::int32_t>, std::int32_t> byEdge;
    for (std::size_t t = 0; t < surface.triangles.size(); ++t) {
        const std::int32_t* c = surface.triangles[t].corner;
        for (int k = 0; k < 3; ++k) {
            byEdge[{c[k], c[(k + 1) % 3]}] = static_cast<std::int32_t>(t);
        }
    }
    for (std::size_t t = 0; t < surface.triangles.size(); ++t) {
        const std::int32_t* c = surface.triangles[t].corner;
        for (int k = 0; k < 3; ++k) {
            const auto other = byEdge.find({c[(k + 1) % 3], c[k]});
            EXPECT_EQ(surface.triangles[t].across[k], other == byEdge.end() ? -1 : other->second)
                << what << ": triangle " << t << " edge " << k;
        }
    }
}

// Cut into meshes of any size, with a mesh that holds one of its points twice, or given whole,
// a surface welds to the same points and triangles, every edge with its neighbour.
TEST(WeldSurface, EverySplitWeldsToTheSameTriangles) {
    const geom::SurfaceMesh whole = surfacetest::RandomSurface(23, 4000, 0, 0, 100, 100, {});
    const geom::WeldedSurface one = surfacetest::Weld({whole});
    ExpectNeighboursOfEveryEdge(one, "whole");

    std::vector<geom::SurfaceMesh> repeating = surfacetest::SplitLikeWriter(whole, 700);
    {
        // The second mesh's vertex 5 again, taken by every other face at it.
        geom::SurfaceMesh& mesh = repeating[1];
        mesh.vertices.push_back(mesh.vertices[5]);
        const std::int32_t copy = static_cast<std::int32_t>(mesh.vertices.size() - 1);
        int seen = 0;
        for (geom::MeshFace& face : mesh.faces) {
            for (std::int32_t* i : {&face.i1, &face.i2, &face.i3}) {
                if (*i == 5 && seen++ % 2 == 1) {
                    *i = copy;
                }
            }
        }
        ASSERT_GT(seen, 1);
    }
    const std::vector<std::pair<const char*, std::vector<geom::SurfaceMesh>>> splits = {
        {"meshes of 100", surfacetest::SplitLikeWriter(whole, 100)},
        {"meshes of 1500", surfacetest::SplitLikeWriter(whole, 1500)},
        {"a mesh repeating a point", repeating}};
    for (const auto& [what, meshes] : splits) {
        ASSERT_GT(meshes.size(), 2u) << what;
        const geom::WeldedSurface split = surfacetest::Weld(meshes);
        ASSERT_EQ(split.points.size(), one.points.size()) << what;
        ASSERT_EQ(split.triangles.size(), one.triangles.size()) << what;
        for (std::size_t t = 0; t < split.triangles.size(); ++t) {
            for (int k = 0; k < 3; ++k) {
                EXPECT_EQ(split.triangles[t].corner[k], one.triangles[t].corner[k]) << what;
                EXPECT_EQ(split.triangles[t].across[k], one.triangles[t].across[k]) << what;
            }
        }
    }
}

TEST(WeldSurface, FacesAreTurnedCounterClockwiseAndDegenerateOnesSetApart) {
    geom::SurfaceMesh mesh;
    // -0.0 and 0.0 are one position.
    mesh.vertices = {{0, 0, 1}, {2, 0, 1}, {0, 2, 1}, {-0.0, 0, 1}, {1, 0, 3}};
    mesh.faces = {{0, 2, 1}, {0, 3, 2}, {0, 4, 1}};
    const geom::WeldedSurface surface = surfacetest::Weld({mesh});
    ASSERT_EQ(surface.points.size(), 4u);
    ASSERT_EQ(surface.triangles.size(), 1u);
    const geom::SurfaceTriangle& t = surface.triangles[0];
    const geom::SurfacePoint& a = surface.points[t.corner[0]];
    const geom::SurfacePoint& b = surface.points[t.corner[1]];
    const geom::SurfacePoint& c = surface.points[t.corner[2]];
    EXPECT_GT((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x), 0.0);
    EXPECT_EQ(surface.collapsedFaces, 1u);
    EXPECT_EQ(surface.walls.size(), 1u);
}

TEST(WeldSurface, FaultsAreRefusedWithTheirPlace) {
    struct Case {
        const char* what;
        std::vector<geom::SurfaceMesh> meshes;
        SurfaceStatus status;
        std::size_t mesh;
        std::size_t index;
    };
    std::vector<Case> cases;
    {
        std::vector<geom::SurfaceMesh> m = {TwoFaces(), TwoFaces()};
        m[0].vertices[3].x = std::numeric_limits<double>::infinity();
        cases.push_back({"infinite x", m, SurfaceStatus::NonFiniteCoordinate, 0, 3});
    }
    {
        std::vector<geom::SurfaceMesh> m = {TwoFaces(), TwoFaces()};
        m[1].faces[1].i3 = 4;
        cases.push_back({"index past the end", m, SurfaceStatus::FaceIndexOutOfRange, 1, 1});
    }
    {
        std::vector<geom::SurfaceMesh> m = {TwoFaces(), TwoFaces()};
        m[0].faces[0].i2 = -1;
        cases.push_back({"negative index", m, SurfaceStatus::FaceIndexOutOfRange, 0, 0});
    }
    cases.push_back(
        {"one mesh given twice", {TwoFaces(), TwoFaces()}, SurfaceStatus::OverlappingFaces, 1, 0});
    {
        // Over the seam edge from (0, 0) to (1, 1) the same way as the first mesh's face 1.
        geom::SurfaceMesh over;
        over.vertices = {{0, 0, 0}, {1, 1, 0}, {0.2, 0.8, 0}};
        over.faces = {{0, 1, 2}};
        cases.push_back(
            {"seam edge held twice", {TwoFaces(), over}, SurfaceStatus::OverlappingFaces, 1, 0});
        // The same two faces alone: one face each side of the seam, both on one side of it.
        geom::SurfaceMesh under = TwoFaces();
        under.faces = {{0, 1, 2}};
        over.vertices[2] = {0.8, 0.2, 0};
        cases.push_back({"seam edge held by two faces on one side",
                         {under, over},
                         SurfaceStatus::OverlappingFaces,
                         1,
                         0});
    }
    {
        // Mesh 1 folds over an edge inside it, and mesh 2 gives mesh 0 again: the faces are
        // looked at in order, and mesh 0's first face meets its copy before the fold.
        geom::SurfaceMesh folded = TwoFaces();
        for (geom::CVertex& v : folded.vertices) {
            v.x += 5;
        }
        folded.vertices.emplace_back(5.5, 0.2, 0.0);
        folded.faces.push_back({0, 1, 4});
        cases.push_back({"the first fault of several",
                         {TwoFaces(), folded, TwoFaces()},
                         SurfaceStatus::OverlappingFaces,
                         2,
                         0});
    }
    {
        geom::SurfaceMesh folded = TwoFaces();
        folded.vertices.emplace_back(0.5, 0.2, 0.0);
        folded.faces.push_back({0, 1, 4});  // on the same side of edge 0-1 as face 0
        cases.push_back({"folded face", {folded}, SurfaceStatus::OverlappingFaces, 0, 2});
    }
    for (const Case& c : cases) {
        geom::WeldedSurface surface;
        surface.points.push_back({9, 9, 9});
        geom::MeshPosition where;
        EXPECT_EQ(geom::WeldSurface(c.meshes, surface, &where), c.status) << c.what;
        EXPECT_EQ(where.mesh, c.mesh) << c.what;
        EXPECT_EQ(where.index, c.index) << c.what;
        EXPECT_TRUE(surface.points.empty() && surface.triangles.empty()) << c.what;
    }
}

}  // namespace
