// CreateSubDMesh(triangles, vertices, layer, handles): writes a triangulation (CTriangle records,
// or plain faces; CVertex records, or plain surface points) into model space as one subdivision
// mesh at level 0: the points are the whole vertex list in list order (vertices no triangle uses
// included), the faces the triangles' i1, i2, i3 in list order. The mesh gets the database
// defaults, then layer (null: the host's choice). Prints "\nCreate Mesh ... " first and appends the
// new mesh's handle text to handles.
//
// Gives RTNORM, or RTERROR after a step-error line: "CreateSubDMesh:getSymbolTable",
// "CreateSubDMesh:getAt", "CreateSubDMesh: " with "Vertex number mismatch!",
// "CreateSubDMesh:setLayer", "CreateSubDMesh:setSubDMesh" (the host threw),
// "CreateSubDMesh:appendAcDbEntity". Nothing is left in the drawing on failure.
#pragma once

#include <string>
#include <vector>

#include "geom/kernel/triangle.h"
#include "geom/kernel/vertex.h"
#include "geom/surface/surface_mesh.h"
#include "geom/surface/welded_surface.h"

int CreateSubDMesh(const std::vector<geom::CTriangle>& triangles,
                   const std::vector<geom::CVertex>& vertices, const wchar_t* layer,
                   std::vector<std::wstring>& handles);
int CreateSubDMesh(const std::vector<geom::MeshFace>& triangles,
                   const std::vector<geom::CVertex>& vertices, const wchar_t* layer,
                   std::vector<std::wstring>& handles);
int CreateSubDMesh(const std::vector<geom::MeshFace>& triangles,
                   const std::vector<geom::SurfacePoint>& vertices, const wchar_t* layer,
                   std::vector<std::wstring>& handles);
