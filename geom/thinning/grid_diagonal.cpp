#include "geom/thinning/grid_diagonal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace geom {

namespace {

// Twice the signed area of index triangle (p, q, r), as a double (exact below 2^53).
double IndexArea(const GridNode& p, const GridNode& q, const GridNode& r) {
    return static_cast<double>((q.i - p.i) * (r.j - p.j) - (q.j - p.j) * (r.i - p.i));
}

}  // namespace

bool GridCrossingFitsBetter(const GridLattice& grid, const GridNode& q, const GridNode& a,
                            const GridNode& d, const GridNode& b) {
    // The crossing at q + t (d - q) = a + s (b - a), in index units.
    const double abq = IndexArea(a, b, q), abd = IndexArea(a, b, d);
    const double t = abq / (abq - abd);
    const double qda = IndexArea(q, d, a), qdb = IndexArea(q, d, b);
    const double s = qda / (qda - qdb);
    const double ci = static_cast<double>(q.i) + t * static_cast<double>(d.i - q.i);
    const double cj = static_cast<double>(q.j) + t * static_cast<double>(d.j - q.j);
    const auto i0 = static_cast<std::uint32_t>(std::max(ci, 0.0));
    const auto j0 = static_cast<std::uint32_t>(std::max(cj, 0.0));
    const std::uint32_t i1 = std::min(i0 + 1, grid.columns - 1);
    const std::uint32_t j1 = std::min(j0 + 1, grid.rows - 1);
    const double fi = ci - i0, fj = cj - j0;
    const auto z = [&grid](std::uint32_t i, std::uint32_t j) { return grid.z[grid.At(i, j)]; };
    const double ground = (1.0 - fj) * ((1.0 - fi) * z(i0, j0) + fi * z(i1, j0)) +
                          fj * ((1.0 - fi) * z(i0, j1) + fi * z(i1, j1));
    const double alongQd = q.p.z + t * (d.p.z - q.p.z);
    const double alongAb = a.p.z + s * (b.p.z - a.p.z);
    return std::fabs(alongQd - ground) < std::fabs(alongAb - ground);
}

}  // namespace geom
