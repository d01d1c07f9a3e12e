// AddFinitePoint(triangulator, x, y, z): hands the point to the triangulator's AddPoint and gives
// its result. A point with a coordinate that is not a finite number (NaN or infinite, also one
// made so by a shift or scale) never reaches a triangulator: it is refused by throwing the
// GeometryError kPointNotFinite, as the triangulators throw their failures; RunWorkerGuarded
// prints it and ends the call.
#pragma once

#include <cmath>

#include "geom/kernel/geometry_error.h"

template <typename Triangulator>
int AddFinitePoint(Triangulator& triangulator, double x, double y, double z) {
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) {
        throw geom::GeometryError(geom::GeometryFailure::kPointNotFinite);
    }
    return triangulator.AddPoint(x, y, z);
}
