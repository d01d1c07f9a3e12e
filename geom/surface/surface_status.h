// SurfaceStatus: what the surface functions (WeldSurface, TraceContours,
// ComputeSurfaceStatistics, ComputeVolume, ComputeDatumVolume) give back. They never throw; a
// result other than Ok leaves their output empty or zero.
//
// MeshPosition: where WeldSurface found a fault: the mesh (its position in the list given) and
// the vertex or face in that mesh, as the status says.
#pragma once

#include <cstddef>

namespace geom {

enum class SurfaceStatus {
    Ok,
    OutOfMemory,           // an allocation failed; nothing was produced
    NonFiniteCoordinate,   // a vertex with an x, y or z that is infinite or not a number
    FaceIndexOutOfRange,   // a face names a vertex its mesh does not have
    TooManyElements,       // more than 2^31 - 1 vertices or 2^30 - 1 faces in all
    ConflictingElevation,  // two vertices at one plan position with different elevations
    OverlappingFaces,      // two faces whose interiors overlap in plan (seen from above)
    EmptySurface,          // statistics of a surface without vertices
    InvalidLevels,         // contour interval not finite and positive, or base not finite
    TooManyLevels,         // more contour levels than kMaxContourLevels
    InvalidDatum,          // datum elevation not finite
    CoordinatesTooLarge,   // a point beyond the measurable range (measurable_surface.h)
    DatumTooLarge,         // a finite datum beyond the measurable range
};

struct MeshPosition {
    std::size_t mesh = 0;
    std::size_t index = 0;
};

}  // namespace geom
