// ComputeIsopach(existing, design, isopach, progress): the difference surface of two welded
// surfaces (WeldSurface) over the plan area where both exist, as one triangle mesh
// (isopach_mesh.h): the cut/fill map.
//
// Its vertices are both surfaces' vertices inside the other surface and the crossings of their
// edges, each once, with z = existing - design there (cut positive, fill negative); its faces
// triangulate the pieces of the overlay (each existing triangle's overlap with each design
// triangle), counter-clockwise in plan, on each of which both surfaces are planar, so the
// difference is linear over every face and its integral to datum 0 is the cut and fill that
// ComputeVolume gives. The design triangles an existing triangle meets are found by spreading over
// the design's neighbours from the one under its centroid, or, where it reaches over the design's
// boundary, through a grid over the design, which also finds parts of a notched design that the
// spreading cannot reach (there ComputeVolume leaves them out). Which corners lie in which triangle
// and which edges cross is decided exactly (exact predicates), so that neighbouring pieces
// share their vertices; the crossings' positions are rounded, and faces left without a plan
// area by that rounding are dropped. Both surfaces are walked in plan order (OrderSpatially), so
// that each triangle finds its neighbourhood in cache; the map's vertices and faces come in that
// order.
//
// Gives Ok (an empty mesh where the surfaces do not overlap), CoordinatesTooLarge for a surface
// beyond the measurable range (measurable_surface.h) or OutOfMemory (empty mesh).
// `progress` hears of the existing triangles done (surface_progress.h).
#pragma once

#include "geom/surface/isopach_mesh.h"
#include "geom/surface/surface_progress.h"
#include "geom/surface/surface_status.h"
#include "geom/surface/welded_surface.h"

namespace geom {

SurfaceStatus ComputeIsopach(const WeldedSurface& existing, const WeldedSurface& design,
                             IsopachMesh& isopach, const SurfaceProgress& progress = {});

}  // namespace geom
