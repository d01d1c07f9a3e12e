// The triangles of CDCT's finished edge rings, in two steps: first as vertex numbers, then as the
// result list, built over the workspace once the rings are no longer needed.
//
// ListTriangles: every bounded face of the rings, once, from its lowest vertex, as vertex
// numbers. For each vertex u in order, its ring is walked counter-clockwise from its entry edge;
// an edge to a higher vertex v and the next edge around u, to a higher vertex w, bound a face
// when an edge from v to w closes it and w lies strictly counter-clockwise of v seen from u
// (decided exactly; `bound` is the orientation bound of the span of all vertices). The triangle
// (u, v, w) is counter-clockwise.
// The orientation test is needed at vertex 0 only: the rings form a planar triangulation, whose
// faces are counter-clockwise triangles except the outer one, and the outer face passes the
// closing test only when the hull is a triangle or the vertices lie on one line, and then from
// its lowest vertex, vertex 0 (the leftmost, which is on the hull). Rings whose decisions were not
// all exact (`exact` false: coordinates not finite, or a span so wide that the arithmetic
// overflows) are not relied on, and are tested at every vertex.
//
// ExtractTriangles: the triangles as the result list, with the corners' coordinates.
#include <new>

#include "geom/dct/dct.h"
#include "geom/kernel/merge_predicates.h"

namespace geom {

std::size_t CDCT::ListTriangles(double bound, bool exact) {
    // A triangulation of m vertices has at most 2m - 5 triangles; the list has room for 2m, of
    // which ExtractTriangles needs the last two to stay clear.
    const std::size_t limit = 2 * static_cast<std::size_t>(vertexCount) - 2;
    std::size_t count = 0;
    const DctEdgeEnd* const ends = edges;
    const PlanPoint* const at = points;
    const std::uint32_t testedBelow = exact ? 1 : vertexCount;
    for (std::uint32_t u = 0; u < vertexCount; ++u) {
        const std::uint32_t start = entries[u];
        const bool tested = u < testedBelow;
        std::uint32_t e = start;
        do {
            const std::uint32_t v = ends[e ^ 1u].vertex;
            const std::uint32_t n = ends[e].next;
            const std::uint32_t w = ends[n ^ 1u].vertex;
            if (u < v && u < w &&
                DctEdgeOfEnd(ends[n ^ 1u].next) == DctEdgeOfEnd(ends[e ^ 1u].prev) &&
                (!tested || OrientWithin(at[u], at[v], at[w], bound) > 0)) {
                if (count == limit) {
                    throw std::bad_alloc();  // rings that are no planar triangulation
                }
                corners[count++] = DctTriangleCorners{u, v, w};
            }
            e = n;
        } while (e != start);
    }
    return count;
}

// The corner list lies at the top of the result's room, triangle k's corners at least as far up
// as the end of triangle k itself, so each is read before the triangles built reach it.
void CDCT::ExtractTriangles(std::size_t count) {
    CTriangle triangle;  // filled in place and copied, which is cheaper than building in the list
    for (std::size_t k = 0; k < count; ++k) {
        const DctTriangleCorners c = corners[k];
        triangle.i1 = static_cast<std::int32_t>(c.u);
        triangle.i2 = static_cast<std::int32_t>(c.v);
        triangle.i3 = static_cast<std::int32_t>(c.w);
        triangle.p1 = CVertex(points[c.u].x, points[c.u].y, elevations[c.u]);
        triangle.p2 = CVertex(points[c.v].x, points[c.v].y, elevations[c.v]);
        triangle.p3 = CVertex(points[c.w].x, points[c.w].y, elevations[c.w]);
        result.push_back(triangle);
    }
}

}  // namespace geom
