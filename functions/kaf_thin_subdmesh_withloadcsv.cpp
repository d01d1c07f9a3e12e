// kaf-thin-subdmesh-withloadcsv: (kaf-thin-subdmesh-withloadcsv files layout delimiter tolerance
// layer [maxPoints]): subdivision meshes of the points of survey point files (text or LAS),
// thinned so that every point left out lies within the tolerance (vertically) of the surface.
//
// The arguments are read as the constrained functions read theirs (ReadSurfaceArguments: step
// "thin_subdmesh_withloadcsv", "Fourth argument has to be a tolerance of 0 or more!"), the points
// by ReadArgumentPoints. The points read are thinned (ThinToVerticalTolerance); after
// "\nStart Calculation..." it prints "kept <k> of <n> points within <tolerance (%g)> ... " and the
// thinned surface goes to CreateSubDMesh, or CreateSplittedSubDMesh above maxPoints vertices,
// after "ready after %f seconds\n". Gives the list of the new meshes' handles; a thinning
// failure (GeometryError) passes out with its text, a file or writer failure gives nil and RSERR.
#include <cstdint>
#include <string>
#include <vector>

#include "functions/surface_arguments.h"
#include "functions/workers.h"
#include "geom/thinning/greedy_thinning.h"
#include "host/clock.h"
#include "host/pump_messages.h"
#include "host/result_lists.h"
#include "output/create_splitted_subd_mesh.h"
#include "output/create_subd_mesh.h"

namespace {

const MeshArgumentRules kRules = {
    L"thin_subdmesh_withloadcsv", L"The maximum size of points in a subdmesh has to be an integer!",
    L"The maximum size of points in a subdmesh has to be a number of 3 up to 3.000.000!", 3000000};
const MeshWriters kWriters = {CreateSubDMesh, CreateSplittedSubDMesh};

// The thinned surface as the mesh writers take it: the kept points, the triangles on them.
void ThinnedSurface(const std::vector<geom::ThinPoint>& points, const geom::ThinningResult& thinned,
                    std::vector<geom::CVertex>& vertices, std::vector<geom::CTriangle>& triangles) {
    std::vector<std::int32_t> vertexOf(points.size(), -1);
    for (const std::uint32_t p : thinned.kept) {
        vertexOf[p] = static_cast<std::int32_t>(vertices.size());
        vertices.emplace_back(points[p].x, points[p].y, points[p].z);
    }
    for (const auto& corners : thinned.triangles) {
        geom::CTriangle triangle;
        triangle.i1 = vertexOf[corners[0]];
        triangle.i2 = vertexOf[corners[1]];
        triangle.i3 = vertexOf[corners[2]];
        triangle.p1 = vertices[static_cast<std::size_t>(triangle.i1)];
        triangle.p2 = vertices[static_cast<std::size_t>(triangle.i2)];
        triangle.p3 = vertices[static_cast<std::size_t>(triangle.i3)];
        triangles.push_back(triangle);
    }
}

// Reads the points, thins them to the tolerance and writes the thinned surface.
int RunThinning(const SurfaceArguments& arguments) {
    std::vector<geom::ThinPoint> points;
    if (!ReadArgumentPoints(arguments, kRules.label, [&points](double x, double y, double z) {
            points.push_back({x, y, z});
        })) {
        return RSERR;
    }
    PumpMessagesThrottled();
    acutPrintf(L"\nStart Calculation...");
    const std::int32_t start = ReadClock();
    std::vector<geom::CVertex> vertices;
    std::vector<geom::CTriangle> triangles;
    const geom::ThinningResult thinned = geom::ThinToVerticalTolerance(points, arguments.tolerance);
    ThinnedSurface(points, thinned, vertices, triangles);
    acutPrintf(L"kept %d of %d points within %g ... ", static_cast<int>(vertices.size()),
               static_cast<int>(points.size()), arguments.tolerance);
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
    static const S kSlots[] = {S::Files,     S::Layout, S::Delimiter,
                               S::Tolerance, S::Layer,  S::MaxPoints};
    SurfaceArguments arguments;
    if (!ReadSurfaceArguments(args, kSlots, 6, 5, kRules, arguments)) {
        return RSERR;
    }
    return RunThinning(arguments);
}
