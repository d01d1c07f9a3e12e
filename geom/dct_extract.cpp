// CDCT::ExtractTriangles: lists every bounded face of the edge rings as a triangle, once, from
// its lowest vertex. For each vertex u in order, its ring is walked counter-clockwise from its
// entry edge; an edge to a higher vertex v and the next edge around u, to a higher vertex w,
// bound a face when an edge from v to w closes it and w lies strictly counter-clockwise of v
// seen from u (decided exactly). The triangle gets the indices u, v, w: counter-clockwise.
#include "geom/dct.h"
#include "geom/dct_predicates.h"

namespace geom {

namespace {

CVertex Corner(const DctVertex& vertex) {
    return CVertex(vertex.x, vertex.y, vertex.z);
}

}  // namespace

void CDCT::ExtractTriangles(std::uint32_t m) {
    result.reserve(2 * static_cast<std::size_t>(m));
    const DctEdgeEnd* const ends = edges.get();
    const DctVertex* const corners = vertices.get();
    CTriangle triangle;  // filled in place and copied, which is cheaper than building in the list
    for (std::uint32_t u = 0; u < m; ++u) {
        triangle.i1 = static_cast<std::int32_t>(u);
        triangle.p1 = Corner(corners[u]);
        const std::uint32_t start = corners[u].entry;
        std::uint32_t e = start;
        do {
            const std::uint32_t v = ends[e ^ 1u].vertex;
            const std::uint32_t n = ends[e].next;
            const std::uint32_t w = ends[n ^ 1u].vertex;
            if (u < v && u < w &&
                DctEdgeOfEnd(ends[n ^ 1u].next) == DctEdgeOfEnd(ends[e ^ 1u].prev) &&
                DctOrientSign(corners[u], corners[v], corners[w]) > 0) {
                // u, v, w run counter-clockwise: the order that turning (u, lower, higher)
                // counter-clockwise gives, without the plain orientation test of that turn.
                triangle.i2 = static_cast<std::int32_t>(v);
                triangle.i3 = static_cast<std::int32_t>(w);
                triangle.p2 = Corner(corners[v]);
                triangle.p3 = Corner(corners[w]);
                result.push_back(triangle);
            }
            e = n;
        } while (e != start);
    }
}

}  // namespace geom
