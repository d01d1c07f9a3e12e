// Exact signs of the two plane predicates, for finite doubles: the fallback of the filtered
// predicates (predicates.h), which the rest of the geometry calls.
//
// ExactOrientSign(a, b, c): the sign (-1, 0, 1) of (b - a) x (c - a); 1 when a, b, c run
// counter-clockwise.
// ExactInCircleSign(a, b, c, d): the sign of the in-circle determinant; 1 when d lies strictly
// inside the circle through a, b, c (taken counter-clockwise), 0 on it.
//
// Every coordinate is an integer mantissa times a power of two; the predicates scale all of
// their coordinates to one power of two and evaluate the determinant in integers: in 64 bits
// when the differences are small enough, otherwise in a wide integer long enough for any finite
// doubles. Meant for the rare decisions a floating-point filter cannot settle.
#pragma once

#include "geom/kernel/plan_point.h"

namespace geom {

int ExactOrientSign(PlanPoint a, PlanPoint b, PlanPoint c);

int ExactInCircleSign(PlanPoint a, PlanPoint b, PlanPoint c, PlanPoint d);

}  // namespace geom
