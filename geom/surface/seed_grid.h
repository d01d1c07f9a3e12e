// CSeedGrid: a coarse grid over a welded surface that keeps, for each cell, one triangle whose
// centroid lies in it (cells without one take a neighbour's in their column): where walks
// towards a point start.
//
// CSeedGrid(surface): builds it (the surface must have triangles); Near(x, y): a triangle near
// the plan point, or -1. Throws std::bad_alloc when memory is short.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "geom/surface/triangle_grid.h"
#include "geom/surface/welded_surface.h"

namespace geom {

class CSeedGrid {
public:
    explicit CSeedGrid(const WeldedSurface& surface);

    // A triangle near (x, y), or -1.
    std::int32_t Near(double x, double y) const { return cells_[Cell(x, y)]; }

private:
    static std::size_t Cells(double cells, std::size_t most) {
        return cells >= 1 ? std::min(most, static_cast<std::size_t>(std::ceil(cells))) : 1;
    }

    std::size_t Cell(double x, double y) const {
        return GridCell((x - minX_) * scaleX_, columns_) * rows_ +
               GridCell((y - minY_) * scaleY_, rows_);
    }

    double minX_ = INFINITY;
    double minY_ = INFINITY;
    double scaleX_ = 1;
    double scaleY_ = 1;
    std::size_t columns_ = 1;
    std::size_t rows_ = 1;
    std::vector<std::int32_t> cells_;
};

}  // namespace geom
