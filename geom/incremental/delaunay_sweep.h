// SweepInsertPoints(points, n, tolerance, result): the insertion phase of CDelaunay.
//
// Input: points[0..n-1] sorted by x, then y, followed by the corners of the enclosing triangle at
// n, n + 1, n + 2 (counter-clockwise, every point strictly inside); n >= 1; every coordinate
// finite. Output: appended to result, in the order of the live triangle list, the triangles with
// all three corners below n, with their corner copies and with the circle fields (from
// ComputeCircumcircle with `tolerance`) as the list walk of the insertion would have left them.
//
// Each point of a run of equal plan positions but the last is skipped. Each inserted point takes
// out its cavity: the triangle that holds it and every triangle reachable from there across
// edges whose circumcircle holds the point, in or on the circle, decided exactly. The cavity is
// star-shaped around the point, so the fan that replaces it is a valid triangulation again:
// every triangle counter-clockwise and none flat, whatever the scale of the data or how many
// points share a circle. The removals are made in the order of a walk over the live triangle
// list (a removed triangle's position refilled by the last live triangle and looked at again),
// the shared cavity edges cancelled in that order and a fan of new triangles appended, one per
// remaining edge in the same order; so the list evolves as the plain list walk leaves it
// wherever that walk's floating-point circle test takes the same decisions.
//
// The triangle that holds a point is found by a walk across edges, started at the newest fan or
// at the point last inserted in the same band of y, whichever point is nearer: points come in
// ascending x, so either lies a few triangles behind. Throws std::bad_alloc when memory runs out.
#pragma once

#include <cstdint>
#include <vector>

#include "geom/kernel/triangle.h"
#include "geom/kernel/vertex.h"

namespace geom {

void SweepInsertPoints(const CVertex* points, std::int32_t n, double tolerance,
                       std::vector<CTriangle>& result);

}  // namespace geom
