// TraceProfile(surface, alignment, options, runs): the linear profile of a welded surface
// (WeldSurface) along a line in plan.
//
// alignment: the line's vertices in plan, in order (consecutive repeats are skipped). Stations
// are measured along it in plan from options.startStation at its first vertex.
// options.interval: when positive, the profile also takes a point at every station that is a
// whole multiple of it (measured from station 0).
//
// runs receives the profile where the line lies over the surface, one ProfileRun per stretch
// without a gap, in station order. Each run holds, with strictly increasing stations, a point at
// every vertex of the line, every crossing of a triangle edge (a vertex of the surface when the
// line passes through one) and every interval station on that stretch, and where the stretch
// starts and ends. Each point lies on the surface: a crossing on its edge, a vertex at its own
// elevation, any other point on the plane of a triangle that holds it. The profile is linear
// between consecutive points of a run. A run may hold a single point (the line touches the
// surface at one point only).
//
// Which edges the line meets is decided exactly (exact predicates); the crossings' positions
// are rounded. Gives Ok or OutOfMemory (runs empty).
#pragma once

#include <vector>

#include "geom/surface/surface_status.h"
#include "geom/surface/trace_contours.h"
#include "geom/surface/welded_surface.h"

namespace geom {

struct ProfileOptions {
    double startStation = 0.0;
    double interval = 0.0;  // 0: no regular stations
};

struct ProfilePoint {
    double station;
    double x;
    double y;
    double z;
};

struct ProfileRun {
    std::vector<ProfilePoint> points;
};

SurfaceStatus TraceProfile(const WeldedSurface& surface, const std::vector<PlanPoint>& alignment,
                           const ProfileOptions& options, std::vector<ProfileRun>& runs);

}  // namespace geom
