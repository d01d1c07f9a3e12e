// GeometryError: the one exception the geometry throws when it cannot give a result. Its kind
// says what went wrong; what() gives the text the user reads, a fixed line ending in "\n"
// (TextOf(kind)); a failure that has a place in plan (boundaries crossing) carries it.
// Shortage of memory outside the triangulators' own stores comes as std::bad_alloc.
#pragma once

#include <exception>

#include "geom/kernel/plan_point.h"

namespace geom {

enum class GeometryFailure {
    kTooFewVertices,         // "A minimum of 3 vertices are required!\n"
    kStoreShort,             // "Couldn't allocate enough memory!\n"
    kWorkspaceShort,         // "Not enough memory\n"
    kEdgesShort,             // "Out of memory for edges\n"
    kNotFinite,              // "Coordinates must be finite numbers!\n"
    kPointNotFinite,         // "A point has a coordinate that is not a finite number!\n"
    kBadEdgeLength,          // "The maximum edge length must be a finite number not below 0!\n"
    kBadSnapTolerance,       // "The snap tolerance must be a finite number not below 0!\n"
    kBadBoundary,            // "A boundary needs at least 3 vertices that are not all on ..."
    kBoundariesCross,        // "Boundaries must not cross themselves or each other!\n"
    kNothingLeft,            // "No triangle is left inside the boundaries!\n"
    kAllTrimmed,             // "No triangle is left within the maximum edge length!\n"
    kConstraintsUnresolved,  // "The lines could not be put into the triangulation!\n"
    kTriangulatedOnce,       // "The constrained triangulation can be run once only!\n"
};

const char* TextOf(GeometryFailure kind);

class GeometryError : public std::exception {
public:
    explicit GeometryError(GeometryFailure kind) : kind_(kind) {}
    GeometryError(GeometryFailure kind, PlanPoint position)
        : kind_(kind), position_(position), hasPosition_(true) {}

    GeometryFailure Kind() const { return kind_; }
    bool HasPosition() const { return hasPosition_; }
    PlanPoint Position() const { return position_; }
    const char* what() const noexcept override { return TextOf(kind_); }

private:
    GeometryFailure kind_;
    PlanPoint position_{0.0, 0.0};
    bool hasPosition_ = false;
};

}  // namespace geom
