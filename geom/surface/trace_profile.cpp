#include "geom/surface/trace_profile.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "geom/surface/profile_tracer.h"

namespace geom {

SurfaceStatus TraceProfile(const WeldedSurface& surface, const std::vector<PlanPoint>& alignment,
                           const ProfileOptions& options, std::vector<ProfileRun>& runs) {
    runs.clear();
    try {
        CProfileTracer tracer(surface);
        tracer.Trace(alignment, options, runs);
    } catch (const std::bad_alloc&) {
        runs.clear();
        return SurfaceStatus::OutOfMemory;
    }
    return SurfaceStatus::Ok;
}

}  // namespace geom
