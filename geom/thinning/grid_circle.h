// GridInCircle(grid, a, b, c, d, square): for nodes a, b, c of the grid (GridPlace: column and
// row) counter-clockwise, 1 when d lies strictly inside their circle, 0 on it, -1 outside:
// InCircle of their plan positions, decided in integers from their indices where it can be. The
// lattice is exactly affine (GridLattice), so with steps dx, dy the in-circle determinant is
// dx dy (dx^2 X + dy^2 Y), X and Y determinants of the index offsets from d (the lifts split into
// their column and row squares). `square` says dx == dy: the sign is then that of X + Y;
// otherwise it is known when X and Y do not have opposite signs. Offsets below 2^13 keep X + Y
// below 2^56; the rest goes to InCircle on the nodes' coordinates.
#pragma once

#include <cstdint>

#include "geom/kernel/predicates.h"
#include "geom/thinning/grid_lattice.h"

namespace geom {

struct GridPlace {
    std::uint32_t i = 0;  // column
    std::uint32_t j = 0;  // row
};

inline int GridInCircle(const GridLattice& grid, GridPlace a, GridPlace b, GridPlace c, GridPlace d,
                        bool square) {
    constexpr std::int64_t kSmall = std::int64_t{1} << 13;
    const auto offset = [](std::uint32_t v, std::uint32_t from) {
        return static_cast<std::int64_t>(v) - static_cast<std::int64_t>(from);
    };
    const std::int64_t ai = offset(a.i, d.i), aj = offset(a.j, d.j);
    const std::int64_t bi = offset(b.i, d.i), bj = offset(b.j, d.j);
    const std::int64_t ci = offset(c.i, d.i), cj = offset(c.j, d.j);
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
    const auto plan = [&grid](GridPlace n) { return PlanPoint{grid.xs[n.i], grid.ys[n.j]}; };
    return InCircle(plan(a), plan(b), plan(c), plan(d));
}

}  // namespace geom
