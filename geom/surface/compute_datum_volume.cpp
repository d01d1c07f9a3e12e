#include "geom/surface/compute_datum_volume.h"

#include <algorithm>
#include <cmath>

#include "geom/kernel/compensated_sum.h"
#include "geom/kernel/predicates.h"
#include "geom/surface/integrate_by_sign.h"
#include "geom/surface/measurable_surface.h"

namespace geom {

SurfaceStatus ComputeDatumVolume(const WeldedSurface& surface, double datum, VolumeResult& result) {
    result = VolumeResult();
    if (!std::isfinite(datum)) {
        return SurfaceStatus::InvalidDatum;
    }
    if (!IsMeasurable(surface)) {
        return SurfaceStatus::CoordinatesTooLarge;
    }
    if (!IsMeasurable(datum)) {
        return SurfaceStatus::DatumTooLarge;
    }
    CCompensatedSum cut;
    CCompensatedSum fill;
    CCompensatedSum area;
    for (const SurfaceTriangle& t : surface.triangles) {
        const SurfacePoint& a = surface.points[t.corner[0]];
        const SurfacePoint& b = surface.points[t.corner[1]];
        const SurfacePoint& c = surface.points[t.corner[2]];
        const double planArea = std::max(0.0, 0.5 * PlanCross(PlanOf(a), PlanOf(b), PlanOf(c)));
        double above = 0.0;
        double below = 0.0;
        IntegrateBySign(planArea, a.z - datum, b.z - datum, c.z - datum, above, below);
        cut.Add(above);
        fill.Add(below);
        area.Add(planArea);
    }
    result.cut = cut.Value();
    result.fill = fill.Value();
    result.net = result.cut - result.fill;
    result.area = area.Value();
    return SurfaceStatus::Ok;
}

}  // namespace geom
