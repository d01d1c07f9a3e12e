// kaf-isopach: (existing design layer [maxPoints [range]]). The cut/fill map of two surfaces,
// each given as a handle list of its meshes: the difference surface existing - design over the
// plan area where both exist (geom::ComputeIsopach), written as subdivision meshes of at most
// maxPoints vertices (3 ... 3,000,000, default 32767) on the layer (nil: the current layer), as
// the subdivision mesh functions write them, and coloured by the cut/fill ramp (CutFillColour)
// over -range ... range (default: the largest difference). Prints "finished\n" after the
// writers' lines, the colouring's lines, then "\nCut/fill map: %i vertices,
// %i triangles, difference %.3f to %.3f, colours over +-%.3f" (or "\nCut/fill map: the surfaces
// do not overlap", giving nil) and gives the meshes' handles.
//
// Argument errors end the call with nil at the first bad argument; maxPoints and range (finite
// and positive) are tested after all were read. A mesh that cannot be read, a surface that
// cannot be made of its meshes or a failing writer end it with nil.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "functions/load_surface.h"
#include "functions/run_mesh_function.h"
#include "functions/workers.h"
#include "geom/surface/compute_isopach.h"
#include "host/argument_readers.h"
#include "host/error_lines.h"
#include "host/result_lists.h"
#include "output/create_splitted_subd_mesh.h"
#include "output/create_subd_mesh.h"
#include "postprocess/change_vertex_color.h"
#include "postprocess/colour.h"

namespace {

constexpr const wchar_t* kStep = L"isopach";
constexpr std::int32_t kLargestMaxPoints = 3000000;

struct IsopachArguments {
    std::vector<std::wstring> existing;
    std::vector<std::wstring> design;
    std::optional<std::wstring> layer;
    std::int32_t maxPoints = 32767;
    std::optional<double> range;
};

const wchar_t* ReadArgument(int position, const resbuf*& cursor, IsopachArguments& out) {
    const resbuf* node = cursor;
    switch (position) {
        case 1:
            return ReadSurfaceArgument(cursor, out.existing,
                                       L"First argument has to be a handle list!");
        case 2:
            return ReadSurfaceArgument(cursor, out.design,
                                       L"Second argument has to be a handle list!");
        case 3:
            return ReadLayer(node, out.layer) ? nullptr
                                              : L"Third argument has to be a string or nil!";
        case 4:
            return ReadInteger(node, out.maxPoints) ? nullptr
                                                    : L"Fourth argument has to be an integer!";
        default: {
            double range = 0.0;
            if (!ReadReal(node, range)) {
                return L"Fifth argument has to be a real!";
            }
            out.range = range;
            return nullptr;
        }
    }
}

bool ReadArguments(const resbuf* args, IsopachArguments& out) {
    const bool read =
        ReadPositionalArguments(args, 3, 5, kStep, [&out](int position, const resbuf*& cursor) {
            return ReadArgument(position, cursor, out);
        });
    if (!read) {
        return false;
    }
    const wchar_t* error = nullptr;
    if (!IsMaxPointsInRange(out.maxPoints, kLargestMaxPoints)) {
        error =
            L"The maximum size of points in a subdmesh has to be a number of 3 up to "
            L"3.000.000!";
    } else if (out.range && !(std::isfinite(*out.range) && *out.range > 0.0)) {
        error = L"The range has to be a positive number!";
    }
    if (error != nullptr) {
        ReportFunctionError(kStep, error);
        return false;
    }
    return true;
}

// Writes the map as the subdivision mesh functions write a triangulation: one mesh, or several
// of at most maxPoints vertices; the faces go to the writers as they are.
int WriteMap(const geom::IsopachMesh& map, const IsopachArguments& arguments,
             std::vector<std::wstring>& handles) {
    const wchar_t* layer = arguments.layer ? arguments.layer->c_str() : nullptr;
    if (map.vertices.size() <= static_cast<std::size_t>(arguments.maxPoints)) {
        return CreateSubDMesh(map.faces, map.vertices, layer, handles);
    }
    return CreateSplittedSubDMesh(map.faces, map.vertices, layer, arguments.maxPoints, handles);
}

}  // namespace

int RunKafIsopach(const resbuf* args) {
    IsopachArguments arguments;
    if (!ReadArguments(args, arguments)) {
        return RSERR;
    }
    geom::WeldedSurface existing;
    geom::WeldedSurface design;
    if (!LoadSurface(arguments.existing, kStep, existing) ||
        !LoadSurface(arguments.design, kStep, design)) {
        return RSERR;
    }
    geom::IsopachMesh map;
    geom::SurfaceStatus status = geom::SurfaceStatus::Ok;
    {
        SurfaceStepMeter meter(L"Computing cut/fill map ...");
        status = geom::ComputeIsopach(existing, design, map, meter.Progress());
    }
    if (status != geom::SurfaceStatus::Ok) {
        return ReportSurfaceFailure(kStep, status);
    }
    if (map.faces.empty()) {
        acutPrintf(L"\nCut/fill map: the surfaces do not overlap");
        acedRetNil();
        return RSRSLT;
    }
    double low = map.vertices.front().z;
    double high = low;
    for (const geom::SurfacePoint& v : map.vertices) {
        low = std::min(low, v.z);
        high = std::max(high, v.z);
    }
    double range = arguments.range.value_or(std::max(-low, high));
    range = range > 0.0 ? range : 1.0;  // a map that is zero throughout is white
    std::vector<std::wstring> handles;
    if (WriteMap(map, arguments, handles) != RTNORM) {
        acedRetNil();
        return RSERR;
    }
    acutPrintf(L"finished\n");
    if (!ColourMeshVertices(handles, [range](double z) { return CutFillColour(z, range); })) {
        acedRetNil();
        return RSERR;
    }
    acutPrintf(
        L"\nCut/fill map: %i vertices, %i triangles, difference %.3f to %.3f, colours "
        L"over +-%.3f",
        static_cast<int>(map.vertices.size()), static_cast<int>(map.faces.size()), low, high,
        range);
    return ReturnList(StringsToResultList(handles));
}
