// ComputeVolume(existing, design, result, progress): cut and fill between two welded surfaces
// (WeldSurface) over the plan area where both exist (volume_result.h: cut where `existing` lies
// above `design`).
//
// The surfaces' triangles are overlaid in plan: each triangle of `existing` is clipped against
// every triangle of `design` it overlaps, and over each piece, a convex polygon on which both
// surfaces are planar, the difference is integrated exactly, split where it changes sign. Exact
// up to rounding for these piecewise-planar surfaces. Swapping the surfaces swaps cut and fill.
// The overlapping design triangles are found by spreading over the design's neighbours from the
// one under the existing triangle's centroid, or through a uniform grid over `design` where
// that one cannot be found (outside the design) or the pieces do not make up the triangle.
//
// Gives Ok (all zero where the surfaces do not overlap), CoordinatesTooLarge when a point of
// either surface lies beyond the measurable range (measurable_surface.h) or OutOfMemory (result
// zero).
// `progress` hears of the existing triangles done (surface_progress.h).
#pragma once

#include "geom/surface/surface_progress.h"
#include "geom/surface/surface_status.h"
#include "geom/surface/volume_result.h"
#include "geom/surface/welded_surface.h"

namespace geom {

SurfaceStatus ComputeVolume(const WeldedSurface& existing, const WeldedSurface& design,
                            VolumeResult& result, const SurfaceProgress& progress = {});

}  // namespace geom
