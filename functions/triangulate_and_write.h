// The last steps every mesh-writing function shares.
//
// TriangulateAndWrite(dct, pointCount, maxPoints, layer, writers, timingLine, handles): takes the
// clock, runs Triangulate and GetVertices, prints timingLine ("ready after %f seconds..." style)
// with the whole seconds it took, then writes the triangulation with writers.single when
// pointCount (the points fed in, duplicates included) is at most maxPoints, otherwise with
// writers.split. Gives the writer's status (RTNORM or RTERROR); handles receives the new meshes'
// handle texts. When the triangulation holds no triangle (all points on one line), no writer is
// called: prints "\nNo mesh created: all points lie on one line.\n" and gives RTNORM with handles
// unchanged. A triangulator failure passes out as its const char* text, before anything is
// printed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "geom/dct/dct.h"
#include "geom/kernel/triangle.h"
#include "geom/kernel/vertex.h"
#include "host/clock.h"

using SingleMeshWriter = int (*)(const std::vector<geom::CTriangle>&,
                                 const std::vector<geom::CVertex>&, const wchar_t*,
                                 std::vector<std::wstring>&);
using SplitMeshWriter = int (*)(const std::vector<geom::CTriangle>&,
                                const std::vector<geom::CVertex>&, const wchar_t*, std::int32_t,
                                std::vector<std::wstring>&);

struct MeshWriters {
    SingleMeshWriter single;
    SplitMeshWriter split;
};

// WriteTriangulation(triangles, vertices, start, ...): the steps after the triangulator's run,
// which began at the clock reading start: the timing line, then the writer.
int WriteTriangulation(const std::vector<geom::CTriangle>& triangles,
                       const std::vector<geom::CVertex>& vertices, std::int32_t start,
                       std::int32_t pointCount, std::int32_t maxPoints, const wchar_t* layer,
                       const MeshWriters& writers, const wchar_t* timingLine,
                       std::vector<std::wstring>& handles);

// Works with CDCT and with CConstrainedDCT.
template <typename Triangulator>
int TriangulateAndWrite(Triangulator& dct, std::int32_t pointCount, std::int32_t maxPoints,
                        const wchar_t* layer, const MeshWriters& writers, const wchar_t* timingLine,
                        std::vector<std::wstring>& handles) {
    const std::int32_t start = ReadClock();
    const std::vector<geom::CTriangle> triangles = dct.Triangulate();
    const std::vector<geom::CVertex> vertices = dct.GetVertices();
    return WriteTriangulation(triangles, vertices, start, pointCount, maxPoints, layer, writers,
                              timingLine, handles);
}
