// kaf-thin-subdmesh-withloadcsv: (kaf-thin-subdmesh-withloadcsv files layout delimiter breaklines
// boundary holes tolerance layer [maxPoints]): subdivision meshes of the points of survey point
// files (text or LAS), thinned so that every point left out lies within the tolerance
// (vertically) of the surface, which follows the breaklines and stays within the boundaries.
//
// The arguments are read as the constrained functions read theirs (ReadSurfaceArguments: step
// "thin_subdmesh_withloadcsv", "Seventh argument has to be a tolerance of 0 or more!"), the lines
// by ReadConstraintLines (boundaries drawn as polylines take the surface's elevations), the points
// streamed from the files (ReadSurveyPointFiles, every row handed on, duplicates too): after
// "\nReading points ...", the files' lines and "\nRows read: <r>, skipped: <s>" of the first
// reading, "\nStart Calculation..."; the files are then read again, quietly, as often as
// ThinStream needs. It prints "kept <k> of <n> points within <tolerance (%g)> ... ", when points
// sit beyond the tolerance at a kept point's plan position or on a line "<c> points beyond the
// tolerance of a kept point or line at their plan position are left out ... ", when points lie
// outside the boundaries "<o> points outside the boundaries are left out ... ", and the thinned
// surface goes to
// CreateSubDMesh, or CreateSplittedSubDMesh above maxPoints vertices, after
// "ready after %f seconds\n". Gives the list of the new meshes' handles; a thinning failure
// (GeometryError) passes out with its text; a file, a writer failure or files that changed between
// readings ("The point files changed while they were read!") give nil and RSERR.
#include <cstdint>
#include <string>
#include <vector>

#include "functions/surface_arguments.h"
#include "functions/workers.h"
#include "geom/thinning/stream_thinning.h"
#include "host/clock.h"
#include "host/error_lines.h"
#include "host/pump_messages.h"
#include "host/result_lists.h"
#include "output/create_splitted_subd_mesh.h"
#include "output/create_subd_mesh.h"

namespace {

const MeshArgumentRules kRules = {
    L"thin_subdmesh_withloadcsv", L"The maximum size of points in a subdmesh has to be an integer!",
    L"The maximum size of points in a subdmesh has to be a number of 3 up to 3.000.000!", 3000000};
const MeshWriters kWriters = {CreateSubDMesh, CreateSplittedSubDMesh};

// The thinned surface as the mesh writers take it.
void ThinnedSurface(const geom::ThinSurface& surface, std::vector<geom::CVertex>& vertices,
                    std::vector<geom::CTriangle>& triangles) {
    for (const geom::ThinPoint& p : surface.vertices) {
        vertices.emplace_back(p.x, p.y, p.z);
    }
    for (const auto& corners : surface.triangles) {
        geom::CTriangle triangle;
        triangle.i1 = static_cast<std::int32_t>(corners[0]);
        triangle.i2 = static_cast<std::int32_t>(corners[1]);
        triangle.i3 = static_cast<std::int32_t>(corners[2]);
        triangle.p1 = vertices[corners[0]];
        triangle.p2 = vertices[corners[1]];
        triangle.p3 = vertices[corners[2]];
        triangles.push_back(triangle);
    }
}

geom::ThinLine ThinningLine(const ConstraintLine& line) {
    geom::ThinLine thin;
    for (const geom::CVertex& v : line.vertices) {
        thin.vertices.push_back({v.x, v.y, v.z});
    }
    thin.flat = line.flat;
    return thin;
}

geom::ThinLines ThinningLines(const std::vector<ConstraintLine>& lines) {
    geom::ThinLines thin;
    for (const ConstraintLine& line : lines) {
        if (line.role == LineRole::Breakline) {
            thin.breaklines.push_back(ThinningLine(line));
        } else if (line.role == LineRole::OuterBoundary) {
            thin.boundary = ThinningLine(line);
        } else if (line.role == LineRole::Hole) {
            thin.holes.push_back(ThinningLine(line));
        }
    }
    return thin;
}

// Reads the files as often as the thinning asks (quietly after the first time), thins the points
// to the tolerance and writes the thinned surface.
int RunThinning(const SurfaceArguments& arguments) {
    PumpMessagesThrottled();
    acutPrintf(L"\nReading points ...");
    int passes = 0;
    std::int32_t start = 0;
    const geom::ThinPointPass read = [&](const geom::ThinPointSink& sink) {
        SurveyReadCounts counts;
        SurveyReadOptions options;
        options.quiet = passes > 0;
        if (!ReadSurveyPointFiles(arguments.files, arguments.columns, arguments.delimiter,
                                  kRules.label, sink, counts, options)) {
            return false;
        }
        if (passes++ == 0) {
            PumpMessagesThrottled();
            acutPrintf(L"\nStart Calculation...");
            start = ReadClock();
        }
        return true;
    };
    geom::ThinOptions options;
    options.tolerance = arguments.tolerance;
    options.lines = ThinningLines(arguments.lines);
    options.tick = [] { PumpMessagesThrottled(); };
    const geom::ThinStreamResult thinned = geom::ThinStream(read, options);
    if (thinned.status == geom::ThinStreamResult::Status::ReadFailed) {
        return RSERR;
    }
    if (thinned.status == geom::ThinStreamResult::Status::Changed) {
        ReportFunctionError(kRules.label, L"The point files changed while they were read!");
        return RSERR;
    }
    std::vector<geom::CVertex> vertices;
    std::vector<geom::CTriangle> triangles;
    ThinnedSurface(thinned.surface, vertices, triangles);
    acutPrintf(L"kept %ls of %ls points within %g ... ", std::to_wstring(thinned.kept).c_str(),
               std::to_wstring(thinned.read).c_str(), arguments.tolerance);
    if (thinned.conflicts > 0) {
        acutPrintf(
            L"%ls points beyond the tolerance of a kept point or line at their plan "
            L"position are left out ... ",
            std::to_wstring(thinned.conflicts).c_str());
    }
    if (thinned.outside > 0) {
        acutPrintf(L"%ls points outside the boundaries are left out ... ",
                   std::to_wstring(thinned.outside).c_str());
    }
    std::vector<std::wstring> handles;
    const auto vertexCount = static_cast<std::int32_t>(vertices.size());
    const wchar_t* layer = arguments.layer ? arguments.layer->c_str() : nullptr;
    if (WriteTriangulation(triangles, vertices, start, vertexCount, arguments.maxPoints, layer,
                           kWriters, L"ready after %f seconds\n", handles) != RTNORM) {
        acedRetNil();
        return RSERR;
    }
    return ReturnList(StringsToResultList(handles));
}

}  // namespace

int RunKafThinSubdmeshWithLoadCsv(const resbuf* args) {
    using S = ArgumentSlot;
    static const S kSlots[] = {S::Files, S::Layout,    S::Delimiter, S::Breaklines, S::Boundary,
                               S::Holes, S::Tolerance, S::Layer,     S::MaxPoints};
    SurfaceArguments arguments;
    if (!ReadSurfaceArguments(args, kSlots, 9, 8, kRules, arguments) ||
        !ReadConstraintLines(arguments.lines, kRules.label)) {
        return RSERR;
    }
    return RunThinning(arguments);
}
