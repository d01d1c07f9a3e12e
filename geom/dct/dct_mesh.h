// DctMesh: the edge rings of CDCT's workspace and the operations on them, as a small value that
// the triangulation loops copy into locals (so the spare-edge state stays in registers) and hand
// back when done.
//
// Input: the vertices' plan positions, their entry ends (kDctNone until the vertex gets an edge),
// the array of edge ends (two per edge record) and the spare-edge state. Vertices are numbered by
// position in the sorted vertex array; edge ends are numbered 2 * edge + side (see DctEdgeEnd).
//
// Spare edges: the spare records form a list, linked through their origin ends' `vertex` fields,
// that starts as every record from the end of the array down to its start; a deleted record
// goes on its front, so it is handed out again before any unused one, the last deleted first.
//
// Operations:
// MakeEdge(u, v): a new edge from u to v, a ring of one at both ends; it becomes the entry edge
//   of an end vertex that has none yet. Gives the edge. Throws "Out of memory for edges\n" when no
//   record is spare.
// SpliceEdge(a, b): puts end b into the ring of end a's vertex directly after a
//   (counter-clockwise); both ends lie at the same vertex.
// ConnectEdges(a, b, side): a new edge from the vertex of end a to the vertex of end b, put into
//   the ring at a's vertex after a (Right) or before a (Left), and into the ring at b's vertex
//   before b (Right) or after b (Left). Gives the edge.
// DeleteEdge(e): takes e out of the rings at both of its ends, moves an end vertex's entry edge
//   on to the next edge counter-clockwise when it was e, and makes the record spare.
#pragma once

#include <cstdint>

#include "geom/dct/dct_records.h"

namespace geom {

// The spare-edge state: the first record of the list of spare records (kDctNone when empty).
struct DctSpareEdges {
    std::uint32_t first;
};

// Links the records 0 .. count - 1 of `ends` into the list of spare records, the last first.
inline DctSpareEdges DctLinkSpareEdges(DctEdgeEnd* ends, std::uint32_t count) {
    for (std::uint32_t e = 0; e < count; ++e) {
        ends[DctOriginEnd(e)].vertex = e == 0 ? kDctNone : e - 1;
    }
    return DctSpareEdges{count == 0 ? kDctNone : count - 1};
}

class DctMesh {
public:
    enum Side { Right = 0, Left = 1 };

    DctMesh(const PlanPoint* points, std::uint32_t* entries, DctEdgeEnd* ends, DctSpareEdges spare)
        : points_(points), entries_(entries), ends_(ends), spare_(spare) {}

    DctSpareEdges Spare() const { return spare_; }

    const PlanPoint& Point(std::uint32_t v) const { return points_[v]; }
    std::uint32_t VertexOf(std::uint32_t end) const { return ends_[end].vertex; }
    std::uint32_t Next(std::uint32_t end) const { return ends_[end].next; }
    std::uint32_t Prev(std::uint32_t end) const { return ends_[end].prev; }
    // The plan position of the far vertex of an end's edge.
    const PlanPoint& FarPoint(std::uint32_t end) const { return points_[ends_[end ^ 1u].vertex]; }

    std::uint32_t MakeEdge(std::uint32_t u, std::uint32_t v) {
        const std::uint32_t e = TakeEdge();
        const std::uint32_t atU = DctOriginEnd(e);
        const std::uint32_t atV = DctDestinationEnd(e);
        ends_[atU] = DctEdgeEnd{u, atU, atU};
        ends_[atV] = DctEdgeEnd{v, atV, atV};
        if (entries_[u] == kDctNone) {
            entries_[u] = atU;
        }
        if (entries_[v] == kDctNone) {
            entries_[v] = atV;
        }
        return e;
    }

    void SpliceEdge(std::uint32_t a, std::uint32_t b) {
        const std::uint32_t n = ends_[a].next;
        ends_[a].next = b;
        ends_[n].prev = b;
        ends_[b].next = n;
        ends_[b].prev = a;
    }

    std::uint32_t ConnectEdges(std::uint32_t a, std::uint32_t b, Side side) {
        // Both vertices are ends of existing edges and so have their entry edge already.
        if (side == Left) {
            return InsertEdge(VertexOf(a), Prev(a), a, VertexOf(b), b, Next(b));
        }
        return InsertEdge(VertexOf(a), a, Next(a), VertexOf(b), Prev(b), b);
    }

    // A new edge from u to v, put between the ends atU and afterU (counter-clockwise) in the
    // ring at u and between beforeV and atV in the ring at v. Gives the edge.
    std::uint32_t InsertEdge(std::uint32_t u, std::uint32_t atU, std::uint32_t afterU,
                             std::uint32_t v, std::uint32_t beforeV, std::uint32_t atV) {
        const std::uint32_t e = TakeEdge();
        const std::uint32_t fromU = DctOriginEnd(e);
        const std::uint32_t toV = DctDestinationEnd(e);
        ends_[fromU] = DctEdgeEnd{u, afterU, atU};
        ends_[toV] = DctEdgeEnd{v, atV, beforeV};
        ends_[atU].next = fromU;
        ends_[afterU].prev = fromU;
        ends_[beforeV].next = toV;
        ends_[atV].prev = toV;
        return e;
    }

    void DeleteEdge(std::uint32_t e) {
        const std::uint32_t ends[2] = {DctOriginEnd(e), DctDestinationEnd(e)};
        for (const std::uint32_t end : ends) {
            // Computed without a branch, which would often be mispredicted.
            std::uint32_t& entry = entries_[ends_[end].vertex];
            const std::uint32_t moves = 0u - static_cast<std::uint32_t>(entry == end);
            entry ^= (entry ^ ends_[end].next) & moves;
        }
        for (const std::uint32_t end : ends) {
            const std::uint32_t before = ends_[end].prev;
            const std::uint32_t after = ends_[end].next;
            ends_[after].prev = before;
            ends_[before].next = after;
        }
        ends_[ends[0]].vertex = spare_.first;
        spare_.first = e;
    }

private:
    std::uint32_t TakeEdge() {
        const std::uint32_t e = spare_.first;
        if (e == kDctNone) {
            ThrowOutOfEdges();
        }
        spare_.first = ends_[DctOriginEnd(e)].vertex;
        return e;
    }

    [[noreturn]] static void ThrowOutOfEdges();

    const PlanPoint* points_;
    std::uint32_t* entries_;
    DctEdgeEnd* ends_;
    DctSpareEdges spare_;
};

}  // namespace geom
