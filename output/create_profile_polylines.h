// CreateProfilePolylines(runs, layer, handles): draws a profile (trace_profile.h) into model
// space as 3D polylines (simple type, open), one per run of two points or more, through the
// run's points at their elevations, on the layer (null: the drawing's current layer). A run of
// a single point draws nothing. A status-bar meter "Writing profile ..." counts the polylines.
//
// All or nothing as AppendAllOrNone (append_all_or_none.h), under the step names
// "CreateProfilePolylines:..." ("CreateProfilePolylines:setLayer" for a layer that is missing or
// hidden). Gives RTNORM, or RTERROR after the step line.
#pragma once

#include <string>
#include <vector>

#include "geom/surface/trace_profile.h"

int CreateProfilePolylines(const std::vector<geom::ProfileRun>& runs, const wchar_t* layer,
                           std::vector<std::wstring>& handles);
