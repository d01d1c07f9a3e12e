// CdtExtract: the result lists of the constrained triangulator from the mesh.
//
// Input: the mesh, whose first `sortedCount` vertices are sorted by x, then y (the later ones
// being crossing vertices, in any order), the triangle states (only kCdtKept triangles are
// listed; an empty list: every triangle) and the vertices' elevations. Output: `vertices`, the
// vertices that kept triangles use, sorted by x, then y; `triangles`, each counter-clockwise with
// i1 its lowest index, grouped by i1 in ascending order and within one i1 in mesh order, its
// corners the vertices of `vertices` it names. The room `triangles` has is used where it suffices,
// also for the work (the mesh's triangles may lie in it: they are read before anything is written
// over them). Throws std::bad_alloc when the lists cannot be had.
#pragma once

#include <cstdint>
#include <vector>

#include "geom/cdt/cdt_mesh.h"
#include "geom/kernel/triangle.h"
#include "geom/kernel/vertex.h"

namespace geom {

void CdtExtract(const CdtMesh& mesh, std::uint32_t sortedCount,
                const std::vector<std::uint8_t>& state, const CdtLentArray<double>& z,
                std::vector<CTriangle>& triangles, std::vector<CVertex>& vertices);

}  // namespace geom
