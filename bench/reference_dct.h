// reference_dct: the divide-and-conquer triangulation as CDCT defines it, written out plainly with
// edge records that point at their vertices and neighbours, the plain top-down merge sort and the
// tests' exact predicates for every decision. The benchmarks check with it that CDCT's output is
// unchanged by its optimisations: same vertex list, same triangles in the same order.
//
// Triangulate(points): the triangles and the vertex list CDCT gives for the points (finite
// coordinates, at least three distinct plan positions), added in the given order.
// ResultHash(triangles, vertices): a 64-bit hash of every field of both lists (doubles bit for
// bit), in list order.
#pragma once

#include <cstdint>
#include <vector>

#include "geom/kernel/triangle.h"
#include "geom/kernel/vertex.h"

namespace reference_dct {

struct Output {
    std::vector<geom::CTriangle> triangles;
    std::vector<geom::CVertex> vertices;
};

Output Triangulate(const std::vector<geom::CVertex>& points);

std::uint64_t ResultHash(const std::vector<geom::CTriangle>& triangles,
                         const std::vector<geom::CVertex>& vertices);

}  // namespace reference_dct
