// kaf-spotLevels: (meshes layer height decimals positions). Writes spot levels of the surface
// made of the meshes in the handle list: at each position a point (AcDbPoint) at the surface's
// elevation there, interpolated in the triangle under it, and its level (with `decimals`
// decimals, 0 to 6) as a text of the height, left-aligned and centred across at three quarters
// of the height to the right of the point; all on the layer (nil: the current layer).
// positions is a list of points (their x and y are used) or a grid spacing (a positive real):
// the positions at whole multiples of the spacing in x and y within the surface's extent.
// Positions off the surface are skipped and counted. Prints "\nSpot levels: %i written, %i
// outside the surface" and gives the handles, point then text for each spot, in the positions'
// order (the grid row by row from the lowest y, each row by rising x).
//
// Argument errors end the call with nil at the first bad argument; the height (finite and
// positive), the decimals and the spacing (finite, positive, and giving at most 1,000,000 grid
// positions) are tested after all were read. The meshes are read (ReadSurfaceMeshes) but not
// welded: each position is looked up in their faces as they are (geom::SpotElevations), which
// costs a small part of joining them. A mesh that cannot be read, a vertex that is not finite, a
// face naming a vertex its mesh lacks, two meshes giving a position different elevations
// ("Mesh <h> gives another elevation at (x, y) than a mesh before it!") or a failing writer end
// it with nil, the drawing unchanged.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "functions/annotation_arguments.h"
#include "functions/load_surface.h"
#include "functions/workers.h"
#include "geom/surface/spot_elevations.h"
#include "geom/surface/trace_contours.h"
#include "host/argument_readers.h"
#include "host/error_lines.h"
#include "host/result_lists.h"
#include "input/read_surface_meshes.h"
#include "output/create_annotations.h"

