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

TriangleGridLayout LayOutTriangleGrid(const WeldedSurface& surface, double trianglesPerCell) {
    const std::size_t n = surface.triangles.size();
    TriangleGridLayout g{};
    g.minX = g.minY = INFINITY;
    g.maxX = g.maxY = -INFINITY;
    for (const SurfaceTriangle& t : surface.triangles) {
        for (std::int32_t c : t.corner) {
            g.minX = std::min(g.minX, surface.points[c].x);
            g.minY = std::min(g.minY, surface.points[c].y);
            g.maxX = std::max(g.maxX, surface.points[c].x);
            g.maxY = std::max(g.maxY, surface.points[c].y);
        }
    }
    const double cell = std::sqrt(trianglesPerCell * (g.maxX - g.minX) * (g.maxY - g.minY) /
                                  static_cast<double>(n));
    g.columns = CellCount((g.maxX - g.minX) / cell, n);
    g.rows = CellCount((g.maxY - g.minY) / cell, n);
    g.scaleX = g.columns / (g.maxX - g.minX);
    g.scaleY = g.rows / (g.maxY - g.minY);
    return g;
}

CTriangleGrid::CTriangleGrid(const WeldedSurface& surface, double trianglesPerCell)
    : layout_(LayOutTriangleGrid(surface, trianglesPerCell)) {
    start_.assign(layout_.columns * layout_.rows + 1, 0);
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

template <typename Visit>
void CTriangleGrid::ForEachCell(const WeldedSurface& surface, Visit visit) const {
    for (std::size_t t = 0; t < surface.triangles.size(); ++t) {
        const std::int32_t* c = surface.triangles[t].corner;
        const SurfacePoint& a = surface.points[c[0]];
        const SurfacePoint& b = surface.points[c[1]];
        const SurfacePoint& d = surface.points[c[2]];
        const std::size_t c0 = layout_.Column(std::min(a.x, std::min(b.x, d.x)));
        const std::size_t c1 = layout_.Column(std::max(a.x, std::max(b.x, d.x)));
        const std::size_t r0 = layout_.Row(std::min(a.y, std::min(b.y, d.y)));
        const std::size_t r1 = layout_.Row(std::max(a.y, std::max(b.y, d.y)));
        for (std::size_t col = c0; col <= c1; ++col) {
            for (std::size_t r = r0; r <= r1; ++r) {
                visit(t, col * layout_.rows + r);
            }
        }
    }
}

}  // namespace geom
