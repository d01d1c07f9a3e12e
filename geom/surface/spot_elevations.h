// SpotElevations(meshes, positions, elevations, where): the elevations of a surface at plan
// positions, taken from the meshes as they were read (SurfaceMesh): spot levels need no welded
// surface, so the meshes' faces are visited once each, and matched against the positions through
// a grid over the positions.
//
// elevations receives one value per position: the elevation of the plane of a face that holds
// the position (inside it, or on an edge or corner, decided exactly), or NaN when no face does.
// Faces with no plan area are passed over.
//
// Gives Ok; NonFiniteCoordinate or FaceIndexOutOfRange with where naming the mesh and the vertex
// or face; ConflictingElevation when two faces holding one position give it elevations more than
// 1e-9 of their size apart (overlapping meshes), where.mesh then naming the mesh of the second
// face and where.index the position. On a fault elevations is empty.
// Throws std::bad_alloc when memory is short.
#pragma once

#include <vector>

#include "geom/surface/surface_mesh.h"
#include "geom/surface/surface_status.h"
#include "geom/surface/trace_contours.h"

namespace geom {

SurfaceStatus SpotElevations(const std::vector<SurfaceMesh>& meshes,
                             const std::vector<PlanPoint>& positions,
                             std::vector<double>& elevations, MeshPosition& where);

}  // namespace geom