namespace {

constexpr const wchar_t* kStep = L"spotLevels";
constexpr double kMostGridPositions = 1000000.0;
constexpr double kTextOffset = 0.75;  // of the height, right of the point

struct SpotArguments {
    AnnotationArguments common;
    std::vector<geom::PlanPoint> positions;
    double spacing = 0.0;  // 0: the positions are given
};

bool ReadPositions(const resbuf*& cursor, SpotArguments& out) {
    if (cursor->restype == RTREAL) {
        out.spacing = cursor->resval.rreal;
        return true;
    }
    if (cursor->restype != RTLB) {
        return false;
    }
    for (cursor = cursor->rbnext; cursor != nullptr && cursor->restype != RTLE;
         cursor = cursor->rbnext) {
        if (!IsPointNode(cursor) || !std::isfinite(cursor->resval.rpoint[0]) ||
            !std::isfinite(cursor->resval.rpoint[1])) {
            return false;
        }
        out.positions.push_back(
            geom::PlanPoint{cursor->resval.rpoint[0], cursor->resval.rpoint[1]});
    }
    return cursor != nullptr;
}

bool ReadArguments(const resbuf* args, SpotArguments& out) {
    const bool read =
        ReadPositionalArguments(args, 5, kStep, [&out](int position, const resbuf*& cursor) {
            if (position < 5) {
                return ReadAnnotationArgument(position, cursor, out.common);
            }
            return ReadPositions(cursor, out) ? nullptr
                                              : L"Fifth argument has to be a point list or a real!";
        });
    if (!read) {
        return false;
    }
    const wchar_t* error = AnnotationArgumentFault(out.common);
    if (error == nullptr && out.positions.empty() && !IsPositiveNumber(out.spacing)) {
        error = L"The spacing has to be a positive number!";
    }
    if (error != nullptr) {
        ReportFunctionError(kStep, error);
        return false;
    }
    return true;
}

// The grid positions over the meshes' extent; false when there would be too many.
bool GridPositions(const std::vector<geom::SurfaceMesh>& meshes, double spacing,
                   std::vector<geom::PlanPoint>& positions) {
    double minX = INFINITY, maxX = -INFINITY, minY = INFINITY, maxY = -INFINITY;
    for (const geom::SurfaceMesh& mesh : meshes) {
        for (const geom::CVertex& vertex : mesh.vertices) {
            minX = std::min(minX, vertex.x);
            maxX = std::max(maxX, vertex.x);
            minY = std::min(minY, vertex.y);
            maxY = std::max(maxY, vertex.y);
        }
    }
    if (!(minX <= maxX && minY <= maxY)) {
        return true;  // no vertices: no positions
    }
    const double firstColumn = std::ceil(minX / spacing);
    const double firstRow = std::ceil(minY / spacing);
    const double columns = std::floor(maxX / spacing) - firstColumn + 1.0;
    const double rows = std::floor(maxY / spacing) - firstRow + 1.0;
    if (!(columns * rows <= kMostGridPositions)) {
        return false;
    }
    for (double row = 0.0; row < rows; row += 1.0) {
        for (double column = 0.0; column < columns; column += 1.0) {
            positions.push_back(
                geom::PlanPoint{(firstColumn + column) * spacing, (firstRow + row) * spacing});
        }
    }
    return true;
}

// The point and the level text of each spot on the surface.
std::vector<Annotation> SpotAnnotations(const SpotArguments& arguments,
                                        const std::vector<double>& elevations) {
    std::vector<Annotation> items;
    for (std::size_t i = 0; i < elevations.size(); ++i) {
        if (std::isnan(elevations[i])) {
            continue;
        }
        const geom::PlanPoint& position = arguments.positions[i];
        Annotation point;
        point.position = AcGePoint3d(position.x, position.y, elevations[i]);
        Annotation level = point;
        level.isText = true;
        level.position.x += kTextOffset * arguments.common.height;
        level.text = LevelText(elevations[i], arguments.common.decimals);
        level.height = arguments.common.height;
        level.horizontal = AcDb::kTextLeft;
        level.vertical = AcDb::kTextVertMid;
        items.push_back(point);
        items.push_back(level);
    }
    return items;
}

// The elevations at the positions; false after the aborted-function line for a fault of the
// meshes.
bool ElevationsAt(const SpotArguments& arguments, const std::vector<geom::SurfaceMesh>& meshes,
                  const std::vector<std::wstring>& names, std::vector<double>& elevations) {
    geom::MeshPosition where;
    const geom::SurfaceStatus status =
        geom::SpotElevations(meshes, arguments.positions, elevations, where);
    if (status == geom::SurfaceStatus::Ok) {
        return true;
    }
    std::wstring text;
    if (status == geom::SurfaceStatus::ConflictingElevation) {
        const geom::PlanPoint& at = arguments.positions[where.index];
        text = L"Mesh " + names[where.mesh] + L" gives another elevation at " +
               PlanPositionText(at.x, at.y) + L" than a mesh before it!";
    } else {
        text = SurfaceFaultText(status, where, meshes, names);
    }
    ReportFunctionError(kStep, text.c_str());
    return false;
}

}  // namespace

int RunKafSpotLevels(const resbuf* args) {
    SpotArguments arguments;
    if (!ReadArguments(args, arguments)) {
        return RSERR;
    }
    std::vector<geom::SurfaceMesh> meshes;
    std::vector<std::wstring> names;
    if (!ReadSurfaceMeshes(arguments.common.handles, kStep, meshes, names)) {
        return RSERR;
    }
    if (arguments.positions.empty() &&
        !GridPositions(meshes, arguments.spacing, arguments.positions)) {
        return ReportFunctionError(kStep, L"The spacing gives more than 1000000 spot levels!");
    }
    std::vector<double> elevations;
    if (!ElevationsAt(arguments, meshes, names, elevations)) {
        return RSERR;
    }
    const std::vector<Annotation> items = SpotAnnotations(arguments, elevations);
    std::vector<std::wstring> handles;
    const wchar_t* layer = arguments.common.layer ? arguments.common.layer->c_str() : nullptr;
    if (CreateAnnotations(items, layer, L"Writing spot levels ...", handles) != RTNORM) {
        acedRetNil();
        return RSERR;
    }
    const auto written = static_cast<int>(items.size() / 2);
    acutPrintf(L"\nSpot levels: %i written, %i outside the surface", written,
               static_cast<int>(arguments.positions.size()) - written);
    return ReturnList(StringsToResultList(handles));
}
