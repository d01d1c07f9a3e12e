#include "output/create_subd_mesh.h"

#include "arxapi.h"
#include "host/error_lines.h"
#include "host/pump_messages.h"
#include "output/close_on_exit.h"
#include "output/writer_steps.h"

namespace {

template <typename Triangle, typename Vertex>
int Write(const std::vector<Triangle>& triangles, const std::vector<Vertex>& vertices,
          const wchar_t* layer, std::vector<std::wstring>& handles) {
    acutPrintf(L"\nCreate Mesh ... ");
    AcDbBlockTableRecord* modelSpace =
        OpenModelSpaceForWrite(L"CreateSubDMesh:getSymbolTable", L"CreateSubDMesh:getAt");
    if (modelSpace == nullptr) {
        return RTERROR;
    }
    const CloseOnExit closeModelSpace(modelSpace);
    PumpMessagesThrottled();

    AcGePoint3dArray points(static_cast<int>(vertices.size()));
    for (const Vertex& vertex : vertices) {
        points.append(AcGePoint3d(vertex.x, vertex.y, vertex.z));
    }
    if (static_cast<std::size_t>(points.length()) != vertices.size()) {
        ReportStepError(L"CreateSubDMesh: ", L"Vertex number mismatch!");
        return RTERROR;
    }
    PumpMessagesThrottled();

    AcArray<Adesk::Int32> faces(static_cast<int>(4 * triangles.size()));
    for (const Triangle& triangle : triangles) {
        faces.append(3);
        faces.append(triangle.i1);
        faces.append(triangle.i2);
        faces.append(triangle.i3);
    }
    PumpMessagesThrottled();

    NewEntity<AcDbSubDMesh> mesh;
    mesh->setDatabaseDefaults();
    if (!SetLayerReported(*mesh, layer, L"CreateSubDMesh:setLayer")) {
        return RTERROR;
    }
    if (!FinishSubDMesh(mesh, points, faces, *modelSpace, handles)) {
        return RTERROR;
    }
    return RTNORM;
}

}  // namespace

int CreateSubDMesh(const std::vector<geom::CTriangle>& triangles,
                   const std::vector<geom::CVertex>& vertices, const wchar_t* layer,
                   std::vector<std::wstring>& handles) {
    return Write(triangles, vertices, layer, handles);
}

int CreateSubDMesh(const std::vector<geom::MeshFace>& triangles,
                   const std::vector<geom::CVertex>& vertices, const wchar_t* layer,
                   std::vector<std::wstring>& handles) {
    return Write(triangles, vertices, layer, handles);
}

int CreateSubDMesh(const std::vector<geom::MeshFace>& triangles,
                   const std::vector<geom::SurfacePoint>& vertices, const wchar_t* layer,
                   std::vector<std::wstring>& handles) {
    return Write(triangles, vertices, layer, handles);
}
