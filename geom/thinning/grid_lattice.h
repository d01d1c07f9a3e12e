// GridLattice: points that form every node of a regular grid, found exactly, in any order.
//
// FindGridLattice(points, grid): true when the points are the nodes of a columns x rows lattice
// (both 2 or more), each once, node (i, j) at (x0 + i dx, y0 + j dy) exactly in real arithmetic
// (dx, dy > 0; checked with error-free sums and products). Coordinates and elevations must lie within
// 1e50 in magnitude and the steps be 1e-50 or more (so that no plane overflows). Fills grid:
// the lattice, the elevations and the points' numbers row by row (node (i, j) at j columns + i)
// and the nodes' coordinates per column and row. False otherwise (a missing or repeated node,
// uneven or inexact spacing, a value that is not finite): grid is then unspecified.
// Because the lattice is exactly affine, the orientation of three nodes has the sign of the
// orientation of their indices, so the thinning may decide it in integers.
#pragma once

#include <cstdint>
#include <vector>

#include "geom/thinning/thin_point.h"

namespace geom {

struct GridLattice {
    std::uint32_t columns = 0;
    std::uint32_t rows = 0;
    std::vector<double> xs;  // per column
    std::vector<double> ys;  // per row
    std::vector<double> z;   // row by row
    std::vector<std::uint32_t> ids;
    ThinPoint Node(std::uint32_t i, std::uint32_t j) const {
        return ThinPoint{xs[i], ys[j], z[static_cast<std::size_t>(j) * columns + i]};
    }
};

bool FindGridLattice(const std::vector<ThinPoint>& points, GridLattice& grid);

}  // namespace geom
