#include "functions/run_constrained_mesh_function.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "functions/surface_arguments.h"
#include "geom/cdt/cdt.h"
#include "geom/cdt/cdt_constraints.h"
#include "host/argument_readers.h"
#include "host/clock.h"
#include "host/error_lines.h"
#include "host/pump_messages.h"
#include "host/result_lists.h"
#include "input/read_constraint_lines.h"

namespace {

bool ReadArguments(const resbuf* args, const ConstrainedMeshFunction& function,
                   SurfaceArguments& out) {
    using S = ArgumentSlot;
    static const S kListSlots[] = {S::Points,     S::Breaklines, S::Boundary,  S::Holes,
                                   S::EdgeLength, S::Layer,      S::MaxPoints, S::SnapTolerance};
    static const S kFileSlots[] = {S::Files,     S::Layout,       S::Delimiter,  S::Breaklines,
                                   S::Boundary,  S::Holes,        S::EdgeLength, S::Layer,
                                   S::MaxPoints, S::SnapTolerance};
    const int count = function.fromFiles ? 10 : 8;
    // maxPoints and the snap tolerance may be left out.
    return ReadSurfaceArguments(args, function.fromFiles ? kFileSlots : kListSlots, count,
                                count - 2, function.arguments, out);
}

// Hands the lines to the triangulator in their roles: boundaries drawn as polylines clip only.
void AddLines(const std::vector<ConstraintLine>& lines, geom::CConstrainedDCT& cdt) {
    for (const ConstraintLine& line : lines) {
        const geom::CdtBoundaryElevation elevation =
            line.flat ? geom::CdtBoundaryElevation::FromSurface : geom::CdtBoundaryElevation::Own;
        switch (line.role) {
            case LineRole::Breakline:
                cdt.AddBreakline(line.vertices);
                break;
            case LineRole::OuterBoundary:
                cdt.SetOuterBoundary(line.vertices, elevation);
                break;
            case LineRole::Hole:
                cdt.AddHole(line.vertices, elevation);
                break;
            case LineRole::Alignment:
                break;  // the profile functions' line, never read for a mesh
        }
    }
}

// The range of the elevations of the survey points stored.
struct ElevationRange {
    double low = HUGE_VAL;
    double high = -HUGE_VAL;
    explicit ElevationRange(const geom::CConstrainedDCT& cdt) {
        for (std::size_t n = 0; n < cdt.StoredCount(); ++n) {
            const double z = cdt.StoredPoint(n).z;
            low = std::min(low, z);
            high = std::max(high, z);
        }
    }
};

// Breaklines drawn as polylines keep their elevation; one outside the points' elevations (a
// polyline left at 0) is worth a warning.
void WarnOfFlatBreaklines(const std::vector<ConstraintLine>& lines,
                          const geom::CConstrainedDCT& cdt) {
    std::optional<ElevationRange> range;  // taken when a line needs it
    for (const ConstraintLine& line : lines) {
        if (line.role != LineRole::Breakline || !line.flat || line.vertices.empty()) {
            continue;
        }
        if (!range) {
            range.emplace(cdt);
        }
        if (range->low > range->high) {
            continue;
        }
        const double z = line.vertices.front().z;
        if (z < range->low || z > range->high) {
            acutPrintf(
                L"\nBreakline %ls lies at %.3f, outside the points' elevations %.3f to %.3f.",
                line.handle.c_str(), z, range->low, range->high);
        }
    }
}

// The timing line, followed by what the snap did and a note on vertices closer than a millionth
// of the surface's extent.
std::wstring TimingLine(const geom::CConstrainedDCT& cdt, double snapTolerance,
                        const std::vector<geom::CVertex>& vertices) {
    std::wstring line = L"ready after %f seconds\n";
    wchar_t text[200];
    if (snapTolerance > 0.0) {
        const geom::CdtSnapCounts& counts = cdt.SnapCounts();
        std::swprintf(text, 200,
                      L"Points snapped: %lu (onto lines %lu, onto earlier points %lu), line "
                      L"vertices joined: %lu\n",
                      static_cast<unsigned long>(counts.pointsToLines + counts.pointsDropped),
                      static_cast<unsigned long>(counts.pointsToLines),
                      static_cast<unsigned long>(counts.pointsDropped),
                      static_cast<unsigned long>(counts.lineVerticesJoined));
        line += text;
    }
    double low[2] = {HUGE_VAL, HUGE_VAL};
    double high[2] = {-HUGE_VAL, -HUGE_VAL};
    for (const geom::CVertex& v : vertices) {
        low[0] = std::min(low[0], v.x);
        low[1] = std::min(low[1], v.y);
        high[0] = std::max(high[0], v.x);
        high[1] = std::max(high[1], v.y);
    }
    const double distance =
        vertices.empty() ? 0.0 : 1e-6 * std::max(high[0] - low[0], high[1] - low[1]);
    const std::size_t close = geom::CdtCountCloseVertices(vertices, distance);
    if (close > 0) {
        std::swprintf(text, 200,
                      L"Note: %lu vertices lie closer than %g (a millionth of the surface's "
                      L"extent) to another; a snap tolerance joins them.\n",
                      static_cast<unsigned long>(close), distance);
        line += text;
    }
    // The line is a format: the printed figures hold no percent sign.
    return line;
}

}  // namespace

int RunConstrainedMeshFunction(const resbuf* args, const ConstrainedMeshFunction& function) {
    SurfaceArguments arguments;
    if (!ReadArguments(args, function, arguments)) {
        return RSERR;
    }
    if (!ReadConstraintLines(arguments.lines, function.arguments.label)) {
        return RSERR;
    }
    const wchar_t* layer = arguments.layer ? arguments.layer->c_str() : nullptr;

    std::vector<std::wstring> handles;
    geom::CConstrainedDCT cdt;
    cdt.SetSnapTolerance(arguments.snapTolerance);
    // The lines first, so that the sort that finds the points' repeats takes their vertices in.
    AddLines(arguments.lines, cdt);
    cdt.SetMaxEdgeLength(arguments.maxEdgeLength);
    const auto add = [&cdt](double x, double y, double z) { cdt.AddPoint(x, y, z); };
    // The triangulator's own sort finds the rows at an earlier row's plan position.
    const auto dropRepeats = [&cdt] { return cdt.DropRepeatedPoints(); };
    if (!ReadArgumentPoints(arguments, function.arguments.label, add, dropRepeats)) {
        return RSERR;
    }
    WarnOfFlatBreaklines(arguments.lines, cdt);
    PumpMessagesThrottled();
    acutPrintf(L"\nStart Calculation...");
    const std::int32_t start = ReadClock();
    const std::vector<geom::CTriangle> triangles = cdt.Triangulate();
    const std::vector<geom::CVertex>& vertices = cdt.GetVertices();
    const auto vertexCount = static_cast<std::int32_t>(vertices.size());
    const std::wstring timing = TimingLine(cdt, arguments.snapTolerance, vertices);
    if (WriteTriangulation(triangles, vertices, start, vertexCount, arguments.maxPoints, layer,
                           function.writers, timing.c_str(), handles) != RTNORM) {
        acedRetNil();
        return RSERR;
    }
    return ReturnList(StringsToResultList(handles));
}
