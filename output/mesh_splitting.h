// How the split writers cut a triangulation into meshes of bounded vertex count.
//
// MeshCountEstimate(vertexCount, maxPoints): the number of meshes a split writer announces, the
// vertex count divided by maxPoints - 2, rounded up, in unsigned arithmetic (maxPoints >= 3). It is
// a lower estimate when meshes repeat their border vertices.
//
// MeshVertexNumbering(vertexCount): the numbers that the vertices of a triangulation get inside
// the mesh being filled, for vertex lists of vertexCount vertices. BeginMesh() starts a new mesh
// with no vertex numbered. Number(globalIndex, isNew) gives the global vertex's number within the
// current mesh (from 0); a vertex not used before in this mesh gets the next number and isNew is
// set. Count() is the number of vertices the current mesh holds. Lookups take constant time:
// every global index keeps its number with the mesh generation that gave it, so starting a mesh
// forgets all numbers at once without clearing anything.
//
// FillMesh(triangles, next, limit, numbering, onNewVertex, onFace): fills one mesh of a split
// triangulation (CTriangle records, or any faces with i1, i2, i3), starting at triangles[next], and
// gives the position after the last triangle taken. Triangles are taken whole and in list order
// while the mesh holds fewer than limit vertices, the test made before each triangle; so a mesh
// gets at least one triangle (limit >= 1) and at most limit + 2 vertices. The mesh starts with no
// vertices (numbering.BeginMesh()). For each triangle, its corners i1, i2, i3 are numbered in that
// order; onNewVertex(globalIndex) is called for each vertex the first time the mesh uses it, so
// vertex numbers follow the order of first use. Then onFace(a, b, c) gets the mesh numbers (from 0)
// of i1, i2 and i3.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "geom/kernel/triangle.h"

inline std::uint32_t MeshCountEstimate(std::size_t vertexCount, std::int32_t maxPoints) {
    const std::uint32_t count = static_cast<std::uint32_t>(vertexCount);
    const std::uint32_t limit = static_cast<std::uint32_t>(maxPoints - 2);
    return count / limit + (count % limit != 0 ? 1 : 0);
}

class MeshVertexNumbering {
public:
    explicit MeshVertexNumbering(std::size_t vertexCount);

    void BeginMesh();

    std::int32_t Number(std::int32_t globalIndex, bool& isNew) {
        Entry& entry = entries_[static_cast<std::size_t>(globalIndex)];
        isNew = entry.generation != generation_;
        if (isNew) {
            entry.generation = generation_;
            entry.number = count_++;
        }
        return entry.number;
    }

    std::int32_t Count() const { return count_; }

private:
    struct Entry {
        std::uint32_t generation = 0;
        std::int32_t number = 0;
    };
    std::vector<Entry> entries_;
    std::uint32_t generation_ = 0;
    std::int32_t count_ = 0;
};

template <typename Triangle, typename OnNewVertex, typename OnFace>
std::size_t FillMesh(const std::vector<Triangle>& triangles, std::size_t next, std::int32_t limit,
                     MeshVertexNumbering& numbering, OnNewVertex&& onNewVertex, OnFace&& onFace) {
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
        const Triangle& triangle = triangles[next];
        const std::int32_t a = numberOf(triangle.i1);
        const std::int32_t b = numberOf(triangle.i2);
        const std::int32_t c = numberOf(triangle.i3);
        onFace(a, b, c);
        ++next;
    }
    return next;
}
