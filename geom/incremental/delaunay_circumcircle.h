// Circumcircle construction and the in-circle test of the incremental triangulator CDelaunay.
//
// ComputeCircumcircle(a, b, c, tolerance, xc, yc, rsqr): from the plan positions of the corners
// a, b, c, gives the centre (xc, yc) and the squared radius rsqr, measured from b, of the circle
// through them. The slopes of the perpendicular bisectors are used, so a side whose y values lie
// within `tolerance` of each other is treated as horizontal; when all three sides are, the
// triangle is flat, nothing is written and the result is false. Equal bisector slopes give the
// centroid as centre.
//
// CircleHolds(p, xc, yc, rr): true when p lies in or on the circle with centre (xc, yc) and
// squared radius rr.
//
// These are floating-point decisions by design, not predicates of the kernel: the list walk of
// the incremental triangulator is prescribed with exactly this arithmetic (slopes of the
// bisectors, the tolerance, the squared radius measured from b), and the triangulator keeps its
// results bit for bit. Every other decision of the geometry goes through kernel/predicates.h.
//
// Both are out of line on purpose: every caller gets bit-identical values from them. The
// triangulator's own loop uses their inline bodies (delaunay_circumcircle_inline.h), built with
// the same settings.
#pragma once

#include "geom/kernel/vertex.h"

namespace geom {

bool ComputeCircumcircle(const CVertex& a, const CVertex& b, const CVertex& c, double tolerance,
                         double& xc, double& yc, double& rsqr);

bool CircleHolds(const CVertex& p, double xc, double yc, double rr);

}  // namespace geom
