#include "geom/thinning/greedy_thinning.h"

#include <cmath>

#include "geom/thinning/grid_thinning.h"
#include "geom/thinning/stream_thinning.h"

namespace geom {

ThinningResult ThinToVerticalTolerance(const std::vector<ThinPoint>& points, double tolerance,
                                       std::size_t budget, const ThinLines& lines) {
    // A whole regular grid thinned in one go needs no first pass: straight to the grid.
    GridLattice grid;
    if (std::isfinite(tolerance) && tolerance >= 0.0 && lines.Empty() &&
        (budget == 0 || budget >= points.size()) && FindGridLattice(points, grid)) {
        ThinningResult result;
        result.surface = ThinGridLattice(grid, tolerance, nullptr);
        result.kept = result.surface.ids;
        result.passes = 1;
        result.grid = true;
        return result;
    }
    ThinOptions options;
    options.tolerance = tolerance;
    options.budget = budget > 0 ? budget : points.size();
    options.lines = lines;
    const ThinStreamResult thinned = ThinStream(
        [&points](const ThinPointSink& sink) {
            for (const ThinPoint& p : points) {
                sink(p.x, p.y, p.z);
            }
            return true;
        },
        options);
    ThinningResult result;
    for (const std::uint32_t id : thinned.surface.ids) {
        if (id != ThinningTin::kLineVertex) {
            result.kept.push_back(id);
        }
    }
    result.surface = thinned.surface;
    result.conflicts = thinned.conflicts;
    result.outside = thinned.outside;
    result.passes = thinned.passes;
    result.grid = thinned.grid;
    return result;
}

}  // namespace geom
