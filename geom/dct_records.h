// Working records of CDCT's triangulation.
//
// DctVertex: one distinct plan position (x, y) with its elevation z and `entry`, the end of one
// edge at this vertex (kDctNone until the first edge is made). Vertices are numbered by their
// position in the sorted vertex array.
//
// DctEdge: an undirected edge stored with a direction, end 0 at its origin and end 1 at its
// destination. An edge end is named by the number 2 * edge + side, so the two ends of an edge
// are h and h ^ 1. For each end, `vertex` is the vertex there, and `next` / `prev` are the ends
// of the next edge counter-clockwise / clockwise around that vertex. The edges at a vertex form
// one circular, doubly linked ring in counter-clockwise order; a new edge is a ring of one at
// both ends.
#pragma once

#include <cstdint>

namespace geom {

constexpr std::uint32_t kDctNone = 0xFFFFFFFFu;

struct DctVertex {
    double x;
    double y;
    double z;
    std::uint32_t entry;
};

struct DctEdge {
    std::uint32_t vertex[2];
    std::uint32_t next[2];
    std::uint32_t prev[2];
};

inline std::uint32_t DctEdgeOfEnd(std::uint32_t end) {
    return end >> 1;
}
inline std::uint32_t DctSideOfEnd(std::uint32_t end) {
    return end & 1u;
}
inline std::uint32_t DctOriginEnd(std::uint32_t edge) {
    return edge << 1;
}
inline std::uint32_t DctDestinationEnd(std::uint32_t edge) {
    return (edge << 1) | 1u;
}

}  // namespace geom
