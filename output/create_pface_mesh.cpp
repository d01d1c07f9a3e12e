#include "output/create_pface_mesh.h"

#include <cstdint>

#include "arxapi.h"
#include "host/report_step_error.h"
#include "output/append_face_record.h"
#include "output/append_handle_text.h"
#include "output/append_pface_vertex.h"
#include "output/close_on_exit.h"
#include "output/new_entity.h"
#include "output/open_model_space.h"
#include "output/set_layer_reported.h"

int CreatePFaceMesh(const std::vector<geom::CTriangle>& triangles,
                    const std::vector<geom::CVertex>& vertices, const wchar_t* layer,
                    std::vector<std::wstring>& handles) {
    AcDbBlockTableRecord* modelSpace =
        OpenModelSpaceForWrite(L"CreatePFaceMesh:1", L"CreatePFaceMesh:2");
    if (modelSpace == nullptr) {
        return RTERROR;
    }
    const CloseOnExit closeModelSpace(modelSpace);

    NewEntity<AcDbPolyFaceMesh> mesh;
    if (!SetLayerReported(*mesh, layer, L"CreatePFaceMesh:3")) {
        return RTERROR;
    }
    if (!mesh.AppendTo(*modelSpace, L"CreatePFaceMesh:4")) {
        return RTERROR;
    }
    AppendHandleText(*mesh, handles);

    for (const geom::CVertex& vertex : vertices) {
        AppendPFaceVertex(*mesh, vertex);
    }
    if (static_cast<std::int64_t>(mesh->numVertices()) !=
        static_cast<std::int64_t>(vertices.size())) {
        ReportStepError(L"CreatePFaceMesh: ", L"Vertex number mismatch!");
        return RTERROR;
    }
    for (const geom::CTriangle& triangle : triangles) {
        AppendFaceRecord(*mesh, triangle.i1 + 1, triangle.i2 + 1, triangle.i3 + 1);
    }
    return RTNORM;
}
