#include "geom/thinning/grid_scan.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "geom/thinning/thin_plane.h"

namespace geom {

GridScan::GridScan(const GridLattice& grid, double tolerance) : grid_(grid), tolerance_(tolerance) {
    const std::size_t tilesDown = (grid.rows + GridLattice::kTile - 1) >> GridLattice::kTileShift;
    const std::size_t tiles = grid.TilesAcross() * tilesDown;
    tileLow_.assign(tiles, std::numeric_limits<double>::infinity());
    tileHigh_.assign(tiles, -std::numeric_limits<double>::infinity());
    for (std::size_t j = 0; j < grid.rows; ++j) {
        for (std::size_t i = 0; i < grid.columns; ++i) {
            const std::size_t t =
                (j >> GridLattice::kTileShift) * grid.TilesAcross() + (i >> GridLattice::kTileShift);
            const double z = grid.z[grid.At(i, j)];
            tileLow_[t] = std::min(tileLow_[t], z);
            tileHigh_[t] = std::max(tileHigh_[t], z);
        }
    }
}

// On each row the nodes on the inner side of all three edges form one range of columns.
void GridScan::FindSpans(const GridNode (&corner)[3], std::int64_t jLow, std::int64_t jHigh,
                         std::int64_t iLow, std::int64_t iHigh) const {
    spans_.clear();
    for (std::int64_t j = jLow; j <= jHigh; ++j) {
        // Quotients of integers below 2^53 in magnitude: ceil and floor of the rounded quotient
        // are exact (a quotient that is not whole stays at least 1 / |a| from every whole number).
        double low = static_cast<double>(iLow), high = static_cast<double>(iHigh);
        for (int k = 0; k < 3; ++k) {
            // Inside edge p -> q: (q.i - p.i)(j - p.j) - (q.j - p.j)(i - p.i) >= 0.
            const GridNode& p = corner[k];
            const GridNode& q = corner[(k + 1) % 3];
            const std::int64_t a = -(q.j - p.j);
            const std::int64_t b = (q.i - p.i) * (j - p.j) + (q.j - p.j) * p.i;
            if (a > 0) {
                const double from = std::ceil(static_cast<double>(-b) / static_cast<double>(a));
                low = from > low ? from : low;
            } else if (a < 0) {
                const double to = std::floor(static_cast<double>(b) / static_cast<double>(-a));
                high = to < high ? to : high;
            } else if (b < 0) {
                high = low - 1.0;
            }
        }
        // A corner on this row is an end of its range: left out.
        auto first = static_cast<std::int64_t>(low);
        auto last = static_cast<std::int64_t>(high);
        for (const GridNode& c : corner) {
            if (c.j == j) {
                first += c.i == first ? 1 : 0;
                last -= c.i == last ? 1 : 0;
            }
        }
        spans_.push_back(first);
        spans_.push_back(last);
    }
}

// The covered nodes are read tile by tile, strip by strip of tile columns and down the rows
// (each tile once, in memory order). A tile is left unread when the bound on its nodes'
// distances (ThinPlane::DistanceBound over the box of its covered nodes and its elevation range)
// is below the farthest distance found so far (strictly: a node at the same distance might come
// first row by row) or not beyond the tolerance (such a node is never the answer: either a node
// beyond the tolerance is farther, or there is no answer).
GridFarthest GridScan::Farthest(const GridNode (&corner)[3]) const {
    const ThinPlane plane(
        grid_.Node(static_cast<std::uint32_t>(corner[0].i), static_cast<std::uint32_t>(corner[0].j)),
        grid_.Node(static_cast<std::uint32_t>(corner[1].i), static_cast<std::uint32_t>(corner[1].j)),
        grid_.Node(static_cast<std::uint32_t>(corner[2].i), static_cast<std::uint32_t>(corner[2].j)));
    std::int64_t jLow = corner[0].j, jHigh = corner[0].j;
    std::int64_t iLow = corner[0].i, iHigh = corner[0].i;
    for (const GridNode& c : corner) {
        jLow = std::min(jLow, c.j);
        jHigh = std::max(jHigh, c.j);
        iLow = std::min(iLow, c.i);
        iHigh = std::max(iHigh, c.i);
    }
    FindSpans(corner, jLow, jHigh, iLow, iHigh);
    constexpr std::int64_t kTile = GridLattice::kTile;
    const double* xs = grid_.xs.data();
    const auto columns = static_cast<std::int64_t>(grid_.columns);
    const auto tilesAcross = static_cast<std::int64_t>(grid_.TilesAcross());
    std::int64_t worstNode = -1;
    double farthest = -1.0;
    for (std::int64_t strip = iLow & ~(kTile - 1); strip <= iHigh; strip += kTile) {
        const std::int64_t stripEnd = strip + kTile - 1;
        for (std::int64_t block = jLow & ~(kTile - 1); block <= jHigh; block += kTile) {
            // The box of the tile's covered nodes.
            std::int64_t iMin = stripEnd + 1, iMax = strip - 1, jMin = -1, jMax = -1;
            for (std::int64_t j = std::max(block, jLow); j <= std::min(block + kTile - 1, jHigh);
                 ++j) {
                const std::size_t row = static_cast<std::size_t>(j - jLow) * 2;
                const std::int64_t first = std::max(spans_[row], strip);
                const std::int64_t last = std::min(spans_[row + 1], stripEnd);
                if (first <= last) {
                    iMin = std::min(iMin, first);
                    iMax = std::max(iMax, last);
                    jMin = jMin < 0 ? j : jMin;
                    jMax = j;
                }
            }
            if (jMin < 0) {
                continue;
            }
            const auto tile = static_cast<std::size_t>((block / kTile) * tilesAcross + strip / kTile);
            const double bound = plane.DistanceBound(
                xs[iMin], xs[iMax], grid_.ys[static_cast<std::size_t>(jMin)],
                grid_.ys[static_cast<std::size_t>(jMax)], tileLow_[tile], tileHigh_[tile]);
            if (bound < farthest || bound <= tolerance_) {
                continue;
            }
            for (std::int64_t j = jMin; j <= jMax; ++j) {
                const std::size_t row = static_cast<std::size_t>(j - jLow) * 2;
                const std::int64_t first = std::max(spans_[row], strip);
                const std::int64_t last = std::min(spans_[row + 1], stripEnd);
                if (first > last) {
                    continue;
                }
                const double* z = grid_.z.data() + grid_.At(static_cast<std::size_t>(first),
                                                            static_cast<std::size_t>(j));
                const double y = grid_.ys[static_cast<std::size_t>(j)];
                for (std::int64_t i = first; i <= last; ++i) {
                    const double d = plane.Distance(ThinPoint{xs[i], y, z[i - first]});
                    if (d >= farthest && (d > farthest || j * columns + i < worstNode)) {
                        farthest = d;
                        worstNode = j * columns + i;
                    }
                }
            }
        }
    }
    GridFarthest result;
    if (worstNode >= 0 && farthest > tolerance_) {
        result.node = static_cast<std::uint32_t>(worstNode);
        result.distance = farthest;
    }
    return result;
}

}  // namespace geom
