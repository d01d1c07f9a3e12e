// CdtCellGrid: ids of plan positions (or of anything spanning cells) filed by the square cells
// of a grid with its origin at (x0, y0).
//
// Add(column, row, id) or Add(vertex, id) files an id; ForEachIn(minX, minY, maxX, maxY, visit)
// calls visit(id) for every id filed in the cells that box touches, ForEachNear(x, y, r, visit)
// for those the square of half-width r around (x, y) touches. The cells are held in one array.
//
// CdtBox: the plan box around the vertices it was extended by.
// CdtGridOver(box, count, smallestCell): a grid for `count` positions within the box: about one per
// cell (at most count + 1 cells across the box, plus a margin), cells at least smallestCell wide,
// covering the box with a margin of two cells.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "geom/kernel/vertex.h"

namespace geom {

class CdtCellGrid {
public:
    // Columns and rows 0 ... columns - 1 and 0 ... rows - 1 are held; ids filed outside are
    // dropped, and visits there find nothing.
    CdtCellGrid(double x0, double y0, double cell, std::int64_t columns, std::int64_t rows)
        : x0_(x0),
          y0_(y0),
          cell_(cell),
          columns_(columns),
          rows_(rows),
          cells_(static_cast<std::size_t>(columns * rows)) {}

    std::int64_t Column(double x) const {
        return static_cast<std::int64_t>(std::floor((x - x0_) / cell_));
    }
    std::int64_t Row(double y) const {
        return static_cast<std::int64_t>(std::floor((y - y0_) / cell_));
    }
    double ColumnX(std::int64_t column) const { return x0_ + static_cast<double>(column) * cell_; }

    void Add(std::int64_t column, std::int64_t row, std::uint32_t id) {
        if (Holds(column, row)) {
            cells_[Index(column, row)].push_back(id);
        }
    }
    void Add(const CVertex& v, std::uint32_t id) { Add(Column(v.x), Row(v.y), id); }

    // Calls visit(id) for everything filed in the cells that the box touches.
    template <typename Visit>
    void ForEachIn(double minX, double minY, double maxX, double maxY, Visit visit) const {
        const std::int64_t lastColumn = std::min(Column(maxX), columns_ - 1);
        const std::int64_t lastRow = std::min(Row(maxY), rows_ - 1);
        for (std::int64_t c = std::max<std::int64_t>(Column(minX), 0); c <= lastColumn; ++c) {
            for (std::int64_t w = std::max<std::int64_t>(Row(minY), 0); w <= lastRow; ++w) {
                for (const std::uint32_t id : cells_[Index(c, w)]) {
                    visit(id);
                }
            }
        }
    }
    template <typename Visit>
    void ForEachNear(double x, double y, double r, Visit visit) const {
        ForEachIn(x - r, y - r, x + r, y + r, visit);
    }

private:
    bool Holds(std::int64_t column, std::int64_t row) const {
        return column >= 0 && column < columns_ && row >= 0 && row < rows_;
    }
    std::size_t Index(std::int64_t column, std::int64_t row) const {
        return static_cast<std::size_t>(column * rows_ + row);
    }

    double x0_;
    double y0_;
    double cell_;
    std::int64_t columns_;
    std::int64_t rows_;
    std::vector<std::vector<std::uint32_t>> cells_;
};

struct CdtBox {
    double minX = HUGE_VAL;
    double minY = HUGE_VAL;
    double maxX = -HUGE_VAL;
    double maxY = -HUGE_VAL;

    void Extend(const CVertex& v) {
        minX = std::min(minX, v.x);
        minY = std::min(minY, v.y);
        maxX = std::max(maxX, v.x);
        maxY = std::max(maxY, v.y);
    }
    bool Empty() const { return minX > maxX; }
    double Extent() const { return Empty() ? 0.0 : std::max(maxX - minX, maxY - minY); }
};

inline CdtCellGrid CdtGridOver(const CdtBox& box, std::size_t count, double smallestCell) {
    if (box.Empty()) {
        return CdtCellGrid(0.0, 0.0, 1.0, 1, 1);
    }
    const double extent = box.Extent();
    double cell =
        std::max(smallestCell, extent / std::floor(std::sqrt(static_cast<double>(count + 1))));
    if (!(cell > 0.0)) {
        cell = 1.0;
    }
    // Four cells more across than the box needs, for the margin below it and rounding.
    const auto across = [&](double width) {
        return static_cast<std::int64_t>(std::floor(width / cell)) + 5;
    };
    return CdtCellGrid(box.minX - 2 * cell, box.minY - 2 * cell, cell, across(box.maxX - box.minX),
                       across(box.maxY - box.minY));
}

}  // namespace geom
