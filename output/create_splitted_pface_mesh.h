// CreateSplittedPFaceMesh(triangles, vertices, layer, maxPoints, handles): writes a triangulation
// into model space as polyface meshes of at most maxPoints vertices each (3 <= maxPoints <= 32767).
// Triangles are taken whole and in list order; a mesh takes triangles while it holds fewer than
// maxPoints - 2 vertices. Each mesh holds the vertices its triangles use, numbered from 1 in order
// of first use, so border vertices are repeated in neighbouring meshes. layer names the meshes'
// layer (null: the host's choice). Every mesh is announced with "\rPolyFaceMesh %i/min%i will be
// created..." (its number and the estimated mesh count) and its handle text is appended to
// handles once it is in the drawing. No triangles: no mesh.
//
// Gives RTNORM, or RTERROR after a step-error line: "CreateSplittedPFaceMesh:1" (block table),
// ":2" (model space), ":3" (layer), ":4" (append). Meshes finished before a failure stay in the
// drawing and in handles.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "geom/kernel/triangle.h"
#include "geom/kernel/vertex.h"

int CreateSplittedPFaceMesh(const std::vector<geom::CTriangle>& triangles,
                            const std::vector<geom::CVertex>& vertices, const wchar_t* layer,
                            std::int32_t maxPoints, std::vector<std::wstring>& handles);
