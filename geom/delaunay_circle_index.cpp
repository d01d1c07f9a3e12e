#include "geom/delaunay_circle_index.h"

#include <algorithm>
#include <cmath>

namespace geom {

namespace {

constexpr int kMaxLevel = 18;

// Widening of a filed circle: relative to its radius (covers the rounding of the squared radius
// and the distances in CircleHolds) and relative to the magnitudes of the bounds (covers the
// rounding of the bounds themselves).
constexpr double kRadiusSlack = 1e-9;
constexpr double kBoundSlack = 1e-12;
constexpr double kTiny = 1e-150;

}  // namespace

CCircleIndex::CCircleIndex(double ymin, double ymax, double xmax, double finestCellHint)
    : ymin_(ymin), ymax_(ymax), xmax_(xmax) {
    const double height = ymax - ymin;
    if (height > 0.0 && std::isfinite(height)) {
        while (finestLevel_ < kMaxLevel && std::ldexp(1.0, finestLevel_) < finestCellHint) {
            ++finestLevel_;
        }
    }
    for (int level = 0; level <= finestLevel_; ++level) {
        const double cells = std::ldexp(1.0, level);
        levels_.push_back(Level{finestLevel_ == 0 ? 0.0 : cells / height, cells - 1.0,
                                (std::int32_t{1} << level) - 1});
    }
    cells_.resize((std::size_t{1} << (finestLevel_ + 1)) - 1);
}

std::int32_t CCircleIndex::CellAt(int level, double y) const {
    const Level& l = levels_[level];
    const double t = (y - ymin_) * l.scale;
    if (!(t > 0.0)) {
        return l.first;
    }
    return l.first + static_cast<std::int32_t>(t < l.lastCell ? t : l.lastCell);
}

CCircleIndex::Cells CCircleIndex::Place(double xc, double yc, double r, double xFrom) const {
    Cells whole;
    whole.lo = whole.hi = 0;
    if (!std::isfinite(xc) || !std::isfinite(yc) || !std::isfinite(r)) {
        return whole;
    }
    // Half the height of the circle's part over the x range [xFrom, xmax].
    const double reach = r * (1.0 + kRadiusSlack) + kTiny;
    double dx = 0.0;
    if (xc < xFrom) {
        dx = xFrom - xc;
    } else if (xc > xmax_) {
        dx = xc - xmax_;
    }
    const double half2 = reach * reach - dx * dx;
    if (half2 < 0.0) {
        return Cells();
    }
    if (!(half2 >= 0.0)) {
        return whole;
    }
    const double half = std::sqrt(half2);
    double lo = yc - half;
    double hi = yc + half;
    lo -= (std::fabs(lo) + half) * kBoundSlack + kTiny;
    hi += (std::fabs(hi) + half) * kBoundSlack + kTiny;
    if (lo > ymax_ || hi < ymin_) {
        return Cells();
    }
    lo = std::max(lo, ymin_);
    hi = std::min(hi, ymax_);

    int level = finestLevel_;
    const double extent = hi - lo;
    if (extent > 0.0) {
        const double ratio = (ymax_ - ymin_) / extent;
        const int fit = ratio >= 1.0 ? std::ilogb(ratio) : 0;
        level = std::min(level, std::max(fit, 0));
    }
    Cells cells;
    for (;; --level) {
        cells.lo = CellAt(level, lo);
        cells.hi = CellAt(level, hi);
        if (cells.hi - cells.lo <= 1 || level == 0) {
            return cells;
        }
    }
}

void CCircleIndex::Insert(std::int32_t id, Cells cells, double xc, double yc, double r) {
    if (slots_.size() <= static_cast<std::size_t>(id)) {
        slots_.resize(static_cast<std::size_t>(id) + 1);
    }
    Append(cells.lo, Entry{xc, yc, r, id, cells.hi});
    if (cells.hi != cells.lo) {
        Append(cells.hi, Entry{xc, yc, r, id, cells.lo});
    }
}

void CCircleIndex::Erase(std::int32_t id, Cells cells) {
    RemoveAt(cells.lo, slots_[id][0]);
    if (cells.hi != cells.lo) {
        RemoveAt(cells.hi, slots_[id][1]);
    }
}

// An entry is in its lower cell when that is not above its partner.
void CCircleIndex::Append(std::int32_t cell, const Entry& entry) {
    std::vector<Entry>& entries = cells_[cell];
    slots_[entry.id][cell <= entry.partner ? 0 : 1] = static_cast<std::int32_t>(entries.size());
    entries.push_back(entry);
}

// Moves the cell's last entry into the position.
void CCircleIndex::RemoveAt(std::int32_t cell, std::int32_t position) {
    std::vector<Entry>& entries = cells_[cell];
    const Entry& last = entries.back();
    slots_[last.id][cell <= last.partner ? 0 : 1] = position;
    entries[position] = last;
    entries.pop_back();
}

}  // namespace geom
