// Thinning a point cloud to a vertical tolerance by greedy insertion (after Garland and Heckbert):
// the surface starts as a Delaunay triangulation of the convex hull's corners, and the point
// farthest above or below it (vertically) is inserted, the triangulation kept Delaunay by edge
// flips, until every point left out lies within the tolerance of the surface.
//
// ThinToVerticalTolerance(points, tolerance): points with finite coordinates; tolerance finite and
// 0 or more. Gives the points kept (indices into points, in the order they were inserted) and the
// triangles of the resulting surface (counter-clockwise index triples into points), covering the
// points' convex hull. Every point not kept lies in a triangle whose plane, evaluated at the point,
// is within the tolerance of its z: the decision allows for the rounding of the evaluation, so
// the claim holds for the exact plane through the triangle's corners.
// Points at one plan position: the first is the one that can be kept; a later one whose z differs
// from the first's by more than the tolerance cannot be served by any surface and is listed in
// `conflicts` (all others meet the claim).
// Throws kThinningBadInput for a coordinate or tolerance that is not a finite number (or a
// negative tolerance), kThinningNoArea when the points do not span an area (fewer than three
// plan positions, or all on one line).
//
// VerticalErrorBound(a, b, c, p, plane): the plane through a, b, c (counter-clockwise, not
// collinear) evaluated at p's plan position as computed, and gives a bound on the rounding error
// of that evaluation; the thinning counts |p.z - plane| + bound as p's distance.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace geom {

struct ThinPoint {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

struct ThinningResult {
    std::vector<std::uint32_t> kept;
    std::vector<std::array<std::uint32_t, 3>> triangles;
    std::vector<std::uint32_t> conflicts;
};

ThinningResult ThinToVerticalTolerance(const std::vector<ThinPoint>& points, double tolerance);

double VerticalErrorBound(const ThinPoint& a, const ThinPoint& b, const ThinPoint& c,
                          const ThinPoint& p, double& plane);

}  // namespace geom
