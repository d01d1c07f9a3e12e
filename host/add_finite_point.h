// AddFinitePoint(triangulator, x, y, z): hands the point to the triangulator's AddPoint and gives
// its result. A point with a coordinate that is not a finite number (NaN or infinite, also one
// made so by a shift or scale) never reaches a triangulator: it is refused by throwing
// kNotFinitePoint, a narrow text ending in a line break, as the triangulators throw their
// failures. Callers print it and end the call as after a triangulator failure.
#pragma once

#include <cmath>

inline constexpr const char kNotFinitePoint[] =
    "A point has a coordinate that is not a finite number!\n";

template <typename Triangulator>
int AddFinitePoint(Triangulator& triangulator, double x, double y, double z) {
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) {
        throw static_cast<const char*>(kNotFinitePoint);
    }
    return triangulator.AddPoint(x, y, z);
}
