// CdtTouchWays: reads the parts of a CdtMesh that inserting a few constraint segments will read,
// all segments at once, so that their cache misses overlap instead of coming one after another.
//
// Input: the mesh and `count` segments, segment k running from vertex ends[2k] to ends[2k + 1].
// For each segment the walk goes round its first vertex to the triangle the way leaves through,
// then from triangle to triangle across the way (as the insertion does), reading each triangle's
// corners' positions and its neighbours' far corners. The walks take turns, one triangle each.
// Output: nothing. The mesh is only read, and a walk that meets anything unusual (the hull, a
// vertex on the way, a long way) stops: what it reads is a hint for the cache, never a result.
#pragma once

#include <cstdint>

#include "geom/cdt/cdt_mesh.h"

namespace geom {

void CdtTouchWays(const CdtMesh& mesh, const std::uint32_t* ends, std::uint32_t count);

}  // namespace geom
