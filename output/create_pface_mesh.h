// CreatePFaceMesh(triangles, vertices, layer, handles): writes a triangulation into model space as
// one polyface mesh: every vertex of vertices in list order (mesh number = list position + 1), then
// one face record per triangle with corners i1, i2, i3. layer names the mesh's layer (null: the
// host's choice). The new mesh's handle text is appended to handles as soon as the mesh is in the
// drawing.
//
// Gives RTNORM, or RTERROR after a step-error line: "CreatePFaceMesh:1" (block table),
// "CreatePFaceMesh:2" (model space), "CreatePFaceMesh:3" (layer), "CreatePFaceMesh:4" (append), or
// "CreatePFaceMesh: " with "Vertex number mismatch!" when the mesh's 16-bit vertex count differs
// from the vertex list's length (more than 32767 vertices); that mesh then stays in the drawing
// with its vertices and no faces, and its handle stays in handles.
#pragma once

#include <string>
#include <vector>

#include "geom/triangle.h"
#include "geom/vertex.h"

int CreatePFaceMesh(const std::vector<geom::CTriangle>& triangles,
                    const std::vector<geom::CVertex>& vertices, const wchar_t* layer,
                    std::vector<std::wstring>& handles);
