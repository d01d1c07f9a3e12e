// TraceContours(surface, options, lines, progress): the contour lines of a welded surface
// (WeldSurface).
//
// Levels are base + k * interval for every integer k, taken where they lie above the surface's
// lowest point and not above its highest; the level with k a multiple of majorEvery (base
// itself included) is major; majorEvery 0 or below marks none. Levels that coincide in double
// precision are traced once.
//
// lines receives, level by level upwards, one ContourLine per connected line: its points in
// plan, in order with the higher ground on the left, joined across triangles. A closed line
// does not repeat its first point. An open line ends on the surface's boundary; a line that
// comes back to where it started is closed.
//
// Points exactly at a level: a vertex at exactly the level counts as lying above it (as if
// raised by an infinitesimal amount), so every line is the boundary of the ground at or above
// its level and crosses each edge at most once: no gaps, no forks. A line through such a vertex
// passes exactly through it; consecutive repeated points are merged. A flat area at exactly a
// level is outlined where it meets lower ground (and not where it meets higher ground). Ground
// that reaches a level only along edges or at single vertices, with lower ground on both sides
// (a ridge or summit exactly at the level), encloses no area: the two sides of such an edge are
// left out and the line is joined around it, and a summit touching the level gives no line.
//
// Gives Ok; InvalidLevels when the interval is not finite and positive, the base is not finite
// or a level's k is beyond 2^53; TooManyLevels when more than kMaxContourLevels levels lie in
// the surface's elevation range; CoordinatesTooLarge when a point lies beyond the measurable
// range (measurable_surface.h: the crossings would overflow); OutOfMemory. On a fault lines is
// empty. `progress` hears of
// the levels traced (surface_progress.h).
#pragma once

#include <cstdint>
#include <vector>

#include "geom/kernel/plan_point.h"
#include "geom/surface/surface_progress.h"
#include "geom/surface/surface_status.h"
#include "geom/surface/welded_surface.h"

namespace geom {

constexpr std::int64_t kMaxContourLevels = 1000000;

struct ContourOptions {
    double base = 0.0;
    double interval = 1.0;
    int majorEvery = 0;
};

struct ContourLine {
    double elevation = 0.0;
    std::vector<PlanPoint> points;
    bool closed = false;
    bool major = false;
};

SurfaceStatus TraceContours(const WeldedSurface& surface, const ContourOptions& options,
                            std::vector<ContourLine>& lines, const SurfaceProgress& progress = {});

}  // namespace geom
