#include "app/gis/rasterize_triangles.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "app/gis/coordinate_system.h"

namespace kafcad {
namespace {

constexpr double kMaxSide = 2147483647.0;
constexpr double kMaxCells = 1e9;

struct Corner {
    double x;
    double y;
    double z;
};

// Twice the signed area of (a, b, p), computed from the edge's endpoints in one fixed order
// whichever triangle asks: the two triangles beside an edge get exactly opposite values for every
// point, so a point near the edge lies in one of them or on the edge of both, never in neither.
double EdgeSide(const Corner& a, const Corner& b, double px, double py) {
    const bool ordered = a.x < b.x || (a.x == b.x && a.y < b.y);
    const Corner& s = ordered ? a : b;
    const Corner& e = ordered ? b : a;
    const double side = (e.x - s.x) * (py - s.y) - (e.y - s.y) * (px - s.x);
    return ordered ? side : -side;
}

void SampleTriangle(const PlanTriangle& triangle, RasterGrid& grid, std::vector<bool>& filled) {
    Corner c[3];
    for (int i = 0; i < 3; ++i) {
        c[i] = {triangle[i][0], triangle[i][1], triangle[i][2]};
    }
    double sense = EdgeSide(c[0], c[1], c[2].x, c[2].y);
    if (sense == 0.0) {
        return;
    }
    sense = sense > 0.0 ? 1.0 : -1.0;
    const double minX = std::min({c[0].x, c[1].x, c[2].x});
    const double maxX = std::max({c[0].x, c[1].x, c[2].x});
    const double minY = std::min({c[0].y, c[1].y, c[2].y});
    const double maxY = std::max({c[0].y, c[1].y, c[2].y});
    const double cell = grid.cellSize;
    // The columns and rows whose centres may fall inside, one more each way for rounding.
    const double firstColumn = std::floor((minX - grid.left) / cell - 0.5) - 1.0;
    const double lastColumn = std::ceil((maxX - grid.left) / cell - 0.5) + 1.0;
    const double firstRow = std::floor((grid.top - maxY) / cell - 0.5) - 1.0;
    const double lastRow = std::ceil((grid.top - minY) / cell - 0.5) + 1.0;
    const auto clampIndex = [](double index, std::size_t count) {
        return static_cast<std::size_t>(std::clamp(index, 0.0, static_cast<double>(count) - 1.0));
    };
    const std::size_t c0 = clampIndex(firstColumn, grid.columns);
    const std::size_t c1 = clampIndex(lastColumn, grid.columns);
    const std::size_t r0 = clampIndex(firstRow, grid.rows);
    const std::size_t r1 = clampIndex(lastRow, grid.rows);
    for (std::size_t row = r0; row <= r1; ++row) {
        const double y = grid.top - (static_cast<double>(row) + 0.5) * cell;
        for (std::size_t column = c0; column <= c1; ++column) {
            const std::size_t index = row * grid.columns + column;
            if (filled[index]) {
                continue;
            }
            const double x = grid.left + (static_cast<double>(column) + 0.5) * cell;
            // The weight of each corner: the area of the sub-triangle opposite it.
            const double w[3] = {sense * EdgeSide(c[1], c[2], x, y),
                                 sense * EdgeSide(c[2], c[0], x, y),
                                 sense * EdgeSide(c[0], c[1], x, y)};
            if (w[0] < 0.0 || w[1] < 0.0 || w[2] < 0.0) {
                continue;
            }
            // From the corner of largest weight: at a corner the other weights are exactly 0,
            // and the corner's z comes out as it is.
            const int base = w[0] >= w[1] ? (w[0] >= w[2] ? 0 : 2) : (w[1] >= w[2] ? 1 : 2);
            const int next = (base + 1) % 3;
            const int last = (base + 2) % 3;
            const double total = w[0] + w[1] + w[2];
            grid.values[index] =
                c[base].z +
                (w[next] * (c[next].z - c[base].z) + w[last] * (c[last].z - c[base].z)) / total;
            filled[index] = true;
        }
    }
}

}  // namespace

RasterGrid GridFor(const std::vector<PlanTriangle>& triangles, double cellSize) {
    if (!(cellSize > 0.0) || !std::isfinite(cellSize)) {
        throw GisError("the cell size has to be a positive number");
    }
    if (triangles.empty()) {
        throw GisError("the surface has no triangles");
    }
    double minX = std::numeric_limits<double>::infinity();
    double minY = minX;
    double maxX = -minX;
    double maxY = -minX;
    for (const PlanTriangle& triangle : triangles) {
        for (const auto& corner : triangle) {
            if (!std::isfinite(corner[0]) || !std::isfinite(corner[1]) ||
                !std::isfinite(corner[2])) {
                throw GisError("the surface has a corner with a coordinate that is not finite");
            }
            minX = std::min(minX, corner[0]);
            maxX = std::max(maxX, corner[0]);
            minY = std::min(minY, corner[1]);
            maxY = std::max(maxY, corner[1]);
        }
    }
    RasterGrid grid;
    grid.cellSize = cellSize;
    const double firstColumn = std::floor(minX / cellSize);
    const double topRow = std::ceil(maxY / cellSize);
    const double columns = std::max(1.0, std::ceil(maxX / cellSize) - firstColumn);
    const double rows = std::max(1.0, topRow - std::floor(minY / cellSize));
    if (columns > kMaxSide || rows > kMaxSide || columns * rows > kMaxCells) {
        const auto whole = [](double count) {
            return std::to_string(static_cast<unsigned long long>(std::min(count, 1e19)));
        };
        throw GisError("the cell size makes " + whole(columns) + " x " + whole(rows) +
                       " cells, more than kafcad writes (1e9 cells, 2^31 - 1 a side)");
    }
    grid.left = firstColumn * cellSize;
    grid.top = topRow * cellSize;
    grid.columns = static_cast<std::size_t>(columns);
    grid.rows = static_cast<std::size_t>(rows);
    return grid;
}

RasterGrid RasterizeTriangles(const std::vector<PlanTriangle>& triangles, double cellSize,
                              double nodata) {
    RasterGrid grid = GridFor(triangles, cellSize);
    grid.nodata = nodata;
    grid.values.assign(grid.columns * grid.rows, nodata);
    std::vector<bool> filled(grid.values.size(), false);
    for (const PlanTriangle& triangle : triangles) {
        SampleTriangle(triangle, grid, filled);
    }
    return grid;
}

}  // namespace kafcad
