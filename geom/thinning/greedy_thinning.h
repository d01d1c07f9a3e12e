// Thinning a point cloud held in memory to a vertical tolerance by greedy insertion (after
// Garland and Heckbert; ThinStream over the points, all of them waiting at once): the surface
// starts as a Delaunay triangulation of the convex hull's corners, and the point farthest above
// or below it (vertically) is inserted, the triangulation kept Delaunay by edge flips, until every
// point left out lies within the tolerance of the surface.
//
// ThinToVerticalTolerance(points, tolerance[, budget]): points with finite coordinates; tolerance
// finite and 0 or more; budget: the points that may wait at once (default: all, one pass). Gives
// the points kept (indices into points) and the triangles of the resulting surface
// (counter-clockwise index triples into points), covering the points' convex hull. Every point
// not kept lies in a triangle whose plane, evaluated at the point, is within the tolerance of its
// z: the decision allows for the rounding of the evaluation (ThinPlane), so the claim holds for
// the exact plane through the triangle's corners. Points at the plan position of a kept point
// whose z differs from it by more than the tolerance cannot be served by any surface: counted in
// `conflicts` (all others meet the claim).
// Throws kThinningBadInput for a coordinate or tolerance that is not a finite number (or a
// negative tolerance), kThinningNoArea when the points do not span an area (fewer than three
// plan positions, or all on one line).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "geom/thinning/thin_point.h"

namespace geom {

struct ThinningResult {
    std::vector<std::uint32_t> kept;
    std::vector<std::array<std::uint32_t, 3>> triangles;
    std::uint64_t conflicts = 0;
    int passes = 0;
};

ThinningResult ThinToVerticalTolerance(const std::vector<ThinPoint>& points, double tolerance,
                                       std::size_t budget = 0);

}  // namespace geom
