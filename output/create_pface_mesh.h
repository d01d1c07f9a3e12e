// CreatePFaceMesh(triangles, vertices, layer, handles): writes a triangulation into model space as
// one polyface mesh: every vertex of vertices in list order (mesh number = list position + 1), then
// one face record per triangle with corners i1, i2, i3. layer names the mesh's layer (null: the
// host's choice). The new mesh's handle text is appended to handles as soon as the mesh is in the
// drawing.
//
// Gives RTNORM, or RTERROR after a step-error line: "CreatePFaceMesh:1" (block table),
// "CreatePFaceMesh:2" (model space), "CreatePFaceMesh:3" (layer), "CreatePFaceMesh: " with "Vertex
// number mismatch!" when the vertex list is longer than the mesh's 16-bit vertex count can hold
// (more than 32767 vertices), or "CreatePFaceMesh:4" (append). Nothing is left in the drawing
// after a failure.
#pragma once

#include <string>
#include <vector>

#include "geom/kernel/triangle.h"
#include "geom/kernel/vertex.h"

int CreatePFaceMesh(const std::vector<geom::CTriangle>& triangles,
                    const std::vector<geom::CVertex>& vertices, const wchar_t* layer,
                    std::vector<std::wstring>& handles);
