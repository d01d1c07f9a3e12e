// GridLattice: points that form every node of a regular grid, found exactly, in any order.
//
// FindGridLattice(points, grid): true when the points are the nodes of a columns x rows lattice
// (both 2 or more), each once, node (i, j) at (x0 + i dx, y0 + j dy) exactly in real arithmetic
// (dx, dy > 0; checked with error-free sums and products). Coordinates and elevations must lie
// within 1e50 in magnitude and the steps be 1e-50 or more (so that no plane overflows). Fills grid:
// the lattice, the elevations (tiled) and the points' numbers row by row
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
    // Elevations lie in tiles of kTile x kTile nodes, tile by tile along the rows of tiles, row
    // by row within a tile: the nodes under a small triangle then share a few memory pages.
    static constexpr std::uint32_t kTileShift = 3;
    static constexpr std::uint32_t kTile = 1u << kTileShift;
    std::uint32_t columns = 0;
    std::uint32_t rows = 0;
    std::vector<double> xs;          // per column
    std::vector<double> ys;          // per row
    std::vector<double> z;           // tiled (At)
    std::vector<std::uint32_t> ids;  // row by row (node (i, j) at j columns + i)
    // Where the tiles start in z: a tile's row (64 bytes) then fills one cache line when z was
    // allocated where FindGridLattice left it (elsewhere the rows are merely unaligned).
    std::size_t zFirst = 0;
    // The place of node (i, j)'s elevation in z; the nodes of a row within a tile are adjacent.
    std::size_t At(std::size_t i, std::size_t j) const {
        return zFirst + ((j >> kTileShift) * TilesAcross() + (i >> kTileShift)) * kTile * kTile +
               (j & (kTile - 1)) * kTile + (i & (kTile - 1));
    }
    std::size_t TilesAcross() const { return (columns + kTile - 1) >> kTileShift; }
    ThinPoint Node(std::uint32_t i, std::uint32_t j) const {
        return ThinPoint{xs[i], ys[j], z[At(i, j)]};
    }
};

bool FindGridLattice(const std::vector<ThinPoint>& points, GridLattice& grid);

}  // namespace geom
