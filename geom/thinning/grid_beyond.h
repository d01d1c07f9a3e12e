// GridBeyond(a, b, c, p, tolerance): for grid nodes a, b, c counter-clockwise in index order and
// p in their closed triangle, whether p lies farther than `tolerance` above or below the exact
// plane through a, b, c: 1 beyond, 0 within (at the tolerance counts as within), -1 when it
// cannot be decided here (a triangle spanning 2^13 nodes or more, or an elevation or tolerance
// too small for the products below to stay clear of underflow). Decided exactly: the lattice is
// affine (GridLattice), so the plane at p is (wa za + wb zb + wc zc) / W with W and the w's the
// integer orientations of the index triangles, and p is beyond when |W zp - sum wk zk| > tol W.
// The weights are integers below 2^27, exact as doubles: the decision is WeightsBeyond's.
#pragma once

#include "geom/thinning/grid_scan.h"

namespace geom {

int GridBeyond(const GridNode& a, const GridNode& b, const GridNode& c, const GridNode& p,
               double tolerance);

}  // namespace geom
