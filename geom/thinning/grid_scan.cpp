#include "geom/thinning/grid_scan.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "geom/thinning/thin_plane.h"

namespace geom {

GridScan::GridScan(const GridLattice& grid, double tolerance, std::int64_t boundFrom)
    : grid_(grid), tolerance_(tolerance), boundFrom_(boundFrom) {
    const std::size_t tilesDown = (grid.rows + GridLattice::kTile - 1) >> GridLattice::kTileShift;
    tiles_.reserve(grid.TilesAcross() * tilesDown);
    for (std::size_t tj = 0; tj < tilesDown; ++tj) {
        for (std::size_t ti = 0; ti < grid.TilesAcross(); ++ti) {
            tiles_.push_back(FitTile(ti, tj));
        }
    }
}

// The trend through the tile's first node, its gradient from the differences across the tile's
// corners (any gradient is correct; a close one keeps the residuals small), and the residuals'
// range widened by 8 eps times the magnitudes of their evaluation, four times the rounding it
// can make (fl(x - x0), two products, two sums and the subtraction, each at most u times one of
// them: |z|, the trend's terms, |r|), and by the trend's slack (ThinTrend).
ThinTrend GridScan::FitTile(std::size_t ti, std::size_t tj) const {
    constexpr double eps = std::numeric_limits<double>::epsilon();
    const std::size_t i0 = ti * GridLattice::kTile, j0 = tj * GridLattice::kTile;
    const std::size_t i1 = std::min<std::size_t>(i0 + GridLattice::kTile, grid_.columns) - 1;
    const std::size_t j1 = std::min<std::size_t>(j0 + GridLattice::kTile, grid_.rows) - 1;
    const auto z = [&](std::size_t i, std::size_t j) { return grid_.z[grid_.At(i, j)]; };
    ThinTrend trend;
    trend.x = grid_.xs[i0];
    trend.y = grid_.ys[j0];
    const double wx = grid_.xs[i1] - trend.x, wy = grid_.ys[j1] - trend.y;
    trend.z = z(i0, j0);
    if (i1 > i0) {
        trend.sx = ((z(i1, j0) - z(i0, j0)) + (z(i1, j1) - z(i0, j1))) / (2.0 * wx);
    }
    if (j1 > j0) {
        trend.sy = ((z(i0, j1) - z(i0, j0)) + (z(i1, j1) - z(i1, j0))) / (2.0 * wy);
    }
    trend.rLow = std::numeric_limits<double>::infinity();
    trend.rHigh = -std::numeric_limits<double>::infinity();
    double largest = 0.0, zSize = 0.0;
    for (std::size_t j = j0; j <= j1; ++j) {
        for (std::size_t i = i0; i <= i1; ++i) {
            const double r = z(i, j) - (trend.z + (trend.sx * (grid_.xs[i] - trend.x) +
                                                   trend.sy * (grid_.ys[j] - trend.y)));
            trend.rLow = std::min(trend.rLow, r);
            trend.rHigh = std::max(trend.rHigh, r);
            zSize = std::max(zSize, std::fabs(z(i, j)));
            largest = std::max(largest, std::fabs(r));
        }
    }
    const double magnitudes = std::fabs(trend.z) + 2.0 * std::fabs(trend.sx) * wx +
                              2.0 * std::fabs(trend.sy) * wy + largest + zSize;
    const double pad =
        40.0 * eps * magnitudes + 2.0 * eps * zSize + 64.0 * std::numeric_limits<double>::min();
    trend.rLow -= pad;
    trend.rHigh += pad;
    return trend;
}

// On each row the nodes on the inner side of all three edges form one range of columns.
void GridScan::FindSpans(const GridNode* const (&corner)[3], std::int64_t jLow, std::int64_t jHigh,
                         std::int64_t iLow, std::int64_t iHigh) const {
    spans_.clear();
    for (std::int64_t j = jLow; j <= jHigh; ++j) {
        // Quotients of integers below 2^53 in magnitude: ceil and floor of the rounded quotient
        // are exact (a quotient that is not whole stays at least 1 / |a| from every whole number).
        double low = static_cast<double>(iLow), high = static_cast<double>(iHigh);
        for (int k = 0; k < 3; ++k) {
            // Inside edge p -> q: (q.i - p.i)(j - p.j) - (q.j - p.j)(i - p.i) >= 0.
            const GridNode& p = *corner[k];
            const GridNode& q = *corner[(k + 1) % 3];
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
        for (const GridNode* c : corner) {
            if (c->j == j) {
                first += c->i == first ? 1 : 0;
                last -= c->i == last ? 1 : 0;
            }
        }
        spans_.push_back(first);
        spans_.push_back(last);
    }
}

// Reads the covered nodes of rows jFrom to jTo within columns iFrom to iTo into `best`.
void GridScan::Read(const ThinPlane& plane, std::int64_t jLow, std::int64_t jFrom, std::int64_t jTo,
                    std::int64_t iFrom, std::int64_t iTo, Best& best) const {
    const double* xs = grid_.xs.data();
    const auto columns = static_cast<std::int64_t>(grid_.columns);
    // In locals: stores through `best` might alias the elevations and keep them from registers.
    std::int64_t worstNode = best.node;
    double farthest = best.distance;
    for (std::int64_t j = jFrom; j <= jTo; ++j) {
        const std::size_t row = static_cast<std::size_t>(j - jLow) * 2;
        const std::int64_t first = std::max(spans_[row], iFrom);
        const std::int64_t last = std::min(spans_[row + 1], iTo);
        if (first > last) {
            continue;
        }
        const double* z =
            grid_.z.data() + grid_.At(static_cast<std::size_t>(first), static_cast<std::size_t>(j));
        const double y = grid_.ys[static_cast<std::size_t>(j)];
        for (std::int64_t i = first; i <= last; ++i) {
            const double d = plane.Distance(ThinPoint{xs[i], y, z[i - first]});
            if (d >= farthest && (d > farthest || j * columns + i < worstNode)) {
                farthest = d;
                worstNode = j * columns + i;
            }
        }
    }
    best.node = worstNode;
    best.distance = farthest;
}

// Small triangles are read whole, strip by strip of tile columns and down the rows (each tile
// once, in memory order).
// Larger ones are taken tile by tile: each tile's part is bounded (ThinPlane::DistanceBound over
// the box of its covered nodes) and the part of the largest bound read first, then the others
// in memory order, each unless its bound is below the farthest distance found so far (strictly:
// a node at the same distance might come first row by row) or not beyond the tolerance (such a
// node is never the answer: either a node beyond the tolerance is farther, or there is no
// answer). Of equal distances the node first row by row wins, in any order of reading.
GridFarthest GridScan::Farthest(const GridNode& a, const GridNode& b, const GridNode& c) const {
    const GridNode* const corner[3] = {&a, &b, &c};
    const ThinPlane plane(a.p, b.p, c.p);
    const std::int64_t jLow = std::min({a.j, b.j, c.j}), jHigh = std::max({a.j, b.j, c.j});
    const std::int64_t iLow = std::min({a.i, b.i, c.i}), iHigh = std::max({a.i, b.i, c.i});
    FindSpans(corner, jLow, jHigh, iLow, iHigh);
    constexpr std::int64_t kTile = GridLattice::kTile;
    Best best;
    if ((iHigh - iLow + 1) * (jHigh - jLow + 1) < boundFrom_) {
        for (std::int64_t strip = iLow & ~(kTile - 1); strip <= iHigh; strip += kTile) {
            Read(plane, jLow, jLow, jHigh, strip, strip + kTile - 1, best);
        }
    } else {
        FindParts(plane, jLow, jHigh, iLow, iHigh);
        std::size_t top = 0;
        for (std::size_t k = 1; k < parts_.size(); ++k) {
            top = parts_[k].bound > parts_[top].bound ? k : top;
        }
        for (std::size_t k = 0; k < parts_.size(); ++k) {
            const Part& part = parts_[k == 0 ? top : (k == top ? 0 : k)];
            if (!(part.bound < best.distance)) {
                Read(plane, jLow, part.jMin, part.jMax, part.iMin, part.iMax, best);
            }
        }
    }
    GridFarthest result;
    if (best.node >= 0 && best.distance > tolerance_) {
        result.node = static_cast<std::uint32_t>(best.node);
        result.distance = best.distance;
    }
    return result;
}

// The parts of the tiles the triangle covers whose bound exceeds the tolerance, into parts_.
void GridScan::FindParts(const ThinPlane& plane, std::int64_t jLow, std::int64_t jHigh,
                         std::int64_t iLow, std::int64_t iHigh) const {
    constexpr std::int64_t kTile = GridLattice::kTile;
    const double* xs = grid_.xs.data();
    const double* ys = grid_.ys.data();
    const auto tilesAcross = static_cast<std::int64_t>(grid_.TilesAcross());
    parts_.clear();
    for (std::int64_t block = jLow & ~(kTile - 1); block <= jHigh; block += kTile) {
        for (std::int64_t strip = iLow & ~(kTile - 1); strip <= iHigh; strip += kTile) {
            Part part{0.0, strip + kTile, strip - 1, -1, -1};
            for (std::int64_t j = std::max(block, jLow); j <= std::min(block + kTile - 1, jHigh);
                 ++j) {
                const std::size_t row = static_cast<std::size_t>(j - jLow) * 2;
                const std::int64_t first = std::max(spans_[row], strip);
                const std::int64_t last = std::min(spans_[row + 1], strip + kTile - 1);
                if (first <= last) {
                    part.iMin = std::min(part.iMin, first);
                    part.iMax = std::max(part.iMax, last);
                    part.jMin = part.jMin < 0 ? j : part.jMin;
                    part.jMax = j;
                }
            }
            if (part.jMin < 0) {
                continue;
            }
            const ThinTrend& trend =
                tiles_[static_cast<std::size_t>((block / kTile) * tilesAcross + strip / kTile)];
            part.bound = plane.DistanceBound(trend, xs[part.iMin], xs[part.iMax], ys[part.jMin],
                                             ys[part.jMax]);
            if (part.bound > tolerance_) {
                parts_.push_back(part);
            }
        }
    }
}

}  // namespace geom
