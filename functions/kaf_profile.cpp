// kaf-profile: (surface alignment layer [interval]). The linear profile of the surface made of
// the meshes in the handle list along the polyline or 3D polyline with the handle `alignment`
// (its vertices taken in plan): a point at every vertex of the line and every crossing of a
// triangle edge, and with interval also at every station that is a multiple of it. Draws the
// profile as 3D polylines draped on the surface on the layer (nil: the current layer), one per
// piece on the surface. Prints "\nProfile: %i points in %i piece(s), stations %.3f to %.3f,
// elevations %.3f to %.3f" (or "\nProfile: the line does not meet the surface") and gives the
// list of (station elevation), with nil between stretches (AppendProfileNodes), or nil.
//
// Argument errors end the call with nil at the first bad argument; the interval (finite and
// positive) is tested after all were read. A mesh that cannot be read, a surface that cannot be
// made of the meshes, a line that cannot be read or a failing writer end it with nil, the drawing
// unchanged.
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "functions/load_surface.h"
#include "functions/profile_lists.h"
#include "functions/workers.h"
#include "host/argument_readers.h"
#include "host/error_lines.h"
#include "host/result_lists.h"
#include "output/create_profile_polylines.h"

namespace {

constexpr const wchar_t* kStep = L"profile";

struct ProfileArguments {
    std::vector<std::wstring> handles;
    std::wstring alignment;
    std::optional<std::wstring> layer;
    double interval = 0.0;
};

const wchar_t* ReadArgument(int position, const resbuf*& cursor, ProfileArguments& out) {
    const resbuf* node = cursor;
    switch (position) {
        case 1:
            return ReadSurfaceArgument(cursor, out.handles,
                                       L"First argument has to be a handle list!");
        case 2:
            if (node->restype != RTSTR || node->resval.rstring == nullptr) {
                return L"Second argument has to be a handle string!";
            }
            out.alignment = node->resval.rstring;
            return nullptr;
        case 3:
            return ReadLayer(node, out.layer) ? nullptr
                                              : L"Third argument has to be a string or nil!";
        default:
            if (!ReadReal(node, out.interval)) {
                return L"Fourth argument has to be a real!";
            }
            if (!(std::isfinite(out.interval) && out.interval > 0.0)) {
                out.interval = -1.0;  // refused once all arguments are read
            }
            return nullptr;
    }
}

void PrintSummary(const std::vector<geom::ProfileRun>& runs) {
    const ProfileRange range = MeasureProfile(runs);
    if (range.points == 0) {
        acutPrintf(L"\nProfile: the line does not meet the surface");
        return;
    }
    acutPrintf(
        L"\nProfile: %i points in %i piece%ls, stations %.3f to %.3f, elevations %.3f to "
        L"%.3f",
        range.points, static_cast<int>(runs.size()), runs.size() == 1 ? L"" : L"s",
        range.firstStation, range.lastStation, range.lowest, range.highest);
}

}  // namespace

int RunKafProfile(const resbuf* args) {
    ProfileArguments arguments;
    const bool read =
        ReadPositionalArguments(args, 3, 4, kStep, [&](int position, const resbuf*& cursor) {
            return ReadArgument(position, cursor, arguments);
        });
    if (!read) {
        return RSERR;
    }
    if (arguments.interval < 0.0) {
        ReportFunctionError(kStep, L"The interval has to be a positive number!");
        return RSERR;
    }
    geom::WeldedSurface surface;
    std::vector<geom::PlanPoint> line;
    if (!LoadSurface(arguments.handles, kStep, surface) ||
        !ReadAlignment(arguments.alignment, kStep, line)) {
        return RSERR;
    }
    std::vector<geom::ProfileRun> runs;
    const geom::SurfaceStatus status =
        geom::TraceProfile(surface, line, {0.0, arguments.interval}, runs);
    if (status != geom::SurfaceStatus::Ok) {
        return ReportSurfaceFailure(kStep, status);
    }
    std::vector<std::wstring> handles;
    if (CreateProfilePolylines(runs, arguments.layer ? arguments.layer->c_str() : nullptr,
                               handles) != RTNORM) {
        acedRetNil();
        return RSERR;
    }
    PrintSummary(runs);
    if (runs.empty()) {
        acedRetNil();
        return RSRSLT;
    }
    std::vector<resbuf*> nodes;
    AppendProfileNodes(runs, nodes);
    return ReturnList(NodesToResultList(nodes));
}
