// CDCT::ExtractTriangles: lists every bounded face of the edge rings as a triangle, once, from
// its lowest vertex. For each vertex u in order, its ring is walked counter-clockwise from its
// entry edge; an edge to a higher vertex v and the next edge around u, to a higher vertex w,
// bound a face when an edge from v to w closes it and w lies strictly counter-clockwise of v
// seen from u. The triangle gets the indices u, then the lower and the higher of v and w, and is
// turned counter-clockwise.
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
    for (std::uint32_t u = 0; u < m; ++u) {
        const std::uint32_t start = vertices[u].entry;
        std::uint32_t e = start;
        do {
            const std::uint32_t v = VertexOf(e ^ 1u);
            const std::uint32_t n = Next(e);
            const std::uint32_t w = VertexOf(n ^ 1u);
            if (u < v && u < w && DctEdgeOfEnd(Next(n ^ 1u)) == DctEdgeOfEnd(Prev(e ^ 1u)) &&
                DctOrient(vertices[u], vertices[v], vertices[w]) > 0) {
                CTriangle& triangle = result.emplace_back();
                triangle.i1 = static_cast<std::int32_t>(u);
                triangle.i2 = static_cast<std::int32_t>(v < w ? v : w);
                triangle.i3 = static_cast<std::int32_t>(v < w ? w : v);
                triangle.p1 = Corner(vertices[u]);
                triangle.p2 = Corner(vertices[triangle.i2]);
                triangle.p3 = Corner(vertices[triangle.i3]);
                triangle.MakeCounterClockwise();
            }
            e = n;
        } while (e != start);
    }
}

}  // namespace geom
