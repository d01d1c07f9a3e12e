#include "output/create_pface_mesh.h"

#include <cstddef>

#include "arxapi.h"
#include "host/error_lines.h"
#include "output/close_on_exit.h"
#include "output/writer_steps.h"

namespace {

constexpr int kMaxPolyFaceMeshVertices = 32767;

}  // namespace

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
    // The mesh counts its vertices in 16 bits: more would not match its count. Nothing is appended
    // then, so that no mesh of vertices without faces is left in the drawing.
    if (vertices.size() > static_cast<std::size_t>(kMaxPolyFaceMeshVertices)) {
        ReportStepError(L"CreatePFaceMesh: ", L"Vertex number mismatch!");
        return RTERROR;
    }
    if (!mesh.AppendTo(*modelSpace, L"CreatePFaceMesh:4")) {
        return RTERROR;
    }
    AppendHandleText(*mesh, handles);

    for (const geom::CVertex& vertex : vertices) {
        AppendPFaceVertex(*mesh, vertex);
    }
    for (const geom::CTriangle& triangle : triangles) {
        AppendFaceRecord(*mesh, triangle.i1 + 1, triangle.i2 + 1, triangle.i3 + 1);
    }
    return RTNORM;
}
