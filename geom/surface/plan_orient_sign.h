// PlanOrientSign(a, b, c): the sign (-1, 0, 1) of (b - a) x (c - a) in plan for points of a
// welded surface, 1 when a, b, c run counter-clockwise; the orientation test of the surface
// code (joining meshes, the overlap check). Exact for all finite coordinates: plain floating
// point where a bound on its rounding error allows, ExactOrientSign otherwise (products of
// differences are within 8u of their sizes; products below the normal range are covered by the
// smallest normal number; an overflow fails the bound and goes to the exact test).
#pragma once

#include <cmath>
#include <limits>

#include "geom/kernel/exact_predicates.h"
#include "geom/surface/welded_surface.h"

namespace geom {

inline int PlanOrientSign(const SurfacePoint& a, const SurfacePoint& b, const SurfacePoint& c) {
    const double left = (b.x - a.x) * (c.y - a.y);
    const double right = (b.y - a.y) * (c.x - a.x);
    const double det = left - right;
    const double bound =
        8 * (std::numeric_limits<double>::epsilon() / 2) * (std::fabs(left) + std::fabs(right)) +
        std::numeric_limits<double>::min();
    if (std::fabs(det) > bound) {
        return det > 0 ? 1 : -1;
    }
    return ExactOrientSign({a.x, a.y}, {b.x, b.y}, {c.x, c.y});
}

}  // namespace geom
