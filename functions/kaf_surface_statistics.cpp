// kaf-surfaceStatistics: (meshes). Counts and measures the surface made of the meshes in the
// handle list (subdivision or polyface meshes, several meshes of a split surface joined into one)
// and gives (vertices triangles minZ maxZ meanZ planArea surfaceArea): the distinct vertices
// (a vertex shared by meshes counts once), the faces with three distinct corners, the lowest,
// highest and mean vertex elevation, the area covered in plan and the area of the faces in space.
// Prints them in one line, "\nSurface: %i vertices, %i triangles, elevation %.3f to %.3f (mean
// %.3f), plan area %.3f, surface area %.3f".
//
// Argument errors, a mesh that cannot be read, a surface that cannot be made of the meshes and a
// surface without vertices end the call with nil.
#include <string>
#include <vector>

#include "functions/load_surface.h"
#include "functions/workers.h"
#include "geom/surface/compute_surface_statistics.h"
#include "host/argument_readers.h"
#include "host/error_lines.h"
#include "host/result_lists.h"

namespace {

constexpr const wchar_t* kStep = L"surfaceStatistics";

}  // namespace

int RunKafSurfaceStatistics(const resbuf* args) {
    std::vector<std::wstring> handles;
    const bool read =
        ReadPositionalArguments(args, 1, kStep, [&handles](int, const resbuf*& cursor) {
            return ReadSurfaceArgument(cursor, handles, L"First argument has to be a handle list!");
        });
    if (!read) {
        return RSERR;
    }
    geom::WeldedSurface surface;
    if (!LoadSurface(handles, kStep, surface)) {
        return RSERR;
    }
    geom::SurfaceStatistics statistics;
    const geom::SurfaceStatus status = geom::ComputeSurfaceStatistics(surface, statistics);
    if (status != geom::SurfaceStatus::Ok) {
        return ReportSurfaceFailure(kStep, status);
    }
    const auto vertices = static_cast<std::int32_t>(statistics.vertexCount);
    const auto triangles = static_cast<std::int32_t>(statistics.triangleCount);
    acutPrintf(
        L"\nSurface: %i vertices, %i triangles, elevation %.3f to %.3f (mean %.3f), plan "
        L"area %.3f, surface area %.3f",
        vertices, triangles, statistics.minElevation, statistics.maxElevation,
        statistics.meanElevation, statistics.planArea, statistics.surfaceArea);
    return ReturnList(NodesToResultList(
        {NewLongNode(vertices), NewLongNode(triangles), NewRealNode(statistics.minElevation),
         NewRealNode(statistics.maxElevation), NewRealNode(statistics.meanElevation),
         NewRealNode(statistics.planArea), NewRealNode(statistics.surfaceArea)}));
}
