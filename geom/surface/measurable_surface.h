// IsMeasurable(value), IsMeasurable(surface): whether a coordinate, or every coordinate of a
// welded surface's points, lies within +-kMeasurableCoordinate (2^250, about 1.8e75). Within it,
// every area, volume and elevation the surface functions compute stays a finite number: they
// multiply at most four coordinate differences (each below 2^251) and add up at most 2^30
// faces, far below the largest double (2^1024). Beyond it they could overflow into infinities
// or NaN, so TraceContours, ComputeSurfaceStatistics, ComputeVolume and ComputeDatumVolume
// refuse such surfaces (SurfaceStatus::CoordinatesTooLarge).
#pragma once

#include <cmath>

#include "geom/surface/welded_surface.h"

namespace geom {

constexpr double kMeasurableCoordinate = 1.8092513943330656e+75;  // 2^250

inline bool IsMeasurable(double value) {
    return std::fabs(value) <= kMeasurableCoordinate;
}

inline bool IsMeasurable(const WeldedSurface& surface) {
    for (const SurfacePoint& p : surface.points) {
        if (!IsMeasurable(p.x) || !IsMeasurable(p.y) || !IsMeasurable(p.z)) {
            return false;
        }
    }
    return true;
}

}  // namespace geom
