// CreateContourPolylines(lines, layer, majorLayer, handles): writes contour lines into model space
// as lightweight polylines (AcDbPolyline), one per line: its points as the vertices, its level as
// the elevation, closed when the line is closed. A major line goes on majorLayer, the others on
// layer (null: the drawing's current layer, as the database defaults give it). A status-bar meter
// "Writing contours ..." counts the lines. No lines: nothing is opened or written.
//
// All or nothing: the polylines stay open until every one of them is in the drawing, and only
// then are their handle texts appended to handles, in line order. On a failure the polylines
// appended so far are erased again, so that the drawing is left as it was, and RTERROR is given
// after a step line: "CreateContourPolylines:getSymbolTable" (block table),
// "CreateContourPolylines:getAt" (model space), "CreateContourPolylines:setLayer" (layer missing
// or hidden), "CreateContourPolylines:appendAcDbEntity". A thrown failure (memory) likewise
// leaves nothing behind. Gives RTNORM otherwise.
#pragma once

#include <string>
#include <vector>

#include "geom/surface/trace_contours.h"

int CreateContourPolylines(const std::vector<geom::ContourLine>& lines, const wchar_t* layer,
                           const wchar_t* majorLayer, std::vector<std::wstring>& handles);
