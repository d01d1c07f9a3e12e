// ReadConstraintLines(lines, label, read): reads the breaklines, the outer boundary and the hide
// boundaries of a constrained surface from the working drawing's model space.
//
// Each line is a handle text and its role (breaklines and alignments may be open). A 3D polyline
// (AcDb3dPolyline, simple type) gives its vertices with their own elevations; a lightweight
// polyline (AcDbPolyline) gives its vertices at its elevation and is marked flat. A closed
// polyline gives its first vertex once more at the end, so that its closing segment is a segment
// of the line. Boundaries must be closed: closed polylines, or open ones whose last vertex lies on
// the first.
//
// Gives false after the aborted-function line under label (nil set) when a line cannot be used:
// the lookup's own step line (GetEntity:...) first when the handle leads to no model-space entity,
// then one of
//   "Object <h> is not a 3D polyline or polyline!"
//   "Object <h> has curved segments; breaklines and boundaries must be straight!"
//   ("...; alignments must be straight!" for an alignment, the line of a profile or sections)
//   "Boundary <h> is not closed!"
// A status-bar meter "Reading lines ..." counts the lines; every entity looked up is closed and
// the meter ended on every path.
#pragma once

#include <string>
#include <vector>

#include "geom/kernel/vertex.h"

enum class LineRole { Breakline, OuterBoundary, Hole, Alignment };

struct ConstraintLine {
    std::wstring handle;
    LineRole role;
    std::vector<geom::CVertex> vertices;  // filled by ReadConstraintLines
    bool flat = false;                    // a polyline: every vertex at its elevation
};

bool ReadConstraintLines(std::vector<ConstraintLine>& lines, const wchar_t* label);
