// IsPointInPolygon(outline, point): whether the point's x-y position lies inside the outline
// p[0] ... p[n-1] (only x and y are read), by counting the outline's edges that a ray from the
// point towards +x crosses (even-odd rule). The comparisons are exact: an edge counts when
// min(y) < py <= max(y) and px lies on or left of the edge, so a ray through an outline vertex is
// counted once, a point on a left or bottom edge comes out outside and one on a right or top edge
// inside. An empty outline holds nothing.
#pragma once

#include <vector>

#include "arxapi.h"

bool IsPointInPolygon(const std::vector<AcGePoint3d>& outline, const AcGePoint3d& point);
