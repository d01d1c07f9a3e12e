// CTriangleGrid: a uniform grid over the plan boxes of a welded surface's triangles in which
// each cell lists the triangles whose box meets it. It finds the triangles that may overlap a
// plan box.
//
// CTriangleGrid(surface, trianglesPerCell): builds the grid with cells of the area that many
// triangles cover on average (the surface must have triangles). Its cells are those of
// LayOutTriangleGrid(surface, trianglesPerCell), which lays them out without listing anything:
// the box of the triangles' corners, and Column(x), Row(y) of a plan position (clamped).
// ForEachNear(x0, y0, x1, y1, visit): calls visit(triangle) for every triangle listed in the
// cells the box [x0, x1] x [y0, y1] meets; a triangle may come more than once.
// Throws std::bad_alloc when memory is short.
//
// GridCell(scaled, count): the cell along one axis of a position measured in cells from the
// grid's start, clamped to 0 ... count - 1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "geom/surface/welded_surface.h"

namespace geom {

inline std::size_t GridCell(double scaled, std::size_t count) {
    if (!(scaled > 0)) {
        return 0;
    }
    return scaled >= static_cast<double>(count) ? count - 1 : static_cast<std::size_t>(scaled);
}

struct TriangleGridLayout {
    double minX, minY, maxX, maxY;
    double scaleX, scaleY;  // cells per unit
    std::size_t columns, rows;

    std::size_t Column(double x) const { return GridCell((x - minX) * scaleX, columns); }
    std::size_t Row(double y) const { return GridCell((y - minY) * scaleY, rows); }
};

TriangleGridLayout LayOutTriangleGrid(const WeldedSurface& surface, double trianglesPerCell);

class CTriangleGrid {
public:
    CTriangleGrid(const WeldedSurface& surface, double trianglesPerCell);

    template <typename Visit>
    void ForEachNear(double x0, double y0, double x1, double y1, Visit visit) const {
        const TriangleGridLayout& g = layout_;
        if (x1 < g.minX || y1 < g.minY || x0 > g.maxX || y0 > g.maxY) {
            return;
        }
        const std::size_t c1 = g.Column(x1);
        const std::size_t r0 = g.Row(y0), r1 = g.Row(y1);
        for (std::size_t c = g.Column(x0); c <= c1; ++c) {
            for (std::size_t r = r0; r <= r1; ++r) {
                const std::size_t cell = c * g.rows + r;
                for (std::size_t i = start_[cell]; i < start_[cell + 1]; ++i) {
                    visit(entries_[i]);
                }
            }
        }
    }

private:
    template <typename Visit>
    void ForEachCell(const WeldedSurface& surface, Visit visit) const;

    TriangleGridLayout layout_;
    std::vector<std::size_t> start_;     // per cell (column by column), into entries_
    std::vector<std::int32_t> entries_;  // triangles
};

}  // namespace geom
