#include "output/create_splitted_pface_mesh.h"

#include <array>

#include "arxapi.h"
#include "host/pump_messages.h"
#include "output/close_on_exit.h"
#include "output/mesh_splitting.h"
#include "output/writer_steps.h"

int CreateSplittedPFaceMesh(const std::vector<geom::CTriangle>& triangles,
                            const std::vector<geom::CVertex>& vertices, const wchar_t* layer,
                            std::int32_t maxPoints, std::vector<std::wstring>& handles) {
    AcDbBlockTableRecord* modelSpace =
        OpenModelSpaceForWrite(L"CreateSplittedPFaceMesh:1", L"CreateSplittedPFaceMesh:2");
    if (modelSpace == nullptr) {
        return RTERROR;
    }
    const CloseOnExit closeModelSpace(modelSpace);

    const std::int32_t limit = maxPoints - 2;
    const std::uint32_t estimate = MeshCountEstimate(vertices.size(), maxPoints);
    MeshVertexNumbering numbering(vertices.size());
    // Face records follow all vertices of their mesh, so the faces of a mesh wait here.
    std::vector<std::array<std::int32_t, 3>> faces;
    std::size_t next = 0;
    int meshNumber = 0;
    while (next < triangles.size()) {
        NewEntity<AcDbPolyFaceMesh> mesh;
        if (!SetLayerReported(*mesh, layer, L"CreateSplittedPFaceMesh:3")) {
            return RTERROR;
        }
        ++meshNumber;
        PumpMessagesThrottled();
        acutPrintf(L"\rPolyFaceMesh %i/min%i will be created...", meshNumber,
                   static_cast<int>(estimate));
        if (!mesh.AppendTo(*modelSpace, L"CreateSplittedPFaceMesh:4")) {
            return RTERROR;
        }
        AppendHandleText(*mesh, handles);

        faces.clear();
        next = FillMesh(
            triangles, next, limit, numbering,
            [&](std::int32_t globalIndex) {
                AppendPFaceVertex(*mesh, vertices[static_cast<std::size_t>(globalIndex)]);
            },
            [&](std::int32_t a, std::int32_t b, std::int32_t c) {
                faces.push_back({a, b, c});
            });
        for (const std::array<std::int32_t, 3>& face : faces) {
            AppendFaceRecord(*mesh, face[0] + 1, face[1] + 1, face[2] + 1);
        }
    }
    return RTNORM;
}
