// CCircleIndex: finds, for a query point, the circles that may hold it, while the query points
// arrive in ascending x (a sweep).
//
// Input: the y range [ymin, ymax] and the largest x of all query points, and a hint of how many
// cells the finest level should have. A circle is filed with Place() and Insert() under the id
// its owner gives it, knowing that later query points have x >= xFrom; Erase() takes it out.
// Output: Query(x, y, ...) names every filed circle that may hold the point (x, y) and takes
// out those the sweep has left behind.
//
// Guarantee: a point (x, y) with xFrom <= x <= xmax and ymin <= y <= ymax for which CircleHolds
// is true with the circle's centre and a squared radius within a few rounding steps of r * r is
// always visited. The y range of the part of the circle that such points can reach is widened
// beyond those rounding steps before it is filed.
//
// Layout: level k splits [ymin, ymax] into 2^k equal cells; a circle is filed on the finest
// level where its y range spans at most two cells, in those cells. A query looks at one cell per
// level.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace geom {

class CCircleIndex {
public:
    // Cells of one filed circle, as indices over all levels; lo < 0 when it is not filed.
    struct Cells {
        std::int32_t lo = -1;
        std::int32_t hi = -1;
        bool Filed() const { return lo >= 0; }
    };

    CCircleIndex(double ymin, double ymax, double xmax, double finestCellHint);

    // Where to file the circle (xc, yc, r) for query points at x >= xFrom; not filed when no such
    // point can fall inside it.
    Cells Place(double xc, double yc, double r, double xFrom) const;

    void Insert(std::int32_t id, Cells cells, double xc, double yc, double r);
    void Erase(std::int32_t id, Cells cells);

    // Calls mayHold(id) for every filed circle whose cells cover p.y and that may hold p, that
    // is every one for which CircleHolds can be true; a circle entirely left of p (p.x > xc + r)
    // is taken out of the index instead and reported to dropped(id), since no later point of the
    // sweep can reach it.
    template <class MayHold, class Dropped>
    void Query(double px, double py, MayHold&& mayHold, Dropped&& dropped) {
        for (int level = 0; level <= finestLevel_; ++level) {
            const std::int32_t cell = CellAt(level, py);
            std::vector<Entry>& entries = cells_[cell];
            for (std::size_t e = 0; e < entries.size();) {
                const Entry entry = entries[e];
                if (px > entry.xc + entry.r) {
                    RemoveAt(cell, static_cast<std::int32_t>(e));
                    if (entry.partner != cell) {
                        RemoveAt(entry.partner, slots_[entry.id][entry.partner < cell ? 0 : 1]);
                    }
                    dropped(entry.id);
                    continue;
                }
                const double dx = px - entry.xc;
                const double dy = py - entry.yc;
                if (dx * dx + dy * dy <= entry.r * entry.r * kNearSlack + kNearTiny) {
                    mayHold(entry.id);
                }
                ++e;
            }
        }
    }

private:
    // One filing of a circle, with a copy of the circle; partner is its other cell on the same
    // level (or this cell).
    struct Entry {
        double xc;
        double yc;
        double r;
        std::int32_t id;
        std::int32_t partner;
    };

    // Widening of the squared radius in the near test of Query: far more than the rounding in
    // CircleHolds and in the squared radius it is given.
    static constexpr double kNearSlack = 1.0 + 1e-9;
    static constexpr double kNearTiny = 1e-300;

    std::int32_t CellAt(int level, double y) const;
    void Append(std::int32_t cell, const Entry& entry);
    void RemoveAt(std::int32_t cell, std::int32_t position);

    // Cell arithmetic of one level.
    struct Level {
        double scale;        // cells per unit of y
        double lastCell;     // 2^level - 1
        std::int32_t first;  // index of the level's first cell
    };

    double ymin_;
    double ymax_;
    double xmax_;
    int finestLevel_ = 0;
    std::vector<Level> levels_;
    std::vector<std::vector<Entry>> cells_;
    // By id: the positions of its entries in its lower cell [0] and its upper cell [1].
    std::vector<std::array<std::int32_t, 2>> slots_;
};

}  // namespace geom
