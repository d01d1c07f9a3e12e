#include "geom/surface/triangle_grid.h"

#include <algorithm>
#include <cmath>

namespace geom {

namespace {

std::size_t CellCount(double cells, std::size_t most) {
    if (!(cells >= 1)) {
        return 1;
    }
    return std::min(most, static_cast<std::size_t>(std::ceil(cells)));
}

}  // namespace

CTriangleGrid::CTriangleGrid(const WeldedSurface& surface, double trianglesPerCell) {
    const std::size_t n = surface.triangles.size();
    minX_ = minY_ = INFINITY;
    maxX_ = maxY_ = -INFINITY;
    for (const SurfaceTriangle& t : surface.triangles) {
        for (std::int32_t c : t.corner) {
            minX_ = std::min(minX_, surface.points[c].x);
            minY_ = std::min(minY_, surface.points[c].y);
            maxX_ = std::max(maxX_, surface.points[c].x);
            maxY_ = std::max(maxY_, surface.points[c].y);
        }
    }
    const double cell =
        std::sqrt(trianglesPerCell * (maxX_ - minX_) * (maxY_ - minY_) / static_cast<double>(n));
    columns_ = CellCount((maxX_ - minX_) / cell, n);
    rows_ = CellCount((maxY_ - minY_) / cell, n);
    scaleX_ = columns_ / (maxX_ - minX_);
    scaleY_ = rows_ / (maxY_ - minY_);

    start_.assign(columns_ * rows_ + 1, 0);
    ForEachCell(surface, [&](std::size_t, std::size_t cell) { ++start_[cell + 1]; });
    for (std::size_t i = 1; i < start_.size(); ++i) {
        start_[i] += start_[i - 1];
    }
    entries_.resize(start_.back());
    std::vector<std::size_t> fill(start_.begin(), start_.end() - 1);
    ForEachCell(surface, [&](std::size_t t, std::size_t cell) {
        entries_[fill[cell]++] = static_cast<std::int32_t>(t);
    });
}

std::size_t CTriangleGrid::Column(double x) const {
    return GridCell((x - minX_) * scaleX_, columns_);
}

std::size_t CTriangleGrid::Row(double y) const {
    return GridCell((y - minY_) * scaleY_, rows_);
}

template <typename Visit>
void CTriangleGrid::ForEachCell(const WeldedSurface& surface, Visit visit) const {
    for (std::size_t t = 0; t < surface.triangles.size(); ++t) {
        const std::int32_t* c = surface.triangles[t].corner;
        const SurfacePoint& a = surface.points[c[0]];
        const SurfacePoint& b = surface.points[c[1]];
        const SurfacePoint& d = surface.points[c[2]];
        const std::size_t c0 = Column(std::min(a.x, std::min(b.x, d.x)));
        const std::size_t c1 = Column(std::max(a.x, std::max(b.x, d.x)));
        const std::size_t r0 = Row(std::min(a.y, std::min(b.y, d.y)));
        const std::size_t r1 = Row(std::max(a.y, std::max(b.y, d.y)));
        for (std::size_t col = c0; col <= c1; ++col) {
            for (std::size_t r = r0; r <= r1; ++r) {
                visit(t, col * rows_ + r);
            }
        }
    }
}

}  // namespace geom
