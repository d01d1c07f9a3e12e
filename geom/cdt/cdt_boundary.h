// CdtCloseBoundary(vertices): a boundary polygon ready for the constrained triangulator: runs of
// vertices at one plan position taken once, a closing vertex equal to the first dropped, and the
// order turned counter-clockwise. Throws GeometryError kBadBoundary when fewer than three distinct
// vertices remain or the polygon encloses no area (all vertices on one line).
#pragma once

#include <vector>

#include "geom/kernel/vertex.h"

namespace geom {

std::vector<CVertex> CdtCloseBoundary(const std::vector<CVertex>& vertices);

}  // namespace geom
