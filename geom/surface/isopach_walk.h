// WalkIsopach(existing, design, out, progress): the cut/fill map's vertices and faces
// (isopach_mesh.h) appended to `out`, found by walking the design for each existing triangle in
// turn, both surfaces best in plan order (OrderSpatially) so that each triangle finds its
// neighbourhood in cache.
//
// For each existing triangle with a plan area and a plane, the design triangles it overlaps are
// found by spreading over the design's neighbours from the one under its centroid; where it
// reaches over the design's boundary, also from the design's boundary triangles near it, and
// they are then taken in the order of a grid over the design (built only where neither start is
// found inside the design). Each overlap (a convex piece) is fanned into faces, counter-clockwise
// in plan. Sides are decided exactly; each vertex
// (an existing or design point, or a crossing of their edges) is made once, with
// z = existing - design. `progress` hears of the existing triangles done (surface_progress.h).
// Throws std::bad_alloc when memory is short.
#pragma once

#include "geom/surface/isopach_mesh.h"
#include "geom/surface/surface_progress.h"
#include "geom/surface/welded_surface.h"

namespace geom {

void WalkIsopach(const WeldedSurface& existing, const WeldedSurface& design, IsopachMesh& out,
                 const SurfaceProgress& progress);

}  // namespace geom
