#include "geom/thinning/grid_lattice.h"

#include <algorithm>
#include <cmath>
#include <limits>

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
    const auto split = [](double v, double& high, double& low) {
        const double c = 134217729.0 * v;  // 2^27 + 1
        high = c - (c - v);
        low = v - high;
    };
    double nh, nl, hh, hl;
    split(n, nh, nl);
    split(h, hh, hl);
    const double error = ((nh * hh - product) + nh * hl + nl * hh) + nl * hl;
    return error == 0.0;
}

// The coordinates per index along one axis: values[k] must be low + k step exactly, and every
// point's coordinate one of them. Gives the index of each point in `index`.
bool Axis(const std::vector<ThinPoint>& points, double ThinPoint::*axis, std::uint32_t count,
          std::vector<double>& values, std::vector<std::uint32_t>& index) {
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (const ThinPoint& p : points) {
        low = std::min(low, p.*axis);
        high = std::max(high, p.*axis);
    }
    const double step = (high - low) / static_cast<double>(count - 1);
    if (!(low >= -kLargest && high <= kLargest && step >= kSmallest)) {
        return false;
    }
    values.assign(count, std::numeric_limits<double>::quiet_NaN());
    index.resize(points.size());
    for (std::size_t k = 0; k < points.size(); ++k) {
        const double v = points[k].*axis;
        const double at = std::floor((v - low) / step + 0.5);
        if (!(at >= 0.0 && at < static_cast<double>(count))) {
            return false;
        }
        const auto i = static_cast<std::uint32_t>(at);
        if (std::isnan(values[i])) {
            values[i] = v;
        } else if (values[i] != v) {
            return false;
        }
        index[k] = i;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        double difference = 0.0, product = 0.0;
        if (!ExactDifference(values[i], low, difference) ||
            !ExactProduct(static_cast<double>(i), step, product) || difference != product) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool FindGridLattice(const std::vector<ThinPoint>& points, GridLattice& grid) {
    if (points.size() < 4 || points.size() >= 0xFFFFFFFFu) {
        return false;
    }
    // On a grid, the points on the first point's row count the columns, those on its column the
    // rows.
    std::uint64_t columns = 0, rows = 0;
    for (const ThinPoint& p : points) {
        columns += p.y == points[0].y ? 1 : 0;
        rows += p.x == points[0].x ? 1 : 0;
    }
    if (columns < 2 || rows < 2 || columns * rows != points.size()) {
        return false;
    }
    grid.columns = static_cast<std::uint32_t>(columns);
    grid.rows = static_cast<std::uint32_t>(rows);
    std::vector<std::uint32_t> column, row;
    if (!Axis(points, &ThinPoint::x, grid.columns, grid.xs, column) ||
        !Axis(points, &ThinPoint::y, grid.rows, grid.ys, row)) {
        return false;
    }
    grid.ids.assign(points.size(), 0xFFFFFFFFu);
    const std::size_t tilesDown = (grid.rows + GridLattice::kTile - 1) >> GridLattice::kTileShift;
    grid.z.resize(grid.TilesAcross() * tilesDown * GridLattice::kTile * GridLattice::kTile);
    for (std::size_t k = 0; k < points.size(); ++k) {
        const std::size_t node = static_cast<std::size_t>(row[k]) * grid.columns + column[k];
        if (grid.ids[node] != 0xFFFFFFFFu || !(std::fabs(points[k].z) <= kLargest)) {
            return false;
        }
        grid.ids[node] = static_cast<std::uint32_t>(k);
        grid.z[grid.At(column[k], row[k])] = points[k].z;
    }
    return true;
}

}  // namespace geom
