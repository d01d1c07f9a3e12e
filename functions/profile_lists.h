// What the profile functions (kaf-profile, kaf-sections) share.
//
// ReadAlignment(handle, label, line): the plan vertices of the polyline or 3D polyline with the
// handle (ReadConstraintLines, role Alignment: a closed one ends at its first vertex again).
// Gives false after the aborted-function line under label (nil set).
//
// AppendProfileNodes(runs, nodes): the nodes of a profile's list, to go inside a list: per point
// RTLB station elevation RTLE, with one RTNIL between consecutive runs (where the line leaves
// the surface). Empty runs add nothing.
//
// ProfileRange(runs, ...): the number of points and the stations' and elevations' ranges.
#pragma once

#include <string>
#include <vector>

#include "arxapi.h"
#include "geom/surface/trace_profile.h"

bool ReadAlignment(const std::wstring& handle, const wchar_t* label,
                   std::vector<geom::PlanPoint>& line);

void AppendProfileNodes(const std::vector<geom::ProfileRun>& runs, std::vector<resbuf*>& nodes);

struct ProfileRange {
    int points = 0;
    double firstStation = 0.0;
    double lastStation = 0.0;
    double lowest = 0.0;
    double highest = 0.0;
};

ProfileRange MeasureProfile(const std::vector<geom::ProfileRun>& runs);
