// Linking a welded surface's triangles to their neighbours mesh by mesh (WeldSurface's way for
// meshes that hold each of their points once): inside a mesh, faces share vertices by the mesh's
// own numbers, so their neighbours are found in a small table per mesh; only the edges on the
// seams between meshes are joined over the whole surface.
//
// LinkWithinMesh(mesh, triangles, work, seams, progress): links the triangles of one mesh across
// the edges they share, vertex by vertex among the triangles at it. mesh.local[3i + k] is corner
// k of triangles[mesh.first + i] in the mesh's numbering (0 ... mesh.vertexCount - 1, one number
// per point); mesh.shared[v] is non-zero when v's point also belongs to another mesh. An edge
// with both ends shared is not linked but added to `seams` (once per face), for only JoinSeams
// sees all of its faces. False when one of the other edges is held twice in one direction (the
// faces overlap); across[] is then partly set. `work` is reused from mesh to mesh.
// progress(t, triangles.size()) is called for each t in the mesh's triangles that is a multiple
// of kProgressStride (surface_progress.h), as that share of the work is done.
//
// JoinSeams(seams, triangles): links the triangles across the seam edges (each of their faces'
// edges once): two faces on an edge become neighbours; false when an edge is held twice in one
// direction or by more than two faces. Reorders `seams`.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "geom/surface/surface_progress.h"
#include "geom/surface/welded_surface.h"

namespace geom {

struct MeshTriangles {
    std::size_t first;           // its first triangle in the surface
    std::size_t count;           // its triangles
    const std::int32_t* local;   // their corners in the mesh's numbering, 3 per triangle
    const std::uint8_t* shared;  // per mesh vertex: non-zero when other meshes hold it too
    std::size_t vertexCount;
};

// A seam edge of a triangle: its ends' points, lower << 32 | higher, and triangle * 4 + edge.
struct SeamEdge {
    std::uint64_t ends;
    std::uint32_t edge;
};

// A triangle's corner at a mesh vertex: triangle (in the mesh) * 4 + corner, and the vertices
// after and before it round the triangle.
struct MeshCorner {
    std::uint32_t at;
    std::int32_t next;
    std::int32_t previous;
};

// Tables LinkWithinMesh fills afresh for each mesh.
struct MeshLinkWork {
    std::vector<std::uint32_t> start;  // per mesh vertex, into corners
    std::vector<MeshCorner> corners;   // vertex by vertex
};

bool LinkWithinMesh(const MeshTriangles& mesh, std::vector<SurfaceTriangle>& triangles,
                    MeshLinkWork& work, std::vector<SeamEdge>& seams,
                    const SurfaceProgress& progress);

bool JoinSeams(std::vector<SeamEdge>& seams, std::vector<SurfaceTriangle>& triangles);

}  // namespace geom
