#include "geom/kernel/geometry_error.h"

namespace geom {

const char* TextOf(GeometryFailure kind) {
    switch (kind) {
        case GeometryFailure::kTooFewVertices:
            return "A minimum of 3 vertices are required!\n";
        case GeometryFailure::kStoreShort:
            return "Couldn't allocate enough memory!\n";
        case GeometryFailure::kWorkspaceShort:
            return "Not enough memory\n";
        case GeometryFailure::kEdgesShort:
            return "Out of memory for edges\n";
        case GeometryFailure::kNotFinite:
            return "Coordinates must be finite numbers!\n";
        case GeometryFailure::kPointNotFinite:
            return "A point has a coordinate that is not a finite number!\n";
        case GeometryFailure::kBadEdgeLength:
            return "The maximum edge length must be a finite number not below 0!\n";
        case GeometryFailure::kBadSnapTolerance:
            return "The snap tolerance must be a finite number not below 0!\n";
        case GeometryFailure::kBadBoundary:
            return "A boundary needs at least 3 vertices that are not all on one line!\n";
        case GeometryFailure::kBoundariesCross:
            return "Boundaries must not cross themselves or each other!\n";
        case GeometryFailure::kNothingLeft:
            return "No triangle is left inside the boundaries!\n";
        case GeometryFailure::kAllTrimmed:
            return "No triangle is left within the maximum edge length!\n";
        case GeometryFailure::kConstraintsUnresolved:
            return "The lines could not be put into the triangulation!\n";
        case GeometryFailure::kTriangulatedOnce:
            return "The constrained triangulation can be run once only!\n";
    }
    return "Unexpected failure!\n";
}

}  // namespace geom
