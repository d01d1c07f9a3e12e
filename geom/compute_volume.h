// ComputeVolume(existing, design, result): cut and fill between two welded surfaces
// (WeldSurface) over the plan area where both exist (volume_result.h: cut where `existing` lies
// above `design`).
//
// The surfaces' triangles are overlaid in plan: each triangle of `existing` is clipped against
// every triangle of `design` it overlaps (found through a uniform grid over `design`), and over
// each piece, a convex polygon on which both surfaces are planar, the difference is integrated
// exactly, split where it changes sign. Exact up to rounding for these piecewise-planar
// surfaces. Swapping the surfaces swaps cut and fill.
//
// Gives Ok (all zero where the surfaces do not overlap) or OutOfMemory (result zero).
#pragma once

#include "geom/surface_status.h"
#include "geom/volume_result.h"
#include "geom/welded_surface.h"

namespace geom {

SurfaceStatus ComputeVolume(const WeldedSurface& existing, const WeldedSurface& design,
                            VolumeResult& result);

}  // namespace geom
