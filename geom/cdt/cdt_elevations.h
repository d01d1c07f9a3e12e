// CdtLineElevations: the elevations that the lines give the vertices on them.
//
// Input: the mesh, the constraint records, the lines' segments with their end vertices in the
// mesh (segment s from segmentEnds[2s] to segmentEnds[2s + 1]), and the vertices of the lines
// (CdtLineVertex: mesh vertex, line, its own z, and whether the line is a boundary). Output: z of
// every vertex on a line is replaced. A line gives a vertex on it its own z at its own vertices
// and, inside a segment, the z interpolated linearly along the segment by plan distance. Where
// breaklines pass, only they count; where only boundaries pass, the boundaries count. Where
// several lines of that kind give elevations at one vertex (crossings, shared vertices, a vertex
// on another line, overlaps), the vertex takes their mean; a line giving the same elevation there
// more than once counts once. A boundary that only clips (CdtLineSegment::clipOnly) gives its own
// vertices their z and nothing along its segments.
#pragma once

#include <cstdint>
#include <vector>

#include "geom/cdt/cdt_constraints.h"
#include "geom/cdt/cdt_mesh.h"

namespace geom {

struct CdtLineVertex {
    std::uint32_t vertex;
    std::uint32_t line;
    double z;
    bool boundary;
};

void CdtLineElevations(const CdtMesh& mesh, const CdtConstraintTable& records,
                       const std::vector<CdtLineSegment>& segments,
                       const std::vector<std::uint32_t>& segmentEnds,
                       const std::vector<CdtLineVertex>& lineVertices, CdtLentArray<double>& z);

}  // namespace geom
