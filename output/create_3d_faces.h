// Create3dFaces(faces, layer, handles): writes one 3D face (AcDbFace) per triangle of corners
// into model space, the fourth corner equal to the third, all edges visible, on the layer (null:
// the drawing's current layer). All or nothing (AppendAllOrNone, meter "Writing 3D faces ..."):
// the faces' handle texts are appended to handles in order; a failure erases the faces written so
// far and gives RTERROR after a step line "Create3dFaces:getSymbolTable",
// "Create3dFaces:getAt", "Create3dFaces:setLayer" or "Create3dFaces:appendAcDbEntity".
//
// CreateTriangleFaces(triangles, vertices, layer, handles) and CreateTriangleFacesSplit(...,
// maxPoints, handles): the same for a triangulation's triangles (their corner copies), as the
// single and splitting writers of the mesh functions (triangulate_and_write.h). Each face is an
// entity of its own, so there is nothing to split: maxPoints has no effect.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "arxapi.h"
#include "geom/kernel/triangle.h"
#include "geom/kernel/vertex.h"

using FaceCorners = std::array<AcGePoint3d, 3>;

int Create3dFaces(const std::vector<FaceCorners>& faces, const wchar_t* layer,
                  std::vector<std::wstring>& handles);

int CreateTriangleFaces(const std::vector<geom::CTriangle>& triangles,
                        const std::vector<geom::CVertex>& vertices, const wchar_t* layer,
                        std::vector<std::wstring>& handles);
int CreateTriangleFacesSplit(const std::vector<geom::CTriangle>& triangles,
                             const std::vector<geom::CVertex>& vertices, const wchar_t* layer,
                             std::int32_t maxPoints, std::vector<std::wstring>& handles);
