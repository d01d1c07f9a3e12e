// ReadContourLines(handles, label, lines): reads contour lines, lightweight polylines
// (AcDbPolyline) such as kaf-contours writes, from the working drawing's model space: per handle
// its vertices in plan, whether it is closed, its elevation (the contour's level) and its layer.
//
// Gives false after the aborted-function line under label (nil set) when a line cannot be used:
// the lookup's own step line (GetEntity:...) first when the handle leads to no model-space entity,
// then one of
//   "Object <h> is not a polyline!"
//   "Object <h> has curved segments; contour lines must be straight!"
// A status-bar meter "Reading lines ..." counts the lines; every entity looked up is closed and
// the meter ended on every path.
#pragma once

#include <string>
#include <vector>

#include "geom/surface/trace_contours.h"

struct ContourPolyline {
    std::wstring handle;
    std::wstring layer;
    double elevation = 0.0;
    bool closed = false;
    std::vector<geom::PlanPoint> points;
};

bool ReadContourLines(const std::vector<std::wstring>& handles, const wchar_t* label,
                      std::vector<ContourPolyline>& lines);
