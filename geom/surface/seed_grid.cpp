#include "geom/surface/seed_grid.h"

#include <algorithm>

namespace geom {

CSeedGrid::CSeedGrid(const WeldedSurface& surface) {
    const std::size_t n = surface.triangles.size();
    double maxX = -INFINITY;
    double maxY = -INFINITY;
    for (const SurfacePoint& p : surface.points) {
        minX_ = std::min(minX_, p.x);
        minY_ = std::min(minY_, p.y);
        maxX = std::max(maxX, p.x);
        maxY = std::max(maxY, p.y);
    }
    // About four triangles per cell.
    const double side = std::sqrt(4 * (maxX - minX_) * (maxY - minY_) / static_cast<double>(n));
    columns_ = Cells((maxX - minX_) / side, n);
    rows_ = Cells((maxY - minY_) / side, n);
    scaleX_ = columns_ / (maxX - minX_);
    scaleY_ = rows_ / (maxY - minY_);
    cells_.assign(columns_ * rows_, -1);
    for (std::size_t t = 0; t < n; ++t) {
        const std::int32_t* c = surface.triangles[t].corner;
        const double x =
            (surface.points[c[0]].x + surface.points[c[1]].x + surface.points[c[2]].x) / 3;
        const double y =
            (surface.points[c[0]].y + surface.points[c[1]].y + surface.points[c[2]].y) / 3;
        cells_[Cell(x, y)] = static_cast<std::int32_t>(t);
    }
    // Cells without a centroid of their own take the one before them in their column (or
    // after, at the column's start), so that a walk starts near wherever it goes.
    for (std::size_t c = 0; c < columns_; ++c) {
        std::int32_t* column = &cells_[c * rows_];
        for (std::size_t r = 1; r < rows_; ++r) {
            column[r] = column[r] < 0 ? column[r - 1] : column[r];
        }
        for (std::size_t r = rows_ - 1; r-- > 0;) {
            column[r] = column[r] < 0 ? column[r + 1] : column[r];
        }
    }
}

}  // namespace geom
