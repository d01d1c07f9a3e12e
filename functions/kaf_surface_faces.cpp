// kaf-surfaceFaces: (meshes layer). Writes the surface made of the meshes in the handle list
// (subdivision or polyface meshes, several meshes of a split surface joined into one) as one 3D
// face per triangle on the layer (nil: the current layer), so that DXF readers without meshes
// show it. Prints "\n3D faces: %i" and gives the faces' handles, in the surface's triangle order.
//
// Argument errors, a mesh that cannot be read, a surface that cannot be made of the meshes and a
// failing writer end the call with nil, the drawing unchanged.
#include <optional>
#include <string>
#include <vector>

#include "functions/load_surface.h"
#include "functions/workers.h"
#include "host/argument_readers.h"
#include "host/result_lists.h"
#include "output/create_3d_faces.h"

namespace {

constexpr const wchar_t* kStep = L"surfaceFaces";

AcGePoint3d Corner(const geom::WeldedSurface& surface, std::int32_t index) {
    const geom::SurfacePoint& point = surface.points[static_cast<std::size_t>(index)];
    return AcGePoint3d(point.x, point.y, point.z);
}

}  // namespace

int RunKafSurfaceFaces(const resbuf* args) {
    std::vector<std::wstring> meshes;
    std::optional<std::wstring> layer;
    const bool read =
        ReadPositionalArguments(args, 2, kStep, [&](int position, const resbuf*& cursor) {
            if (position == 1) {
                return ReadSurfaceArgument(cursor, meshes,
                                           L"First argument has to be a handle list!");
            }
            return ReadLayer(cursor, layer) ? nullptr
                                            : L"Second argument has to be a string or nil!";
        });
    if (!read) {
        return RSERR;
    }
    geom::WeldedSurface surface;
    if (!LoadSurface(meshes, kStep, surface)) {
        return RSERR;
    }
    std::vector<FaceCorners> faces;
    faces.reserve(surface.triangles.size());
    for (const geom::SurfaceTriangle& triangle : surface.triangles) {
        faces.push_back(FaceCorners{Corner(surface, triangle.corner[0]),
                                    Corner(surface, triangle.corner[1]),
                                    Corner(surface, triangle.corner[2])});
    }
    std::vector<std::wstring> handles;
    if (Create3dFaces(faces, layer ? layer->c_str() : nullptr, handles) != RTNORM) {
        acedRetNil();
        return RSERR;
    }
    acutPrintf(L"\n3D faces: %i", static_cast<int>(handles.size()));
    return ReturnList(StringsToResultList(handles));
}
