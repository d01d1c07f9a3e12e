// CdtMesh: a triangulation as an array of counter-clockwise triangles with neighbour links, the
// working structure of the constrained triangulator.
//
// Triangle t has corners v[0..2] (vertex indices, counter-clockwise) and, for each corner i, the
// neighbour across the edge opposite that corner (from v[i+1] to v[i+2]) as 4 * triangle + its
// corner opposite the shared edge, or kCdtNone on the hull. Bit i of `fixed` marks that edge as a
// constraint, which no flip may remove. vertexTriangle[v] is one triangle at vertex v.
//
// Build(rings, endCount, spareVertices): from CDCT's finished edge rings, read where CDCT keeps
// them (edge ends numbered below endCount), the triangles in the order CDCT lists them, and the
// vertices' positions and elevations; with room for spareVertices more vertices before the arrays
// grow. The lists go to the room CDCT lends the
// reader (rings.scratch) when it holds them, where the result list overwrites them later.
// Throws std::bad_alloc, as CDCT's own listing does, on rings with more faces than a planar
// triangulation of their vertices has.
// FindEdge(u, w, near): a triangle with the edge u-w, in either direction, and the corner opposite
// it; triangle `near` is tried first.
// Flip(t, i): replaces the edge opposite corner i of t by the other diagonal of its quadrilateral
// (which must be strictly convex); the two triangles keep their slots.
// InsertVertex(p, near, snap): the vertex at plan position p: a corner of the triangle that holds
// p when it lies within `snap` of p in x and y, or else a new one (split of that triangle or of
// the edge that holds p, then flips to make the new vertex's surroundings Delaunay).
// Found by walking from triangle `near`; gives kCdtNone when the walk leaves the triangulation.
// When p splits a constraint edge, its halves keep the mark and `splitFixed` (when given) gets
// the edge's ends, so that the caller can carry the constraint over to the halves.
// MakeDelaunay(edges): flips every edge of the list, and those that flips expose, that is not a
// constraint and has the far vertex of its neighbour strictly inside its triangle's circle.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "geom/cdt/cdt_lent_array.h"
#include "geom/dct/dct_records.h"
#include "geom/kernel/predicates.h"

namespace geom {

constexpr std::uint32_t kCdtNone = 0xFFFFFFFFu;

struct CdtTriangle {
    std::uint32_t v[3];
    std::uint32_t n[3];
    std::uint8_t fixed;
};

struct CdtEdge {
    std::uint32_t t;
    int i;  // the corner of t opposite the edge
};

using CdtVertexPair = std::pair<std::uint32_t, std::uint32_t>;

// An edge named by its ends, with a triangle that held it when it was named: where a search for
// it looks first, since flips move edges between triangles.
struct CdtEdgeName {
    std::uint32_t u;
    std::uint32_t w;
    std::uint32_t near;
};

inline int CdtNext(int i) {
    return i == 2 ? 0 : i + 1;
}
inline int CdtPrev(int i) {
    return i == 0 ? 2 : i - 1;
}

class CdtMesh {
public:
    void Build(const DctRings& rings, std::size_t endCount, std::size_t spareVertices);

    CdtLentArray<PlanPoint> points;
    CdtLentArray<CdtTriangle> triangles;
    CdtLentArray<std::uint32_t> vertexTriangle;
    CdtLentArray<double> z;  // the elevations: CDCT's vertices' from Build, the rest set later

    // The end of the lent room the mesh's lists take, or nullptr when none is in one; the start
    // of the first of them that is in it, or nullptr.
    const void* LentEnd() const;
    const void* LentBegin() const;

    int Orient(std::uint32_t a, std::uint32_t b, std::uint32_t c) const {
        return geom::Orient(points[a], points[b], points[c]);
    }
    int CornerOf(std::uint32_t t, std::uint32_t v) const {
        const CdtTriangle& tri = triangles[t];
        return tri.v[0] == v ? 0 : (tri.v[1] == v ? 1 : 2);
    }
    bool IsFixed(const CdtEdge& e) const { return (triangles[e.t].fixed >> e.i) & 1u; }
    void SetFixed(const CdtEdge& e, bool fixed);
    // The ends of the edge (v[i+1], v[i+2]).
    CdtVertexPair Ends(const CdtEdge& e) const {
        const CdtTriangle& tri = triangles[e.t];
        return {tri.v[CdtNext(e.i)], tri.v[CdtPrev(e.i)]};
    }

    // Calls visit(t, i) for the triangles around vertex u (i: u's corner in t) until it gives
    // true; gives whether it did.
    template <typename Visit>
    bool AroundVertex(std::uint32_t u, Visit visit) const;

    bool FindEdge(std::uint32_t u, std::uint32_t w, CdtEdge& edge,
                  std::uint32_t near = kCdtNone) const;
    bool FindEdge(const CdtEdgeName& name, CdtEdge& edge) const {
        return FindEdge(name.u, name.w, edge, name.near);
    }
    void Flip(std::uint32_t t, int i);
    std::uint32_t InsertVertex(const PlanPoint& p, std::uint32_t near, double snap,
                               CdtVertexPair* splitFixed = nullptr);
    void MakeDelaunay(std::vector<CdtEdgeName>& edges);

private:
    void Link(std::uint32_t t, int i, std::uint32_t neighbour, bool fixed);
    void SetCorners(std::uint32_t t, std::uint32_t a, std::uint32_t b, std::uint32_t c);
    std::uint32_t NewTriangle();
    std::uint32_t SplitTriangle(std::uint32_t t, std::uint32_t x, std::vector<CdtEdgeName>& edges);
    std::uint32_t SplitSide(std::uint32_t t, int i, std::uint32_t x,
                            std::vector<CdtEdgeName>& edges);
    std::uint32_t SplitEdge(std::uint32_t t, int i, std::uint32_t x,
                            std::vector<CdtEdgeName>& edges);
    std::uint32_t walkState_ = 2463534242u;
};

template <typename Visit>
bool CdtMesh::AroundVertex(std::uint32_t u, Visit visit) const {
    const std::uint32_t first = vertexTriangle[u];
    std::uint32_t t = first;
    // Counter-clockwise: the next triangle shares the edge (u, v[i+2]), opposite corner i+1.
    for (;;) {
        const int i = CornerOf(t, u);
        if (visit(t, i)) {
            return true;
        }
        const std::uint32_t n = triangles[t].n[CdtNext(i)];
        if (n == kCdtNone) {
            break;
        }
        t = n >> 2;
        if (t == first) {
            return false;
        }
    }
    // A hull vertex: the rest lies clockwise from the first triangle.
    t = first;
    for (;;) {
        const std::uint32_t n = triangles[t].n[CdtPrev(CornerOf(t, u))];
        if (n == kCdtNone) {
            return false;
        }
        t = n >> 2;
        if (visit(t, CornerOf(t, u))) {
            return true;
        }
    }
}

}  // namespace geom
