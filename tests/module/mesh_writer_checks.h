// Shared by the tests of the mesh writers and the mesh functions.
//
// Triangulation: the triangle and vertex lists of the DCT triangulator, as the writers get them;
// Triangulate(points) makes them, ScatteredPoints(count) gives points in general position.
//
// MeshShape: a mesh of the drawing reduced to what the writers decide: its vertex positions in
// mesh order and its faces as triples of mesh numbers from 0 (PolyFaceShape takes polyface face
// records, numbered from 1 with a fourth corner 0; SubDShape takes subdivision faces).
//
// ExpectWholeTriangulation(mesh, triangulation): the mesh holds every vertex of the triangulation
// in its order and one face per triangle, in list order, as the single writers write it.
//
// ExpectSplitByFillingRule(meshes, triangulation, maxPoints): checks that the meshes cut the
// triangulation as the split writers must: every triangle in list order, each mesh numbering its
// vertices in order of first use and holding exactly those; a mesh takes its last triangle while
// it holds fewer than maxPoints - 2 vertices, and only the last mesh may stop below that.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "geom/dct/dct.h"
#include "kafhost/host.h"

struct Triangulation {
    std::vector<geom::CTriangle> triangles;
    std::vector<geom::CVertex> vertices;
};

inline std::vector<kafhost::Point3> ScatteredPoints(std::size_t count, unsigned seed = 7) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> plan(0.0, 1000.0);
    std::uniform_real_distribution<double> height(10.0, 20.0);
    std::vector<kafhost::Point3> points(count);
    for (kafhost::Point3& p : points) {
        p = {plan(random), plan(random), height(random)};
    }
    return points;
}

inline Triangulation Triangulate(const std::vector<kafhost::Point3>& points) {
    geom::CDCT dct;
    for (const kafhost::Point3& p : points) {
        dct.AddPoint(p[0], p[1], p[2]);
    }
    Triangulation result;
    result.triangles = dct.Triangulate();
    result.vertices = dct.GetVertices();
    return result;
}

inline kafhost::Point3 PositionOf(const geom::CVertex& vertex) {
    return {vertex.x, vertex.y, vertex.z};
}

struct MeshShape {
    std::vector<kafhost::Point3> vertices;
    std::vector<std::array<int, 3>> faces;
};

inline MeshShape PolyFaceShape(const kafhost::EntityInfo& mesh) {
    MeshShape shape{mesh.vertices, {}};
    for (const std::vector<int>& record : mesh.faces) {
        EXPECT_EQ(record.size(), 4u);
        EXPECT_EQ(record[3], 0) << "a triangle's face record has no fourth corner";
        shape.faces.push_back({record[0] - 1, record[1] - 1, record[2] - 1});
    }
    return shape;
}

inline MeshShape SubDShape(const kafhost::EntityInfo& mesh) {
    MeshShape shape{mesh.vertices, {}};
    for (const std::vector<int>& face : mesh.faces) {
        EXPECT_EQ(face.size(), 3u);
        shape.faces.push_back({face[0], face[1], face[2]});
    }
    return shape;
}

// The model-space entities of the current drawing, in drawing order.
inline std::vector<kafhost::EntityInfo> ModelSpaceEntities() {
    std::vector<kafhost::EntityInfo> entities;
    for (const kafhost::EntityInfo& entity : kafhost::Host::instance().snapshot().entities) {
        if (entity.space == L"model") {
            entities.push_back(entity);
        }
    }
    return entities;
}

inline void ExpectWholeTriangulation(const MeshShape& mesh, const Triangulation& triangulation) {
    ASSERT_EQ(mesh.vertices.size(), triangulation.vertices.size());
    for (std::size_t v = 0; v < mesh.vertices.size(); ++v) {
        EXPECT_EQ(mesh.vertices[v], PositionOf(triangulation.vertices[v]));
    }
    ASSERT_EQ(mesh.faces.size(), triangulation.triangles.size());
    for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
        const geom::CTriangle& t = triangulation.triangles[f];
        EXPECT_EQ(mesh.faces[f], (std::array<int, 3>{t.i1, t.i2, t.i3}));
    }
}

inline void ExpectSplitByFillingRule(const std::vector<MeshShape>& meshes,
                                     const Triangulation& triangulation, int maxPoints) {
    const std::size_t limit = static_cast<std::size_t>(maxPoints - 2);
    std::size_t next = 0;
    for (std::size_t m = 0; m < meshes.size(); ++m) {
        SCOPED_TRACE("mesh " + std::to_string(m + 1));
        const MeshShape& mesh = meshes[m];
        ASSERT_FALSE(mesh.faces.empty());
        std::map<int, int> numberOf;  // global index -> mesh number, in order of first use
        std::vector<int> globalOf;
        std::size_t countBeforeLast = 0;
        for (const std::array<int, 3>& face : mesh.faces) {
            ASSERT_LT(next, triangulation.triangles.size());
            const geom::CTriangle& triangle = triangulation.triangles[next++];
            countBeforeLast = globalOf.size();
            const int corners[3] = {triangle.i1, triangle.i2, triangle.i3};
            for (int c = 0; c < 3; ++c) {
                if (numberOf.emplace(corners[c], static_cast<int>(globalOf.size())).second) {
                    globalOf.push_back(corners[c]);
                }
                EXPECT_EQ(face[c], numberOf[corners[c]]);
            }
        }
        ASSERT_EQ(mesh.vertices.size(), globalOf.size());
        for (std::size_t v = 0; v < globalOf.size(); ++v) {
            EXPECT_EQ(mesh.vertices[v], PositionOf(triangulation.vertices[globalOf[v]]));
        }
        EXPECT_LT(countBeforeLast, limit) << "the last triangle was taken over the limit";
        EXPECT_LE(mesh.vertices.size(), static_cast<std::size_t>(maxPoints));
        if (m + 1 < meshes.size()) {
            EXPECT_GE(mesh.vertices.size(), limit) << "a mesh stopped below the limit";
        }
    }
    EXPECT_EQ(next, triangulation.triangles.size()) << "triangles left unwritten";
}
