// CDCT::ExtractTriangles: lists every bounded face of the edge rings as a triangle, once, from
// its lowest vertex. For each vertex u in order, its ring is walked counter-clockwise from its
// entry edge; an edge to a higher vertex v and the next edge around u, to a higher vertex w,
// bound a face when an edge from v to w closes it and w lies strictly counter-clockwise of v
// seen from u. The triangle gets the indices u, then the lower and the higher of v and w, and is
// turned counter-clockwise.
//
// The rings of a batch of consecutive vertices are walked side by side, one step each in turn,
// so that the memory reads of several walks overlap; the faces found are kept per vertex and
// appended in vertex order.
#include <algorithm>

#include "geom/dct.h"
#include "geom/dct_predicates.h"

namespace geom {

namespace {

constexpr std::uint32_t kWalkBatch = 16;

CVertex Corner(const DctVertex& vertex) {
    return CVertex(vertex.x, vertex.y, vertex.z);
}

}  // namespace

void CDCT::ExtractTriangles(std::uint32_t m) {
    result.reserve(2 * static_cast<std::size_t>(m));
    const DctEdgeEnd* const ends = edges.get();
    const DctVertex* const corners = vertices.get();
    std::vector<std::uint32_t> faces[kWalkBatch];  // per vertex of the batch: v, w of each face
    for (std::uint32_t first = 0; first < m; first += kWalkBatch) {
        const std::uint32_t count = std::min(kWalkBatch, m - first);
        std::uint32_t start[kWalkBatch];
        std::uint32_t at[kWalkBatch];
        bool walking[kWalkBatch];
        for (std::uint32_t s = 0; s < count; ++s) {
            start[s] = corners[first + s].entry;
            at[s] = start[s];
            walking[s] = true;
            faces[s].clear();
        }
        for (std::uint32_t open = count; open > 0;) {
            for (std::uint32_t s = 0; s < count; ++s) {
                if (!walking[s]) {
                    continue;
                }
                const std::uint32_t u = first + s;
                const std::uint32_t e = at[s];
                const std::uint32_t v = ends[e ^ 1u].vertex;
                const std::uint32_t n = ends[e].next;
                const std::uint32_t w = ends[n ^ 1u].vertex;
                if (u < v && u < w &&
                    DctEdgeOfEnd(ends[n ^ 1u].next) == DctEdgeOfEnd(ends[e ^ 1u].prev) &&
                    DctOrient(corners[u], corners[v], corners[w]) > 0) {
                    faces[s].push_back(v);
                    faces[s].push_back(w);
                }
                at[s] = n;
                if (n == start[s]) {
                    walking[s] = false;
                    --open;
                }
            }
        }
        for (std::uint32_t s = 0; s < count; ++s) {
            const std::uint32_t u = first + s;
            for (std::size_t k = 0; k < faces[s].size(); k += 2) {
                const std::uint32_t v = faces[s][k];
                const std::uint32_t w = faces[s][k + 1];
                CTriangle& triangle = result.emplace_back();
                triangle.i1 = static_cast<std::int32_t>(u);
                triangle.i2 = static_cast<std::int32_t>(std::min(v, w));
                triangle.i3 = static_cast<std::int32_t>(std::max(v, w));
                triangle.p1 = Corner(corners[u]);
                triangle.p2 = Corner(corners[triangle.i2]);
                triangle.p3 = Corner(corners[triangle.i3]);
                triangle.MakeCounterClockwise();
            }
        }
    }
}

}  // namespace geom
