#include "geom/thinning/grid_scan.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "geom/thinning/grid_beyond.h"
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

namespace {

// floor(n / d) for d > 0 and |n|, d below 2^53: the rounded quotient is within one of it (a
// division of doubles is quicker than one of integers), and the products below are exact.
std::int64_t FloorDivide(std::int64_t n, std::int64_t d) {
    std::int64_t q = static_cast<std::int64_t>(static_cast<double>(n) / static_cast<double>(d));
    q -= q * d > n ? 1 : 0;
    q += (q + 1) * d <= n ? 1 : 0;
    return q;
}

// floor(b / divisor) for b = b0 + rise (j - j0), row by row from j0, as a quotient and a
// remainder in [0, divisor) that each row steps by rise's (no division per row).
struct EdgeBound {
    std::int64_t quotient = 0, remainder = 0, divisor = 1, stepQuotient = 0, stepRemainder = 0;

    void Start(std::int64_t b0, std::int64_t d, std::int64_t rise) {
        quotient = FloorDivide(b0, d);
        remainder = b0 - quotient * d;
        divisor = d;
        stepQuotient = FloorDivide(rise, d);
        stepRemainder = rise - stepQuotient * d;
    }
    // Without a branch: the carry follows no pattern a predictor learns.
    void Next() {
        remainder += stepRemainder;
        const bool carry = remainder >= divisor;
        remainder -= carry ? divisor : 0;
        quotient += stepQuotient + static_cast<std::int64_t>(carry);
    }
};

}  // namespace

