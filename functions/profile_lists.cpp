#include "functions/profile_lists.h"

#include <algorithm>

#include "host/result_lists.h"
#include "input/read_constraint_lines.h"

bool ReadAlignment(const std::wstring& handle, const wchar_t* label,
                   std::vector<geom::PlanPoint>& line) {
    std::vector<ConstraintLine> lines = {ConstraintLine{handle, LineRole::Alignment, {}}};
    if (!ReadConstraintLines(lines, label)) {
        return false;
    }
    for (const geom::CVertex& v : lines.front().vertices) {
        line.push_back({v.x, v.y});
    }
    return true;
}

void AppendProfileNodes(const std::vector<geom::ProfileRun>& runs, std::vector<resbuf*>& nodes) {
    bool first = true;
    for (const geom::ProfileRun& run : runs) {
        if (run.points.empty()) {
            continue;
        }
        if (!first) {
            nodes.push_back(NewNilNode());
        }
        first = false;
        for (const geom::ProfilePoint& p : run.points) {
            nodes.push_back(NewListBegin());
            nodes.push_back(NewRealNode(p.station));
            nodes.push_back(NewRealNode(p.z));
            nodes.push_back(NewListEnd());
        }
    }
}

ProfileRange MeasureProfile(const std::vector<geom::ProfileRun>& runs) {
    ProfileRange range;
    for (const geom::ProfileRun& run : runs) {
        for (const geom::ProfilePoint& p : run.points) {
            if (range.points == 0) {
                range.firstStation = p.station;
                range.lowest = range.highest = p.z;
            }
            ++range.points;
            range.lastStation = p.station;
            range.lowest = std::min(range.lowest, p.z);
            range.highest = std::max(range.highest, p.z);
        }
    }
    return range;
}
