// SweepInsertPoints(points, n, tolerance, result): the insertion phase of CDelaunay.
//
// Input: points[0..n-1] sorted by x, then y, followed by the corners of the enclosing triangle at
// n, n + 1, n + 2; n >= 1. Output: appended to result, in the order of the live triangle list,
// the triangles with all three corners below n, with their corner copies and with the circle
// fields as the insertion left them.
//
// Each point of a run of equal plan positions but the last is skipped. Each inserted point takes
// out every live triangle that is not complete and whose circumcircle holds it (walked in list
// order, a removed triangle's position refilled by the last live triangle and looked at again),
// cancels the shared cavity edges and appends a fan of new triangles, one per remaining edge. A
// triangle is complete once an inserted point lies right of its circle.
//
// The triangles that may hold a point are found through a circle index over the sweep instead
// of a walk over the whole list; the removals are then replayed in exactly the order the walk
// would meet them, so the list evolves as the walk would leave it. Throws std::bad_alloc when
// memory runs out.
#pragma once

#include <cstdint>
#include <vector>

#include "geom/triangle.h"
#include "geom/vertex.h"

namespace geom {

void SweepInsertPoints(const CVertex* points, std::int32_t n, double tolerance,
                       std::vector<CTriangle>& result);

}  // namespace geom
