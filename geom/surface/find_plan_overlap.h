// FindPlanOverlap(surface): a triangle of a welded surface (WeldSurface has linked its
// neighbours) whose interior overlaps another triangle's seen from above, or -1 when no two
// overlap. Triangles that only share edges or corners, or whose corner lies on another's edge
// from outside, do not overlap.
//
// The triangles turn counter-clockwise and neighbours lie on opposite sides of their shared
// edge, so the number of triangles over a plan position is the winding number of the surface's
// open edges (those without a neighbour) around it: the check sweeps those edges alone, from
// left to right, and finds the first place covered twice. Every decision is an exact orientation
// sign (plan_orient_sign.h); its cost is m log m for m open edges. Throws std::bad_alloc when
// memory is short.
#pragma once

#include <cstdint>

#include "geom/surface/welded_surface.h"

namespace geom {

std::int32_t FindPlanOverlap(const WeldedSurface& surface);

}  // namespace geom
