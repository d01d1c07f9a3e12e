// Thinning a point cloud held in memory to a vertical tolerance by greedy insertion (after
// Garland and Heckbert; ThinStream over the points, all of them waiting at once): the surface
// starts as a Delaunay triangulation of the convex hull's corners, and the point farthest above
// or below it (vertically) is inserted, the triangulation kept Delaunay by edge flips, until every
// point left out lies within the tolerance of the surface.
//
// ThinToVerticalTolerance(points, tolerance[, budget[, lines]]): points with finite coordinates;
// tolerance finite and 0 or more; budget: the points that may wait at once (default: all, one
// pass); lines: breaklines and boundaries (ThinLines). Gives the points kept (indices into
// points) and the resulting surface: its vertices (the points kept and the lines' vertices),
// their numbers (indices into points, or ThinningTin::kLineVertex) and its triangles
// (counter-clockwise index triples into the vertices), covering the points' convex hull within
// the boundaries. Every point
// not kept lies in a triangle whose plane, evaluated at the point, is within the tolerance of its
// z: the decision allows for the rounding of the evaluation (ThinPlane) and is taken exactly where
// that allowance leaves it open (ThinBeyond), so the claim holds for the exact plane through the
// triangle's corners, and a point at the tolerance is within it. Points at the plan position of a
// kept point whose z differs from it by more than the tolerance cannot be served by any surface:
// counted in `conflicts` (all others meet the claim). Throws kThinningBadInput for a coordinate or
// tolerance that is not a finite number (or a negative tolerance), kThinningNoArea when the points
// do not span an area (fewer than three plan positions, or all on one line).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "geom/thinning/thin_point.h"
#include "geom/thinning/thin_seed.h"
#include "geom/thinning/thinning_tin.h"

namespace geom {

struct ThinningResult {
    std::vector<std::uint32_t> kept;
    ThinSurface surface;
    std::uint64_t conflicts = 0;
    std::uint64_t outside = 0;
    int passes = 0;
    bool grid = false;  // thinned on the grid (ThinStreamResult::grid)
};

ThinningResult ThinToVerticalTolerance(const std::vector<ThinPoint>& points, double tolerance,
                                       std::size_t budget = 0, const ThinLines& lines = {});

}  // namespace geom
