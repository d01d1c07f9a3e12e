// GridScan: the node of a grid triangle farthest from the triangle's plane, found by reading only
// the tiles of the grid (GridLattice::kTile square) that may hold it.
//
// GridScan(grid, tolerance): notes each tile's elevation range once (grid outlives the scan).
// Farthest(corner): corner the columns and rows of three nodes, counter-clockwise in index order
// (decided exactly by the caller). Gives the node of the closed triangle, corners left out, whose
// ThinPlane::Distance from the corners' plane is largest, and that distance, when it exceeds the
// tolerance; of equal distances, the node first row by row. node is kNoNode when no node covered
// lies beyond the tolerance (nothing else is said then). Nodes are numbered row by row: node
// (i, j) is j columns + i.
#pragma once

#include <cstdint>
#include <vector>

#include "geom/thinning/grid_lattice.h"

namespace geom {

struct GridNode {
    std::int64_t i = 0;  // column
    std::int64_t j = 0;  // row
};

struct GridFarthest {
    static constexpr std::uint32_t kNoNode = 0xFFFFFFFFu;
    std::uint32_t node = kNoNode;
    double distance = 0.0;
};

class GridScan {
public:
    GridScan(const GridLattice& grid, double tolerance);

    GridFarthest Farthest(const GridNode (&corner)[3]) const;

private:
    // Each row's range of covered columns into spans_ (first, last; empty when first > last).
    void FindSpans(const GridNode (&corner)[3], std::int64_t jLow, std::int64_t jHigh,
                   std::int64_t iLow, std::int64_t iHigh) const;

    const GridLattice& grid_;
    double tolerance_;
    std::vector<double> tileLow_, tileHigh_;  // elevation range per tile, as GridLattice::At
    mutable std::vector<std::int64_t> spans_;
};

}  // namespace geom