// On each row the nodes on the inner side of all three edges form one range of columns. Edge
// p -> q holds the nodes with (q.i - p.i)(j - p.j) - (q.j - p.j)(i - p.i) >= 0, that is
// a i + b >= 0 with a = p.j - q.j and b = (q.i - p.i)(j - p.j) + (q.j - p.j) p.i: i >= ceil(-b / a)
// = -floor(b / a) when a > 0, i <= floor(b / -a) when a < 0. The triangle being counter-clockwise
// and not flat, a level edge (a = 0) bounds no row within it, and on the rows an edge spans,
// the third edge's half-plane holds the section between the other two: the rows from the lowest
// corner to the middle one are bounded by the two edges from the lowest, the rest by the two to
// the highest (the middle row by a pair with no level edge).
void GridScan::FindSpans(const GridNode* const (&corner)[3], std::int64_t jLow, std::int64_t jHigh,
                         std::int64_t iLow, std::int64_t iHigh) const {
    spans_.resize(static_cast<std::size_t>(jHigh - jLow + 1) * 2);
    // Rows jFrom to jTo between edges e and f (edge k from corner k to corner k + 1), one
    // bounding each side.
    const auto rows = [&](int e, int f, std::int64_t jFrom, std::int64_t jTo) {
        EdgeBound bounds[2];
        bool lowFirst = false;
        for (int n = 0; n < 2; ++n) {
            const int k = n == 0 ? e : f;
            const GridNode& p = *corner[k];
            const GridNode& q = *corner[(k + 1) % 3];
            const std::int64_t a = p.j - q.j, rise = q.i - p.i;
            bounds[n].Start(rise * (jFrom - p.j) + (q.j - p.j) * p.i, a > 0 ? a : -a, rise);
            lowFirst = n == 0 ? a > 0 : lowFirst;
        }
        EdgeBound& low = bounds[lowFirst ? 0 : 1];
        EdgeBound& high = bounds[lowFirst ? 1 : 0];
        std::int64_t* span = spans_.data() + (jFrom - jLow) * 2;
        for (std::int64_t j = jFrom; j <= jTo; ++j, span += 2) {
            std::int64_t first = std::max(iLow, -low.quotient);
            std::int64_t last = std::min(iHigh, high.quotient);
            low.Next();
            high.Next();
            // A corner on this row is an end of its range: left out.
            for (const GridNode* c : corner) {
                first += c->j == j && c->i == first ? 1 : 0;
                last -= c->j == j && c->i == last ? 1 : 0;
            }
            span[0] = first;
            span[1] = last;
        }
    };
    // The corners from the lowest row up (ties in any order).
    int bottom = 0, top = 0;
    for (int k = 1; k < 3; ++k) {
        bottom = corner[k]->j < corner[bottom]->j ? k : bottom;
        top = corner[k]->j > corner[top]->j ? k : top;
    }
    top = top == bottom ? (bottom + 1) % 3 : top;
    const int middle = 3 - bottom - top;
    // The edges by their corners: edge k runs from corner k to corner k + 1.
    const auto edge = [](int u, int v) { return (u + 1) % 3 == v ? u : v; };
    const std::int64_t jMiddle = corner[middle]->j;
    std::int64_t upFrom = jMiddle;  // the first row bounded by the edges to the highest corner
    if (jMiddle > jLow) {
        rows(edge(bottom, top), edge(bottom, middle), jLow, jMiddle);
        ++upFrom;
    }
    if (upFrom <= jHigh) {
        rows(edge(bottom, top), edge(middle, top), upFrom, jHigh);
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

// Every node of the box that the closed triangle covers, corners left out, row by row: each
// edge's side is stepped along the row in integers (a corner is the only node on two edges).
void GridScan::ReadBox(const GridNode* const (&corner)[3], const ThinPlane& plane,
                       std::int64_t jLow, std::int64_t jHigh, std::int64_t iLow, std::int64_t iHigh,
                       Best& best) const {
    const auto columns = static_cast<std::int64_t>(grid_.columns);
    std::int64_t worstNode = best.node;
    double farthest = best.distance;
    for (std::int64_t j = jLow; j <= jHigh; ++j) {
        std::int64_t side[3], step[3];
        for (int k = 0; k < 3; ++k) {
            const GridNode& p = *corner[k];
            const GridNode& q = *corner[(k + 1) % 3];
            side[k] = (q.i - p.i) * (j - p.j) - (q.j - p.j) * (iLow - p.i);
            step[k] = p.j - q.j;
        }
        const double y = grid_.ys[static_cast<std::size_t>(j)];
        for (std::int64_t i = iLow; i <= iHigh; ++i) {
            if (side[0] >= 0 && side[1] >= 0 && side[2] >= 0 &&
                (side[0] == 0) + (side[1] == 0) + (side[2] == 0) < 2) {
                const auto ui = static_cast<std::size_t>(i);
                const double d = plane.Distance(
                    ThinPoint{grid_.xs[ui], y, grid_.z[grid_.At(ui, static_cast<std::size_t>(j))]});
                if (d > farthest) {
                    farthest = d;
                    worstNode = j * columns + i;
                }
            }
            side[0] += step[0];
            side[1] += step[1];
            side[2] += step[2];
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
    constexpr std::int64_t kTile = GridLattice::kTile;
    Best best;
    const std::int64_t box = (iHigh - iLow + 1) * (jHigh - jLow + 1);
    bool spans = box >= kBoxBelow;
    if (!spans) {
        ReadBox(corner, plane, jLow, jHigh, iLow, iHigh, best);
    } else if (box < boundFrom_) {
        FindSpans(corner, jLow, jHigh, iLow, iHigh);
        for (std::int64_t strip = iLow & ~(kTile - 1); strip <= iHigh; strip += kTile) {
            Read(plane, jLow, jLow, jHigh, strip, strip + kTile - 1, best);
        }
    } else {
        FindSpans(corner, jLow, jHigh, iLow, iHigh);
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
    if (best.node >= 0 && best.distance > tolerance_) {
        const auto columns = static_cast<std::int64_t>(grid_.columns);
        const double z = grid_.z[grid_.At(static_cast<std::size_t>(best.node % columns),
                                          static_cast<std::size_t>(best.node / columns))];
        if (!plane.SurelyBeyond(best.distance, z, tolerance_)) {
            if (!spans) {
                FindSpans(corner, jLow, jHigh, iLow, iHigh);
            }
            best = FarthestExactly(corner, plane, jLow, jHigh);
        }
    }
    GridFarthest result;
    if (best.node >= 0 && best.distance > tolerance_) {
        result.node = static_cast<std::uint32_t>(best.node);
        result.distance = best.distance;
    }
    return result;
}

GridScan::Best GridScan::FarthestExactly(const GridNode* const (&corner)[3], const ThinPlane& plane,
                                         std::int64_t jLow, std::int64_t jHigh) const {
    const auto columns = static_cast<std::int64_t>(grid_.columns);
    Best best;
    for (std::int64_t j = jLow; j <= jHigh; ++j) {
        const std::size_t row = static_cast<std::size_t>(j - jLow) * 2;
        for (std::int64_t i = spans_[row]; i <= spans_[row + 1]; ++i) {
            GridNode node;
            node.i = i;
            node.j = j;
            node.p = grid_.Node(static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(j));
            const double d = plane.Distance(node.p);
            if (d > tolerance_ && d > best.distance &&
                GridBeyond(*corner[0], *corner[1], *corner[2], node, tolerance_) != 0) {
                best.node = j * columns + i;
                best.distance = d;
            }
        }
    }
    return best;
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
        const std::int64_t jFrom = std::max(block, jLow), jTo = std::min(block + kTile - 1, jHigh);
        // The block's rows that cover nodes, the columns any of them covers (anyFirst to
        // anyLast) and those all of them cover (allFirst to allLast).
        std::int64_t rowFirst = -1, rowLast = -1;
        std::int64_t anyFirst = iHigh + 1, anyLast = iLow - 1, allFirst = iLow, allLast = iHigh;
        for (std::int64_t j = jFrom; j <= jTo; ++j) {
            const std::size_t row = static_cast<std::size_t>(j - jLow) * 2;
            if (spans_[row] <= spans_[row + 1]) {
                rowFirst = rowFirst < 0 ? j : rowFirst;
                rowLast = j;
                anyFirst = std::min(anyFirst, spans_[row]);
                anyLast = std::max(anyLast, spans_[row + 1]);
                allFirst = std::max(allFirst, spans_[row]);
                allLast = std::min(allLast, spans_[row + 1]);
            }
        }
        if (rowFirst < 0) {
            continue;
        }
        for (std::int64_t strip = anyFirst & ~(kTile - 1); strip <= anyLast; strip += kTile) {
            // A tile within every row's range is covered whole on those rows.
            Part part{0.0, strip, strip + kTile - 1, rowFirst, rowLast};
            if (strip < allFirst || strip + kTile - 1 > allLast) {
                part = Part{0.0, strip + kTile, strip - 1, -1, -1};
                for (std::int64_t j = rowFirst; j <= rowLast; ++j) {
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
