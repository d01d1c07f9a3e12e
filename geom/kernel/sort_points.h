// SortPoints(points, scratch, first, last): sorts points[first..last] (inclusive) in place,
// ascending by x and at equal x ascending by y, with a top-down merge sort. scratch must have
// room for at least as many records as points. The order of records at one plan position is the
// one the merge gives: the right-hand candidate is taken whenever the left one is not strictly
// smaller, and the right half is merged from its far end. Both triangulators keep the last record
// of each run of equal positions, so this tie order decides which point survives.
#pragma once

#include <cstdint>

#include "geom/kernel/vertex.h"

namespace geom {

void SortPoints(CVertex* points, CVertex* scratch, std::int32_t first, std::int32_t last);

}  // namespace geom
