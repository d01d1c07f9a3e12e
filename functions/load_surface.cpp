#include "functions/load_surface.h"

#include <cwchar>
#include <new>
#include <string>

#include "geom/surface/surface_mesh.h"
#include "geom/surface/trace_contours.h"
#include "geom/surface/weld_surface.h"
#include "host/argument_readers.h"
#include "host/error_lines.h"
#include "input/read_surface_meshes.h"

namespace {

constexpr double kMeterTotal = 100.0;

// A coordinate as the fault texts show it, with three decimals.
std::wstring Coordinate(double value) {
    wchar_t text[64];
    std::swprintf(text, sizeof text / sizeof text[0], L"%.3f", value);
    return text;
}

}  // namespace

std::wstring PlanPositionText(double x, double y) {
    return L"(" + Coordinate(x) + L", " + Coordinate(y) + L")";
}

std::wstring SurfaceFaultText(geom::SurfaceStatus status, const geom::MeshPosition& where,
                              const std::vector<geom::SurfaceMesh>& meshes,
                              const std::vector<std::wstring>& names) {
    const std::wstring mesh = L"Mesh " + names[where.mesh];
    const geom::SurfaceMesh& faulty = meshes[where.mesh];
    switch (status) {
        case geom::SurfaceStatus::NonFiniteCoordinate:
            return mesh + L" has a vertex with a coordinate that is not a finite number!";
        case geom::SurfaceStatus::FaceIndexOutOfRange:
            return mesh + L" has a face with a vertex it does not have!";
        case geom::SurfaceStatus::ConflictingElevation: {
            const geom::CVertex& vertex = faulty.vertices[where.index];
            return mesh + L" has a vertex at " + PlanPositionText(vertex.x, vertex.y) +
                   L" where another vertex has a different elevation!";
        }
        case geom::SurfaceStatus::OverlappingFaces: {
            const geom::MeshFace& face = faulty.faces[where.index];
            const geom::CVertex& a = faulty.vertices[static_cast<std::size_t>(face.i1)];
            const geom::CVertex& b = faulty.vertices[static_cast<std::size_t>(face.i2)];
            const geom::CVertex& c = faulty.vertices[static_cast<std::size_t>(face.i3)];
            return mesh + L" has a face at " +
                   PlanPositionText((a.x + b.x + c.x) / 3.0, (a.y + b.y + c.y) / 3.0) +
                   L" that overlaps another face!";
        }
        case geom::SurfaceStatus::Ok:
        case geom::SurfaceStatus::OutOfMemory:
        case geom::SurfaceStatus::TooManyElements:
        case geom::SurfaceStatus::EmptySurface:
        case geom::SurfaceStatus::InvalidLevels:
        case geom::SurfaceStatus::TooManyLevels:
        case geom::SurfaceStatus::InvalidDatum:
        case geom::SurfaceStatus::CoordinatesTooLarge:
        case geom::SurfaceStatus::DatumTooLarge:
            break;  // no fault of one mesh; LoadSurface reports these by their own texts
    }
    return mesh + L" is faulty!";
}

namespace {

const wchar_t* StatusText(geom::SurfaceStatus status) {
    switch (status) {
        case geom::SurfaceStatus::TooManyElements:
            return L"The meshes have too many vertices or faces!";
        case geom::SurfaceStatus::EmptySurface:
            return L"The meshes have no vertices!";
        case geom::SurfaceStatus::InvalidLevels:
            return L"The interval is too small for the surface's elevations!";
        case geom::SurfaceStatus::TooManyLevels: {
            static const std::wstring text = L"The interval gives more than " +
                                             std::to_wstring(geom::kMaxContourLevels) +
                                             L" contour levels!";
            return text.c_str();
        }
        case geom::SurfaceStatus::InvalidDatum:
            return L"The datum has to be a finite number!";
        case geom::SurfaceStatus::CoordinatesTooLarge:
            return L"The surface's coordinates are too large to measure!";
        case geom::SurfaceStatus::DatumTooLarge:
            return L"The datum is too large to measure!";
        default:
            return L"Unexpected failure!";
    }
}

}  // namespace

const wchar_t* ReadSurfaceArgument(const resbuf*& cursor, std::vector<std::wstring>& handles,
                                   const wchar_t* message) {
    if (cursor->restype != RTLB) {
        return message;
    }
    handles = ReadCompleteHandleList(cursor);
    return handles.empty() ? message : nullptr;
}

SurfaceStepMeter::SurfaceStepMeter(const wchar_t* label) : label_(label) {
    StartProgressMeter(state_, label_, kMeterTotal);
}

geom::SurfaceProgress SurfaceStepMeter::Progress() {
    return [this](std::size_t done, std::size_t total) {
        const double share =
            total > 0 ? static_cast<double>(done) / static_cast<double>(total) : 1.0;
        UpdateProgressMeter(state_, label_, share * kMeterTotal);
    };
}

bool LoadSurface(const std::vector<std::wstring>& handles, const wchar_t* label,
                 geom::WeldedSurface& surface) {
    std::vector<geom::SurfaceMesh> meshes;
    std::vector<std::wstring> names;
    if (!ReadSurfaceMeshes(handles, label, meshes, names)) {
        return false;
    }
    geom::MeshPosition where;
    geom::SurfaceStatus status = geom::SurfaceStatus::Ok;
    {
        SurfaceStepMeter meter(L"Joining meshes ...");
        status = geom::WeldSurface(meshes, surface, &where, meter.Progress());
    }
    switch (status) {
        case geom::SurfaceStatus::Ok:
            return true;
        case geom::SurfaceStatus::NonFiniteCoordinate:
        case geom::SurfaceStatus::FaceIndexOutOfRange:
        case geom::SurfaceStatus::ConflictingElevation:
        case geom::SurfaceStatus::OverlappingFaces:
            ReportFunctionError(label, SurfaceFaultText(status, where, meshes, names).c_str());
            return false;
        default:
            ReportSurfaceFailure(label, status);
            return false;
    }
}

int ReportSurfaceFailure(const wchar_t* label, geom::SurfaceStatus status) {
    if (status == geom::SurfaceStatus::OutOfMemory) {
        throw std::bad_alloc();
    }
    return ReportFunctionError(label, StatusText(status));
}
