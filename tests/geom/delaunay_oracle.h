// PlainInsertPoints(points, n, tolerance, result): the reference for the insertion phase of
// CDelaunay, kept as plainly as the procedure reads, for tests to compare the engine with.
//
// Input and output as SweepInsertPoints: points[0..n-1] sorted, the enclosing corners at n,
// n + 1, n + 2. Every inserted point walks the whole live triangle list in order, skipping
// complete triangles, computing and caching each circle when first needed, marking a triangle
// complete when the point lies right of its circle and otherwise removing it when the circle
// holds the point (the last live triangle moves into its position, which is looked at again).
// New triangles start with every working field zero. A flat triangle (no circle) never holds a
// point and is never marked complete. Shared cavity edges are cancelled by the plain pairwise
// search; only the circle construction and test are shared with the engine.
//
// ReplayWithOracle(engine): the reference result for the store a finished engine run left.
// SameTriangle(a, b): a and b agree in every field, doubles bit for bit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "geom/incremental/delaunay.h"
#include "geom/kernel/triangle.h"
#include "geom/kernel/vertex.h"

namespace delaunay_oracle {

// Sizes the working lists reached in one run.
struct WalkStats {
    std::size_t largestCavityEdges = 0;
    std::size_t largestTriangleList = 0;
};

void PlainInsertPoints(const geom::CVertex* points, std::int32_t n, double tolerance,
                       std::vector<geom::CTriangle>& result, WalkStats* stats = nullptr);

// Runs the reference over the store that engine.Triangulate() left (sorted, corners appended).
std::vector<geom::CTriangle> ReplayWithOracle(const geom::CDelaunay& engine,
                                              WalkStats* stats = nullptr);

bool SameTriangle(const geom::CTriangle& a, const geom::CTriangle& b);

}  // namespace delaunay_oracle
