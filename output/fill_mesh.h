// FillMesh(triangles, next, limit, numbering, onNewVertex, onFace): fills one mesh of a split
// triangulation, starting at triangles[next], and gives the position after the last triangle
// taken. Triangles are taken whole and in list order while the mesh holds fewer than limit
// vertices, the test made before each triangle; so a mesh gets at least one triangle (limit >= 1)
// and at most limit + 2 vertices.
//
// The mesh starts with no vertices (numbering.BeginMesh()). For each triangle, its corners i1, i2,
// i3 are numbered in that order; onNewVertex(globalIndex) is called for each vertex the first time
// the mesh uses it, so vertex numbers follow the order of first use. Then onFace(a, b, c) gets the
// mesh numbers (from 0) of i1, i2 and i3.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "geom/triangle.h"
#include "output/mesh_vertex_numbering.h"

template <typename OnNewVertex, typename OnFace>
std::size_t FillMesh(const std::vector<geom::CTriangle>& triangles, std::size_t next,
                     std::int32_t limit, MeshVertexNumbering& numbering, OnNewVertex&& onNewVertex,
                     OnFace&& onFace) {
    numbering.BeginMesh();
    const auto numberOf = [&numbering, &onNewVertex](std::int32_t globalIndex) {
        bool isNew = false;
        const std::int32_t number = numbering.Number(globalIndex, isNew);
        if (isNew) {
            onNewVertex(globalIndex);
        }
        return number;
    };
    while (next < triangles.size() && numbering.Count() < limit) {
        const geom::CTriangle& triangle = triangles[next];
        const std::int32_t a = numberOf(triangle.i1);
        const std::int32_t b = numberOf(triangle.i2);
        const std::int32_t c = numberOf(triangle.i3);
        onFace(a, b, c);
        ++next;
    }
    return next;
}
