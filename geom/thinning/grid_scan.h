// GridScan: the node of a grid triangle farthest from the triangle's plane, found by reading only
// the tiles of the grid (GridLattice::kTile square) that may hold it.
//
// GridScan(grid, tolerance, boundFrom): fits each tile's elevations once with a linear trend and
// the range of the residuals (grid outlives the scan). Triangles whose bounding box holds fewer
// than boundFrom nodes are read whole (bounding their few tiles would cost about as much), those
// whose box holds fewer than kBoxBelow node by node over the box; boundFrom changes the speed
// only, never the result.
// Farthest(a, b, c): three nodes, counter-clockwise in index order (decided exactly by the
// caller). Gives the node of the closed triangle, corners left out, whose
// ThinPlane::Distance from the corners' plane is largest among those that lie beyond the
// tolerance, and that distance; of equal distances, the node first row by row. Beyond is decided
// exactly where Distance cannot settle it (GridBeyond; a node it cannot decide counts as beyond),
// so a node exactly at the tolerance is within. node is kNoNode when no node covered lies beyond
// the tolerance (nothing else is said then). Nodes are numbered row by row: node (i, j) is
// j columns + i.
#pragma once

#include <cstdint>
#include <vector>

#include "geom/thinning/grid_lattice.h"
#include "geom/thinning/thin_plane.h"

namespace geom {

struct GridNode {
    std::int64_t i = 0;  // column
    std::int64_t j = 0;  // row
    ThinPoint p;         // the node (GridLattice::Node)
};

struct GridFarthest {
    static constexpr std::uint32_t kNoNode = 0xFFFFFFFFu;
    std::uint32_t node = kNoNode;
    double distance = 0.0;
};

class GridScan {
public:
    static constexpr std::int64_t kBoundFrom = 1024;
    // Triangles whose bounding box holds fewer nodes are read node by node over the box, without
    // ranges of columns per row (finding them would cost more than the nodes outside).
    static constexpr std::int64_t kBoxBelow = 64;

    GridScan(const GridLattice& grid, double tolerance, std::int64_t boundFrom = kBoundFrom);

    GridFarthest Farthest(const GridNode& a, const GridNode& b, const GridNode& c) const;

private:
    // Each row's range of covered columns into spans_ (first, last; empty when first > last).
    void FindSpans(const GridNode* const (&corner)[3], std::int64_t jLow, std::int64_t jHigh,
                   std::int64_t iLow, std::int64_t iHigh) const;

    // A tile's covered nodes: their box in indices and the bound on their distances.
    struct Part {
        double bound;
        std::int64_t iMin, iMax, jMin, jMax;
    };

    // The farthest node read so far (node -1 for none).
    struct Best {
        std::int64_t node = -1;
        double distance = -1.0;
    };
    void ReadBox(const GridNode* const (&corner)[3], const ThinPlane& plane, std::int64_t jLow,
                 std::int64_t jHigh, std::int64_t iLow, std::int64_t iHigh, Best& best) const;
    void Read(const ThinPlane& plane, std::int64_t jLow, std::int64_t jFrom, std::int64_t jTo,
              std::int64_t iFrom, std::int64_t iTo, Best& best) const;
    // Farthest's answer when the farthest node's Distance does not settle whether it is beyond:
    // every covered node beyond the tolerance by Distance is decided by GridBeyond.
    Best FarthestExactly(const GridNode* const (&corner)[3], const ThinPlane& plane,
                         std::int64_t jLow, std::int64_t jHigh) const;
    void FindParts(const ThinPlane& plane, std::int64_t jLow, std::int64_t jHigh, std::int64_t iLow,
                   std::int64_t iHigh) const;
    // The trend of tile (column ti, row tj of tiles).
    ThinTrend FitTile(std::size_t ti, std::size_t tj) const;

    const GridLattice& grid_;
    double tolerance_;
    std::int64_t boundFrom_;
    std::vector<ThinTrend> tiles_;  // per tile, row of tiles by row of tiles
    mutable std::vector<std::int64_t> spans_;
    mutable std::vector<Part> parts_;
};

}  // namespace geom
