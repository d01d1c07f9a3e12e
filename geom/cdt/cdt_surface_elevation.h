// CdtSurfaceElevations(triangles, vertices, positions): the elevations a triangulated surface
// has at plan positions.
//
// Input: a triangulation (counter-clockwise triangles indexing `vertices`, at least one) and the
// positions, whose z is replaced. A position at a vertex takes that vertex's z; inside a triangle
// or on its edges, the plane through its corners; outside the triangulation, the elevation at the
// nearest point of its outer edges (interpolated along that edge by plan distance). Whether a
// position lies in a triangle is decided exactly.
#pragma once

#include <vector>

#include "geom/kernel/triangle.h"
#include "geom/kernel/vertex.h"

namespace geom {

void CdtSurfaceElevations(const std::vector<CTriangle>& triangles,
                          const std::vector<CVertex>& vertices, std::vector<CVertex*>& positions);

}  // namespace geom
