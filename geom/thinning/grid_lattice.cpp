#include "geom/thinning/grid_lattice.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "geom/kernel/large_allocation.h"
#include "geom/kernel/veltkamp_split.h"

namespace geom {

namespace {

// Coordinates and elevations within 1e50 and steps of at least 1e-50: the planes of the grid's
// triangles and their distances then never overflow.
constexpr double kLargest = 1e50;
constexpr double kSmallest = 1e-50;

// Whether a - b is exact (Knuth's two-sum error is zero).
bool ExactDifference(double a, double b, double& difference) {
    difference = a - b;
    const double bv = difference - a;  // -b as the sum saw it
    return (a - (difference - bv)) + (-b - bv) == 0.0;
}

// Whether n h is exact (Dekker's two-product error is zero; n and h finite, no overflow).
bool ExactProduct(double n, double h, double& product) {
    product = n * h;
    if (!std::isfinite(product)) {
        return false;
    }
    double nh, nl, hh, hl;
    VeltkampSplit(n, nh, nl);
    VeltkampSplit(h, hh, hl);
    const double error = ((nh * hh - product) + nh * hl + nl * hh) + nl * hl;
    return error == 0.0;
}

// One axis of the lattice: count values from low to high, a step apart.
struct Axis {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    double step = 0.0;
    double perStep = 0.0;
    std::uint32_t count = 0;

    bool Set(std::uint64_t n, std::vector<double>& values) {
        count = static_cast<std::uint32_t>(n);
        step = (high - low) / static_cast<double>(count - 1);
        perStep = 1.0 / step;
        values.assign(count, std::numeric_limits<double>::quiet_NaN());
        return low >= -kLargest && high <= kLargest && step >= kSmallest;
    }
    // The index nearest v (checked afterwards: every value at an index must be the same, and
    // exactly low + index step); false beyond the axis.
    bool Index(double v, std::vector<double>& values, std::uint32_t& index) const {
        // floor(at) lies in [0, count) exactly when at does; there it is the truncation.
        const double at = (v - low) * perStep + 0.5;
        if (!(at >= 0.0 && at < static_cast<double>(count))) {
            return false;
        }
        index = static_cast<std::uint32_t>(at);
        double& value = values[index];
        if (std::isnan(value)) {
            value = v;
        }
        return value == v;
    }
    bool Exact(const std::vector<double>& values) const {
        for (std::uint32_t i = 0; i < count; ++i) {
            double difference = 0.0, product = 0.0;
            if (!ExactDifference(values[i], low, difference) ||
                !ExactProduct(static_cast<double>(i), step, product) || difference != product) {
                return false;
            }
        }
        return true;
    }
};

}  // namespace

bool FindGridLattice(const std::vector<ThinPoint>& points, GridLattice& grid) {
    if (points.size() < 4 || points.size() >= 0xFFFFFFFFu) {
        return false;
    }
    // On a grid, the points on the first point's row count the columns, those on its column the
    // rows.
    std::uint64_t columns = 0, rows = 0;
    Axis x, y;
    for (const ThinPoint& p : points) {
        columns += p.y == points[0].y ? 1 : 0;
        rows += p.x == points[0].x ? 1 : 0;
        x.low = std::min(x.low, p.x);
        x.high = std::max(x.high, p.x);
        y.low = std::min(y.low, p.y);
        y.high = std::max(y.high, p.y);
    }
    if (columns < 2 || rows < 2 || columns * rows != points.size() || !x.Set(columns, grid.xs) ||
        !y.Set(rows, grid.ys)) {
        return false;
    }
    grid.columns = x.count;
    grid.rows = y.count;
    // Both arrays are written whole at once: their pages are made present in one go.
    const std::size_t tilesDown = (grid.rows + GridLattice::kTile - 1) >> GridLattice::kTileShift;
    const std::size_t tiled =
        grid.TilesAcross() * tilesDown * GridLattice::kTile * GridLattice::kTile;
    PrepareVectorForWriting(grid.ids, points.size());
    grid.ids.assign(points.size(), 0xFFFFFFFFu);
    // Room for a tile's row before the first, to start the tiles at a multiple of its size.
    PrepareVectorForWriting(grid.z, tiled + GridLattice::kTile - 1);
    grid.z.resize(tiled + GridLattice::kTile - 1);
    const auto address = reinterpret_cast<std::uintptr_t>(grid.z.data()) / sizeof(double);
    grid.zFirst = (GridLattice::kTile - address % GridLattice::kTile) % GridLattice::kTile;
    // Every point at its own node: with as many points as nodes, every node is taken.
    for (std::size_t k = 0; k < points.size(); ++k) {
        const ThinPoint& p = points[k];
        std::uint32_t i = 0, j = 0;
        if (!x.Index(p.x, grid.xs, i) || !y.Index(p.y, grid.ys, j) ||
            !(std::fabs(p.z) <= kLargest)) {
            return false;
        }
        std::uint32_t& id = grid.ids[static_cast<std::size_t>(j) * grid.columns + i];
        if (id != 0xFFFFFFFFu) {
            return false;
        }
        id = static_cast<std::uint32_t>(k);
        grid.z[grid.At(i, j)] = p.z;
    }
    return x.Exact(grid.xs) && y.Exact(grid.ys);
}

}  // namespace geom
