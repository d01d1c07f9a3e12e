#include "geom/surface/compute_surface_statistics.h"

#include <algorithm>
#include <cmath>

#include "geom/kernel/compensated_sum.h"
#include "geom/surface/measurable_surface.h"

namespace geom {

namespace {

// Adds twice the plan area (unless plan is null) and twice the area in space of the triangle
// a, b, c, from its edges at a.
void AddAreas(const SurfacePoint& a, const SurfacePoint& b, const SurfacePoint& c,
              CCompensatedSum* plan, CCompensatedSum& space) {
    const double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
    const double vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
    const double nx = uy * vz - uz * vy;
    const double ny = uz * vx - ux * vz;
    const double nz = ux * vy - uy * vx;
    if (plan != nullptr) {
        plan->Add(std::fabs(nz));
    }
    space.Add(std::sqrt(nx * nx + ny * ny + nz * nz));
}

}  // namespace

SurfaceStatus ComputeSurfaceStatistics(const WeldedSurface& surface,
                                       SurfaceStatistics& statistics) {
    statistics = SurfaceStatistics();
    if (surface.points.empty()) {
        return SurfaceStatus::EmptySurface;
    }
    if (!IsMeasurable(surface)) {
        return SurfaceStatus::CoordinatesTooLarge;
    }
    const std::vector<SurfacePoint>& p = surface.points;
    statistics.vertexCount = p.size();
    statistics.triangleCount = surface.triangles.size() + surface.walls.size();
    statistics.minElevation = statistics.maxElevation = p[0].z;
    CCompensatedSum elevations;
    for (const SurfacePoint& point : p) {
        statistics.minElevation = std::min(statistics.minElevation, point.z);
        statistics.maxElevation = std::max(statistics.maxElevation, point.z);
        elevations.Add(point.z);
    }
    statistics.meanElevation = elevations.Value() / static_cast<double>(p.size());
    // The mean of values within [min, max] lies within it; rounding must not take it outside.
    statistics.meanElevation = std::min(
        statistics.maxElevation, std::max(statistics.minElevation, statistics.meanElevation));

    CCompensatedSum plan;
    CCompensatedSum space;
    for (const SurfaceTriangle& t : surface.triangles) {
        AddAreas(p[t.corner[0]], p[t.corner[1]], p[t.corner[2]], &plan, space);
    }
    for (const WallFace& w : surface.walls) {
        AddAreas(p[w.corner[0]], p[w.corner[1]], p[w.corner[2]], nullptr, space);
    }
    statistics.planArea = 0.5 * plan.Value();
    statistics.surfaceArea = 0.5 * space.Value();
    return SurfaceStatus::Ok;
}

}  // namespace geom
