// GridInCircle(a, b, c, d, square): for grid nodes a, b, c counter-clockwise, 1 when d lies
// strictly inside their circle, 0 on it, -1 outside: InCircle of their plan positions, decided in
// integers from their indices where it can be. The lattice is exactly affine (GridLattice), so
// with steps dx, dy the in-circle determinant is dx dy (dx^2 X + dy^2 Y), X and Y determinants of
// the index offsets from d (the lifts split into their column and row squares). `square` says
// dx == dy: the sign is then that of X + Y; otherwise it is known when X and Y do not have
// opposite signs. Offsets below 2^13 keep X + Y below 2^56; the rest goes to InCircle.
#pragma once

#include <cstdint>

#include "geom/kernel/predicates.h"
#include "geom/thinning/grid_scan.h"

namespace geom {

inline int GridInCircle(const GridNode& a, const GridNode& b, const GridNode& c, const GridNode& d,
                        bool square) {
    constexpr std::int64_t kSmall = std::int64_t{1} << 13;
    const std::int64_t ai = a.i - d.i, aj = a.j - d.j;
    const std::int64_t bi = b.i - d.i, bj = b.j - d.j;
    const std::int64_t ci = c.i - d.i, cj = c.j - d.j;
    const auto small = [](std::int64_t v) { return v < kSmall && -v < kSmall; };
    if (small(ai) && small(aj) && small(bi) && small(bj) && small(ci) && small(cj)) {
        const std::int64_t ma = bi * cj - ci * bj, mb = ci * aj - ai * cj, mc = ai * bj - bi * aj;
        const std::int64_t x = ai * ai * ma + bi * bi * mb + ci * ci * mc;
        const std::int64_t y = aj * aj * ma + bj * bj * mb + cj * cj * mc;
        if (square || (x >= 0 && y >= 0) || (x <= 0 && y <= 0)) {
            const std::int64_t sum = x + y;
            return static_cast<int>(sum > 0) - static_cast<int>(sum < 0);
        }
    }
    return InCircle(PlanPoint{a.p.x, a.p.y}, PlanPoint{b.p.x, b.p.y}, PlanPoint{c.p.x, c.p.y},
                    PlanPoint{d.p.x, d.p.y});
}

}  // namespace geom
