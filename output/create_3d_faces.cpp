#include "output/create_3d_faces.h"

#include <memory>

#include "output/append_all_or_none.h"
#include "output/writer_steps.h"

namespace {

constexpr const wchar_t* kMeterLabel = L"Writing 3D faces ...";

AcGePoint3d ToPoint(const geom::CVertex& vertex) {
    return AcGePoint3d(vertex.x, vertex.y, vertex.z);
}

}  // namespace

int Create3dFaces(const std::vector<FaceCorners>& faces, const wchar_t* layer,
                  std::vector<std::wstring>& handles) {
    return AppendAllOrNone(
        faces.size(), kMeterLabel, L"Create3dFaces",
        [&](std::size_t i) -> std::unique_ptr<AcDbEntity> {
            auto face = std::make_unique<AcDbFace>(faces[i][0], faces[i][1], faces[i][2], true,
                                                   true, true, true);
            face->setDatabaseDefaults();
            if (!SetLayerReported(*face, layer, L"Create3dFaces:setLayer")) {
                face.reset();
            }
            return face;
        },
        handles);
}

int CreateTriangleFaces(const std::vector<geom::CTriangle>& triangles,
                        const std::vector<geom::CVertex>& /*vertices*/, const wchar_t* layer,
                        std::vector<std::wstring>& handles) {
    std::vector<FaceCorners> faces;
    faces.reserve(triangles.size());
    for (const geom::CTriangle& triangle : triangles) {
        faces.push_back(
            FaceCorners{ToPoint(triangle.p1), ToPoint(triangle.p2), ToPoint(triangle.p3)});
    }
    return Create3dFaces(faces, layer, handles);
}

int CreateTriangleFacesSplit(const std::vector<geom::CTriangle>& triangles,
                             const std::vector<geom::CVertex>& vertices, const wchar_t* layer,
                             std::int32_t /*maxPoints*/, std::vector<std::wstring>& handles) {
    return CreateTriangleFaces(triangles, vertices, layer, handles);
}
