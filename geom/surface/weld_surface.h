// WeldSurface(meshes, surface, where, progress): joins the meshes of one surface into
// `surface`.
//
// Vertices at exactly the same plan position (x and y equal as doubles) become one point,
// within a mesh and across meshes; they must have the same elevation. Each face is turned
// counter-clockwise in plan; faces with two corners at one point are dropped (counted in
// collapsedFaces), faces whose corners lie on one line in plan become walls (welded_surface.h).
// Neighbours across edges are found; the faces must form one sheet over the plan: an edge may
// be shared by two faces at most, lying on its two sides, and no two faces' interiors may
// overlap seen from above (decided exactly, find_plan_overlap.h); faces that only share edges
// or corners are one sheet.
//
// Gives Ok, or the first fault found (surface_status.h), checked in this order: non-finite
// coordinates, face indices out of range, too many vertices or faces, conflicting elevations,
// overlapping faces, memory. When `where` is given, a fault's mesh and vertex (face for
// FaceIndexOutOfRange and OverlappingFaces) are written to it. On a fault `surface` is empty.
// `progress` hears of the faces linked to their neighbours (surface_progress.h).
#pragma once

#include <vector>

#include "geom/surface/surface_mesh.h"
#include "geom/surface/surface_progress.h"
#include "geom/surface/surface_status.h"
#include "geom/surface/welded_surface.h"

namespace geom {

SurfaceStatus WeldSurface(const std::vector<SurfaceMesh>& meshes, WeldedSurface& surface,
                          MeshPosition* where = nullptr, const SurfaceProgress& progress = {});

}  // namespace geom
