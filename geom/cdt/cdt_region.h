// The part of a constrained triangulation that makes the surface.
//
// CdtClassifyRegion(mesh, records, hasOuter, hasHoles): the state of every triangle: kCdtKept,
// kCdtOutside (outside the outer boundary) or kCdtHidden (inside a hole). Walks the triangles
// from the hull, counting the outer-boundary and hole winding numbers across the constraint
// edges (their records' steps); a triangle is kept when the outer winding number is not zero
// (or there is no outer boundary) and the hole winding number is zero. With neither an outer
// boundary nor a hole every triangle is kept, and the list is left empty, which says so.
//
// CdtTrimLongEdges(mesh, maxLength, state): removes, from the outside inwards, the kept triangles
// that have an edge on the outside longer than maxLength, that edge being no constraint. The
// outside is the hull and every triangle outside the outer boundary or already removed; hole
// rims never count as outside, so no hole is opened or widened in the interior. An empty state
// list (every triangle kept) is filled first.
#pragma once

#include <cstdint>
#include <vector>

#include "geom/cdt/cdt_constraints.h"
#include "geom/cdt/cdt_mesh.h"

namespace geom {

enum CdtTriangleState : std::uint8_t { kCdtOutside = 0, kCdtKept = 1, kCdtHidden = 2 };

std::vector<std::uint8_t> CdtClassifyRegion(const CdtMesh& mesh, const CdtConstraintTable& records,
                                            bool hasOuter, bool hasHoles);

void CdtTrimLongEdges(const CdtMesh& mesh, double maxLength, std::vector<std::uint8_t>& state);

}  // namespace geom
