// ComputeSurfaceStatistics(surface, statistics): counts, elevations and areas of a welded
// surface (WeldSurface).
//
// vertexCount: the surface's points (vertices shared by several meshes counted once);
// triangleCount: its faces with three distinct corners (triangles and walls);
// minElevation, maxElevation, meanElevation: over the points;
// planArea: the area the triangles cover in plan; surfaceArea: the area of the faces in space
// (walls included).
//
// Gives Ok, EmptySurface when the surface has no points, CoordinatesTooLarge when a point lies
// beyond the measurable range (measurable_surface.h; statistics then all zero).
#pragma once

#include <cstddef>

#include "geom/surface/surface_status.h"
#include "geom/surface/welded_surface.h"

namespace geom {

struct SurfaceStatistics {
    std::size_t vertexCount = 0;
    std::size_t triangleCount = 0;
    double minElevation = 0.0;
    double maxElevation = 0.0;
    double meanElevation = 0.0;
    double planArea = 0.0;
    double surfaceArea = 0.0;
};

SurfaceStatus ComputeSurfaceStatistics(const WeldedSurface& surface, SurfaceStatistics& statistics);

}  // namespace geom
