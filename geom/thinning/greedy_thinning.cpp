#include "geom/thinning/greedy_thinning.h"

#include "geom/thinning/stream_thinning.h"

namespace geom {

ThinningResult ThinToVerticalTolerance(const std::vector<ThinPoint>& points, double tolerance,
                                       std::size_t budget) {
    ThinOptions options;
    options.tolerance = tolerance;
    options.budget = budget > 0 ? budget : points.size();
    const ThinStreamResult thinned = ThinStream(
        [&points](const ThinPointSink& sink) {
            for (const ThinPoint& p : points) {
                sink(p.x, p.y, p.z);
            }
            return true;
        },
        options);
    ThinningResult result;
    result.kept = thinned.surface.ids;
    for (const auto& t : thinned.surface.triangles) {
        result.triangles.push_back(
            {thinned.surface.ids[t[0]], thinned.surface.ids[t[1]], thinned.surface.ids[t[2]]});
    }
    result.conflicts = thinned.conflicts;
    result.passes = thinned.passes;
    return result;
}

}  // namespace geom
