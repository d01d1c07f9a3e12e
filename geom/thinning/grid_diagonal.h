// GridCrossingFitsBetter(grid, q, a, d, b): for grid nodes q, a, d, b, the corners of a convex
// quadrilateral counter-clockwise, whether the diagonal q-d fits the grid's elevations better than
// a-b where the two diagonals cross: the elevation each gives there, linear along it, against the
// grid's, interpolated bilinearly from the four nodes around the crossing. False on a tie. Where
// the four corners lie on one circle either diagonal is Delaunay, and on a grid that is common;
// the one that follows the ground needs fewer points to meet a tolerance.
#pragma once

#include "geom/thinning/grid_lattice.h"
#include "geom/thinning/grid_scan.h"

namespace geom {

bool GridCrossingFitsBetter(const GridLattice& grid, const GridNode& q, const GridNode& a,
                            const GridNode& d, const GridNode& b);

}  // namespace geom
