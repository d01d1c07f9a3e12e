// Edge-ring operations of CDCT, kept inline for the divide-and-conquer loops.
//
// MakeEdge(u, v): a new edge from u to v, a ring of one at both ends, taken from the top of the
//   free-edge stack; it becomes the entry edge of an end vertex that has none yet. Gives the
//   edge. Throws "Out of memory for edges\n" when the stack is empty.
// SpliceEdge(a, b): puts end b into the ring of end a's vertex directly after a
//   (counter-clockwise); both ends lie at the same vertex.
// ConnectEdges(a, b, side): a new edge from the vertex of end a to the vertex of end b, put into
//   the ring at a's vertex after a (Right) or before a (Left), and into the ring at b's vertex
//   before b (Right) or after b (Left). Gives the edge.
// DeleteEdge(e): takes e out of the rings at both of its ends, moves an end vertex's entry edge
//   on to the next edge when it was e, and pushes e back on the free-edge stack.
#pragma once

#include "geom/dct.h"

namespace geom {

inline std::uint32_t CDCT::MakeEdge(std::uint32_t u, std::uint32_t v) {
    if (freeEdgeCount == 0) {
        throw "Out of memory for edges\n";
    }
    const std::uint32_t e = freeEdges[--freeEdgeCount];
    const std::uint32_t atU = DctOriginEnd(e);
    const std::uint32_t atV = DctDestinationEnd(e);
    DctEdge& edge = edges[e];
    edge.vertex[0] = u;
    edge.vertex[1] = v;
    edge.next[0] = atU;
    edge.prev[0] = atU;
    edge.next[1] = atV;
    edge.prev[1] = atV;
    if (vertices[u].entry == kDctNone) {
        vertices[u].entry = atU;
    }
    if (vertices[v].entry == kDctNone) {
        vertices[v].entry = atV;
    }
    return e;
}

inline void CDCT::SpliceEdge(std::uint32_t a, std::uint32_t b) {
    const std::uint32_t n = Next(a);
    Next(a) = b;
    Prev(n) = b;
    Next(b) = n;
    Prev(b) = a;
}

inline std::uint32_t CDCT::ConnectEdges(std::uint32_t a, std::uint32_t b, Side side) {
    const std::uint32_t e = MakeEdge(VertexOf(a), VertexOf(b));
    if (side == Left) {
        SpliceEdge(Prev(a), DctOriginEnd(e));
        SpliceEdge(b, DctDestinationEnd(e));
    } else {
        SpliceEdge(a, DctOriginEnd(e));
        SpliceEdge(Prev(b), DctDestinationEnd(e));
    }
    return e;
}

inline void CDCT::DeleteEdge(std::uint32_t e) {
    const std::uint32_t ends[2] = {DctOriginEnd(e), DctDestinationEnd(e)};
    for (const std::uint32_t end : ends) {
        DctVertex& vertex = vertices[VertexOf(end)];
        if (vertex.entry == end) {
            vertex.entry = Next(end);
        }
    }
    for (const std::uint32_t end : ends) {
        const std::uint32_t before = Prev(end);
        const std::uint32_t after = Next(end);
        Prev(after) = before;
        Next(before) = after;
    }
    freeEdges[freeEdgeCount++] = e;
}

}  // namespace geom
