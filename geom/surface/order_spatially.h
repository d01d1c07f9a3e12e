// OrderSpatially(surface): the same welded surface (WeldSurface) renumbered so that what lies
// together in plan lies together in memory: its points, and its triangles by their first corner,
// follow a Hilbert curve over the plan (cell by cell of a grid of about eight triangles per cell,
// keeping their order within a cell), and the triangles' corners and across[] are renumbered
// with them. So the points are no longer ascending by x and y. Walls and collapsedFaces are not
// carried over. Throws std::bad_alloc when memory is short.
//
// Functions that visit every triangle and reach out to its neighbours (ComputeIsopach) then find
// what they touch in cache instead of far off in memory.
#pragma once

#include "geom/surface/welded_surface.h"

namespace geom {

WeldedSurface OrderSpatially(const WeldedSurface& surface);

}  // namespace geom
