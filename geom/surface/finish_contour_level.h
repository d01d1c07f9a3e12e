// FinishContourLevel(level, lines): turns the lines traced at one level into contour lines and
// appends them to `lines`.
//
// level.nodes holds the traced points of all lines of the level, level.traces each line's
// range in it. A node is a point on the line; `vertex` is the surface point it lies exactly on
// (-1 for a point inside an edge), and `bridgeAfter` marks the segment to the next node (for
// the last node of a closed line: to its first node) as one side of an edge whose other side
// the level also traces in the opposite direction (ground at the level only along that edge).
// Such segments are dropped and the remaining pieces joined where they meet: a piece ending at
// a vertex goes on with a piece starting there. Then consecutive repeated points are merged, an
// open line that ends where it starts becomes closed, and lines that enclose nothing (closed
// with fewer than three points, open with fewer than two) are dropped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "geom/surface/trace_contours.h"

namespace geom {

struct ContourNode {
    double x;
    double y;
    std::int32_t vertex;
    bool bridgeAfter;
};

struct ContourTrace {
    std::size_t begin;
    std::size_t end;
    bool closed;
};

struct ContourLevel {
    double elevation = 0.0;
    bool major = false;
    bool anyBridge = false;
    std::vector<ContourNode> nodes;
    std::vector<ContourTrace> traces;
};

void FinishContourLevel(const ContourLevel& level, std::vector<ContourLine>& lines);

}  // namespace geom
