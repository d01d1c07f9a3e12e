// PlanOrientSign(a, b, c): the kernel's Orient (kernel/predicates.h) on the plan positions of
// points of a welded surface: the sign (-1, 0, 1) of (b - a) x (c - a), 1 when a, b, c run
// counter-clockwise; exact for all finite coordinates. The orientation test of the surface code
// (joining meshes, the overlap check).
#pragma once

#include "geom/kernel/predicates.h"
#include "geom/surface/welded_surface.h"

namespace geom {

inline int PlanOrientSign(const SurfacePoint& a, const SurfacePoint& b, const SurfacePoint& c) {
    return Orient(PlanOf(a), PlanOf(b), PlanOf(c));
}

}  // namespace geom
