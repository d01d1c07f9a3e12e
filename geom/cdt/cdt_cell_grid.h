// CdtCellGrid: ids of plan positions (or of anything spanning cells) filed by the square cells
// of a grid with its origin at (x0, y0).
//
// Add(column, row, id) or Add(vertex, id) files an id; ForEachIn(minX, minY, maxX, maxY, visit)
// calls visit(id) for every id filed in the cells that box touches, ForEachNear(x, y, r, visit)
// for those the square of half-width r around (x, y) touches.
//
// CdtBox: the plan box around the vertices it was extended by.
// CdtGridOver(box, count, smallestCell): a grid for `count` positions within the box: about one per
// cell, cells at least smallestCell wide and at most 2^30 across the box (so that columns and rows
// stay within -2 ... 2^31), the origin 2 * smallestCell below the box.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "geom/kernel/vertex.h"

namespace geom {

class CdtCellGrid {
public:
    CdtCellGrid(double x0, double y0, double cell) : x0_(x0), y0_(y0), cell_(cell) {}

    std::int64_t Column(double x) const {
        return static_cast<std::int64_t>(std::floor((x - x0_) / cell_));
    }
    std::int64_t Row(double y) const {
        return static_cast<std::int64_t>(std::floor((y - y0_) / cell_));
    }
    double ColumnX(std::int64_t column) const { return x0_ + static_cast<double>(column) * cell_; }
    double Cell() const { return cell_; }

    void Add(std::int64_t column, std::int64_t row, std::uint32_t id) {
        cells_[Key(column, row)].push_back(id);
    }
    void Add(const CVertex& v, std::uint32_t id) { Add(Column(v.x), Row(v.y), id); }

    // Calls visit(id) for everything filed in the cells that the box touches.
    template <typename Visit>
    void ForEachIn(double minX, double minY, double maxX, double maxY, Visit visit) const {
        for (std::int64_t c = Column(minX); c <= Column(maxX); ++c) {
            for (std::int64_t w = Row(minY); w <= Row(maxY); ++w) {
                const auto found = cells_.find(Key(c, w));
                if (found != cells_.end()) {
                    for (const std::uint32_t id : found->second) {
                        visit(id);
                    }
                }
            }
        }
    }
    template <typename Visit>
    void ForEachNear(double x, double y, double r, Visit visit) const {
        ForEachIn(x - r, y - r, x + r, y + r, visit);
    }

private:
    static std::uint64_t Key(std::int64_t column, std::int64_t row) {
        return (static_cast<std::uint64_t>(column + 2) << 32) ^ static_cast<std::uint64_t>(row + 2);
    }

    double x0_;
    double y0_;
    double cell_;
    std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> cells_;
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
        return CdtCellGrid(0.0, 0.0, smallestCell > 0.0 ? smallestCell : 1.0);
    }
    const double extent = box.Extent();
    double cell = std::max(
        {smallestCell, extent / std::sqrt(static_cast<double>(count + 1)), extent * 0x1p-30});
    if (!(cell > 0.0)) {
        cell = 1.0;
    }
    return CdtCellGrid(box.minX - 2 * smallestCell, box.minY - 2 * smallestCell, cell);
}

}  // namespace geom
