// CdtSnap(points, lines, tolerance): joins near-duplicate input vertices of the constrained
// triangulator, so that they make neither slivers nor edges shorter than the tolerance.
//
// Input: the survey points in input order; the lines in their order (CdtSnapLine: the vertices,
// and whether the line is closed, its last vertex running back to the first); the tolerance
// (> 0). "Within" is a plan distance of at most the tolerance. Output, changed in place, in this
// order:
// 1. a line vertex within the tolerance of an earlier line vertex (of any line) takes the plan
//    position of the earliest such vertex that kept its own; its z stays;
// 2. a survey point within the tolerance of a line vertex takes the nearest one's plan position;
//    else, within the tolerance of a line segment, the nearest position on the nearest segment,
//    which becomes a vertex of that line with the z the line has there (interpolated along the
//    segment by plan distance), so that the line runs exactly through the point;
// 3. a survey point not moved onto a line and within the tolerance of an earlier point kept is
//    dropped.
// Gives the counts of points moved onto lines (step 2), points dropped (step 3) and line
// vertices moved (step 1). Ties go to the earlier vertex or segment.
//
// CdtCountCloseVertices(vertices, distance): how many of the vertices (sorted by x, then y, at
// distinct plan positions) have another one closer than distance.
#pragma once

#include <cstddef>
#include <vector>

#include "geom/kernel/vertex.h"

namespace geom {

struct CdtSnapLine {
    std::vector<CVertex>* vertices;
    bool closed;
};

struct CdtSnapCounts {
    std::size_t pointsToLines = 0;
    std::size_t pointsDropped = 0;
    std::size_t lineVerticesJoined = 0;
};

CdtSnapCounts CdtSnap(std::vector<CVertex>& points, const std::vector<CdtSnapLine>& lines,
                      double tolerance);

std::size_t CdtCountCloseVertices(const std::vector<CVertex>& vertices, double distance);

}  // namespace geom
