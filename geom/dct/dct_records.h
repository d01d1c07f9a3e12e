// Working records of CDCT's triangulation.
//
// Vertices are the distinct plan positions (PlanPoint), numbered by their position in sorted
// order.
//
// DctEdgeEnd: one end of an undirected edge. Edge e has the ends 2 * e (at its origin) and
// 2 * e + 1 (at its destination), so the two ends of an edge are h and h ^ 1. `vertex` is the
// vertex at the end; `next` / `prev` are the ends of the next edge counter-clockwise / clockwise
// around that vertex. The edges at a vertex form one circular, doubly linked ring in
// counter-clockwise order; a new edge is a ring of one at both ends.
//
// DctTriangleCorners: a triangle found in the edge rings, as vertex numbers.
//
// DctRings: CDCT's finished edge rings as engines built on them read them (CDCT::SetRingReader),
// in CDCT's own arrays: m vertices in sorted order, for each its plan position, its elevation and
// `entries[v]`, the end of one edge at it (kDctNone when it has no edge); the edge ends; and
// `scratch`, `scratchBytes`: room of the run's result list that nothing uses during the reader's
// call (8-byte aligned), which the reader may use for its own work: its pages are the result's,
// touched once whoever writes first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>

#include "geom/kernel/plan_point.h"

namespace geom {

constexpr std::uint32_t kDctNone = 0xFFFFFFFFu;

struct DctEdgeEnd {
    std::uint32_t vertex;
    std::uint32_t next;
    std::uint32_t prev;
};

struct DctRings {
    std::uint32_t m;
    const PlanPoint* points;
    const double* z;
    const std::uint32_t* entries;
    const DctEdgeEnd* ends;
    void* scratch;
    std::size_t scratchBytes;
};

// A triangle of the result as vertex numbers: u the lowest, u, v, w counter-clockwise.
struct DctTriangleCorners {
    std::uint32_t u;
    std::uint32_t v;
    std::uint32_t w;
};

inline std::uint32_t DctEdgeOfEnd(std::uint32_t end) {
    return end >> 1;
}
inline std::uint32_t DctOriginEnd(std::uint32_t edge) {
    return edge << 1;
}
inline std::uint32_t DctDestinationEnd(std::uint32_t edge) {
    return (edge << 1) | 1u;
}

// Starts the lifetimes of `count` objects of the trivial type T, left uninitialised, in raw
// storage suitably aligned for T, and gives the first.
template <typename T>
T* DctStartArray(void* storage, std::size_t count) {
    static_assert(std::is_trivial<T>::value, "only trivial records are placed in raw storage");
    T* const first = static_cast<T*>(storage);
    for (std::size_t k = 0; k < count; ++k) {
        new (first + k) T;
    }
    return first;
}

}  // namespace geom
