// CreateSplittedSubDMesh(triangles, vertices, layer, maxPoints, handles): writes a triangulation
// (CTriangle records, or plain faces; CVertex records, or plain surface points) into model space as
// subdivision meshes (level 0) of at most maxPoints vertices each (3 <= maxPoints <= 3,000,000).
// Triangles are taken whole and in list order; a mesh takes triangles while it holds fewer than
// maxPoints - 2 vertices. Each mesh holds the vertices its triangles use, numbered from 0 in order
// of first use, so border vertices are repeated in neighbouring meshes and unused vertices are in
// no mesh. layer names the meshes' layer (null: the host's choice). Prints "\n", then announces
// every mesh with "\rMesh %i/min%i will be created..." (its number and the estimated mesh count)
// and appends its handle text to handles once it is in the drawing. No triangles: no mesh.
//
// Gives RTNORM, or RTERROR after a step-error line under the single writer's step names:
// "CreateSubDMesh:getSymbolTable", "CreateSubDMesh:getAt", "CreateSubDMesh:setLayer",
// "CreateSubDMesh:setSubDMesh" (the host threw), "CreateSubDMesh:appendAcDbEntity". Meshes finished
// before a failure stay in the drawing and in handles.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "geom/kernel/triangle.h"
#include "geom/kernel/vertex.h"
#include "geom/surface/surface_mesh.h"
#include "geom/surface/welded_surface.h"

int CreateSplittedSubDMesh(const std::vector<geom::CTriangle>& triangles,
                           const std::vector<geom::CVertex>& vertices, const wchar_t* layer,
                           std::int32_t maxPoints, std::vector<std::wstring>& handles);
int CreateSplittedSubDMesh(const std::vector<geom::MeshFace>& triangles,
                           const std::vector<geom::CVertex>& vertices, const wchar_t* layer,
                           std::int32_t maxPoints, std::vector<std::wstring>& handles);
int CreateSplittedSubDMesh(const std::vector<geom::MeshFace>& triangles,
                           const std::vector<geom::SurfacePoint>& vertices, const wchar_t* layer,
                           std::int32_t maxPoints, std::vector<std::wstring>& handles);
