#include "output/create_splitted_subd_mesh.h"

#include <vector>

#include "arxapi.h"
#include "host/pump_messages.h"
#include "output/close_on_exit.h"
#include "output/mesh_splitting.h"
#include "output/writer_steps.h"

namespace {

// points = the surface points of vertices[used[0]], vertices[used[1]], ... in that order.
template <typename Vertex>
void GatherPoints(const std::vector<Vertex>& vertices, const std::vector<std::int32_t>& used,
                  AcGePoint3dArray& points) {
    points.removeAll();
    for (const std::int32_t index : used) {
        const Vertex& vertex = vertices[static_cast<std::size_t>(index)];
        points.append(AcGePoint3d(vertex.x, vertex.y, vertex.z));
    }
}

template <typename Triangle, typename Vertex>
int Write(const std::vector<Triangle>& triangles, const std::vector<Vertex>& vertices,
          const wchar_t* layer, std::int32_t maxPoints, std::vector<std::wstring>& handles) {
    AcDbBlockTableRecord* modelSpace =
        OpenModelSpaceForWrite(L"CreateSubDMesh:getSymbolTable", L"CreateSubDMesh:getAt");
    if (modelSpace == nullptr) {
        return RTERROR;
    }
    const CloseOnExit closeModelSpace(modelSpace);

    const std::uint32_t estimate = MeshCountEstimate(vertices.size(), maxPoints);
    acutPrintf(L"\n");
    MeshVertexNumbering numbering(vertices.size());
    // The mesh's vertices by global index in order of first use, gathered into points after the
    // mesh is filled: the gather's loads do not wait on each other or on the numbering's branches,
    // so the cache misses of a scattered vertex list overlap.
    std::vector<std::int32_t> used;
    AcGePoint3dArray points;
    AcArray<Adesk::Int32> faces;
    std::size_t next = 0;
    int meshNumber = 0;
    while (next < triangles.size()) {
        NewEntity<AcDbSubDMesh> mesh;
        used.clear();
        faces.removeAll();
        if (!SetLayerReported(*mesh, layer, L"CreateSubDMesh:setLayer")) {
            return RTERROR;
        }
        ++meshNumber;
        PumpMessagesThrottled();
        acutPrintf(L"\rMesh %i/min%i will be created...", meshNumber, static_cast<int>(estimate));

        next = FillMesh(
            triangles, next, maxPoints - 2, numbering,
            [&](std::int32_t globalIndex) { used.push_back(globalIndex); },
            [&](std::int32_t a, std::int32_t b, std::int32_t c) {
                faces.append(3);
                faces.append(a);
                faces.append(b);
                faces.append(c);
            });
        GatherPoints(vertices, used, points);

        PumpMessagesThrottled();
        if (!FinishSubDMesh(mesh, points, faces, *modelSpace, handles)) {
            return RTERROR;
        }
    }
    return RTNORM;
}

}  // namespace

int CreateSplittedSubDMesh(const std::vector<geom::CTriangle>& triangles,
                           const std::vector<geom::CVertex>& vertices, const wchar_t* layer,
                           std::int32_t maxPoints, std::vector<std::wstring>& handles) {
    return Write(triangles, vertices, layer, maxPoints, handles);
}

int CreateSplittedSubDMesh(const std::vector<geom::MeshFace>& triangles,
                           const std::vector<geom::CVertex>& vertices, const wchar_t* layer,
                           std::int32_t maxPoints, std::vector<std::wstring>& handles) {
    return Write(triangles, vertices, layer, maxPoints, handles);
}

int CreateSplittedSubDMesh(const std::vector<geom::MeshFace>& triangles,
                           const std::vector<geom::SurfacePoint>& vertices, const wchar_t* layer,
                           std::int32_t maxPoints, std::vector<std::wstring>& handles) {
    return Write(triangles, vertices, layer, maxPoints, handles);
}
