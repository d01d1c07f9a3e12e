// The starting surface of the thinning: the hull's corners and the lines' vertices, triangulated
// with the lines as edges.
//
// ThinLine: a polyline of 3D vertices (a closed one repeats its first vertex at the end or not);
// flat: drawn in 2D, so that a boundary's vertices take the surface's elevation (breaklines keep
// theirs). ThinLines: breaklines, an outer boundary (none when empty) and holes.
//
// SeedThinning(hull, lines, tin): seeds tin (ThinningTin::Seed) with the constrained Delaunay
// triangulation (CConstrainedDCT) of the hull's corners and the lines' vertices, every line a
// chain of constrained edges (the boundaries too, so that the triangulation covers the whole hull
// and the points outside can be told apart). A vertex at a corner's position keeps the corner's
// number; the others are line vertices. A triangle lies outside when the outer boundary winds
// around it zero times or a hole does not (decided with the kernel's Orient at a point inside
// it). The boundaries are first checked as CConstrainedDCT checks them: crossing boundaries,
// degenerate ones and coordinates that are not finite throw its GeometryError.
// Flat boundaries and holes must have their elevations set by the caller.
#pragma once

#include <vector>

#include "geom/thinning/thin_point.h"
#include "geom/thinning/thinning_tin.h"

namespace geom {

struct ThinLine {
    std::vector<ThinPoint> vertices;
    bool flat = false;
};

struct ThinLines {
    std::vector<ThinLine> breaklines;
    ThinLine boundary;
    std::vector<ThinLine> holes;
    bool Empty() const { return breaklines.empty() && boundary.vertices.empty() && holes.empty(); }
};

void SeedThinning(const std::vector<ThinRecord>& hull, const ThinLines& lines, ThinningTin& tin);

}  // namespace geom
