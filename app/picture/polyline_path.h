// PolylinePath(polyline): the points of a lightweight polyline's path in x-y, in order: its
// vertices, with each arc segment (non-zero bulge: the tangent of a quarter of the arc's signed
// angle, positive counter-clockwise) replaced by points at most 2.5 degrees apart, and the
// closing segment back to the first vertex when the polyline is closed.
#pragma once

#include <vector>

#include "kafhost/drawing_snapshot.h"

namespace kafcad {

std::vector<kafhost::Point2> PolylinePath(const kafhost::EntityInfo& polyline);

}  // namespace kafcad
