#include "input/add_points_aa.h"

#include "arxapi.h"
#include "host/add_finite_point.h"
#include "host/error_lines.h"
#include "host/progress_meter.h"
#include "input/entity_lookup.h"
#include "input/is_point_in_polygon.h"
#include "output/close_on_exit.h"

namespace {

constexpr const wchar_t* kStep = L"add_points_aa";
constexpr const wchar_t* kMeterLabel = L"Search point ...";

// The entity with that handle when it is of the class cls (or derived from it), open for read;
// otherwise null, with any entity found closed again.
AcDbEntity* LookUp(const std::wstring& handle, const AcRxClass* cls) {
    AcDbEntity* entity = nullptr;
    GetEntity(entity, handle.c_str());
    if (entity != nullptr && !entity->isA()->isDerivedFrom(cls)) {
        entity->close();
        entity = nullptr;
    }
    return entity;
}

// The polyline's vertices in world coordinates, followed by its first vertex once more.
std::vector<AcGePoint3d> Outline(const AcDbPolyline& polyline) {
    std::vector<AcGePoint3d> outline;
    const unsigned int count = polyline.numVerts();
    outline.reserve(count + 1);
    for (unsigned int i = 0; i < count; ++i) {
        AcGePoint3d point;
        polyline.getPointAt(i, point);
        outline.push_back(point);
    }
    AcGePoint3d first;
    polyline.getPointAt(0u, first);
    outline.push_back(first);
    return outline;
}

}  // namespace

std::optional<std::int32_t> add_points_aa(const std::wstring& polylineHandle,
                                          std::vector<std::wstring> meshHandles, geom::CDCT& dct,
                                          double zDelta) {
    AcDbEntity* polyline = LookUp(polylineHandle, AcDbPolyline::desc());
    if (polyline == nullptr) {
        ReportFunctionError(kStep, L"Object is not a LWPolyline!");
        return std::nullopt;
    }
    std::vector<AcGePoint3d> outline;
    {
        const CloseOnExit closePolyline(polyline);
        outline = Outline(*static_cast<AcDbPolyline*>(polyline));
    }

    ProgressMeterState meter;
    StartProgressMeter(meter, kMeterLabel, static_cast<double>(meshHandles.size()));
    EndProgressMeterOnExit endMeter;
    std::int32_t count = 0;
    for (std::size_t k = 0; k < meshHandles.size(); ++k) {
        AcDbEntity* mesh = LookUp(meshHandles[k], AcDbSubDMesh::desc());
        if (mesh == nullptr) {
            ReportFunctionError(kStep, L"Object is not a SubDMesh!");
            endMeter.End();
            return std::nullopt;
        }
        const CloseOnExit closeMesh(mesh);
        AcGePoint3dArray vertices;
        static_cast<AcDbSubDMesh*>(mesh)->getVertices(vertices);
        for (int i = 0; i < vertices.length(); ++i) {
            const AcGePoint3d& vertex = vertices[i];
            if (IsPointInPolygon(outline, vertex)) {
                AddFinitePoint(dct, vertex.x, vertex.y, vertex.z + zDelta);
                ++count;
            }
        }
        UpdateProgressMeter(meter, kMeterLabel, static_cast<double>(k));
    }
    endMeter.End();
    return count;
}
