// Helpers shared by the CDCT tests.
//
// ExpectedVertices(points): the vertex list a triangulation of the points must have: the points in
// the order of SortPoints (whose order of equal positions sort_points_test holds to the merge
// sort's), each run of equal positions given by its last point.
// TriangulateAll(points): feeds (x, y, z) points to a CDCT in the given order and gives the
// triangles and the vertex list, or the text of the failure thrown.
// RecordOf(v), Records(vertices): every field (x, y, z, w) of records, for comparing them whole.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "geom/dct/dct.h"
#include "geom/kernel/geometry_error.h"
#include "geom/kernel/sort_points.h"

namespace dcttest {

inline std::vector<geom::CVertex> ExpectedVertices(std::vector<geom::CVertex> points) {
    std::vector<geom::CVertex> scratch(points.size());
    geom::SortPoints(points.data(), scratch.data(), 0,
                     static_cast<std::int32_t>(points.size()) - 1);
    std::vector<geom::CVertex> survivors;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (i + 1 < points.size() && points[i] == points[i + 1]) {
            continue;
        }
        survivors.push_back(points[i]);
    }
    return survivors;
}

struct Triangulation {
    std::vector<geom::CTriangle> triangles;
    std::vector<geom::CVertex> vertices;
    std::string failure;  // the text thrown, empty when Triangulate succeeded
};

inline Triangulation TriangulateAll(const std::vector<geom::CVertex>& points) {
    Triangulation run;
    geom::CDCT dct;
    for (const geom::CVertex& p : points) {
        dct.AddPoint(p.x, p.y, p.z);
    }
    try {
        run.triangles = dct.Triangulate();
    } catch (const geom::GeometryError& error) {
        run.failure = error.what();
        return run;
    }
    run.vertices = dct.GetVertices();
    return run;
}

using Record = std::array<double, 4>;

inline Record RecordOf(const geom::CVertex& v) {
    return {v.x, v.y, v.z, static_cast<double>(v.w)};
}

inline std::vector<Record> Records(const std::vector<geom::CVertex>& vertices) {
    std::vector<Record> records;
    for (const geom::CVertex& v : vertices) {
        records.push_back(RecordOf(v));
    }
    return records;
}

using Corners = std::array<int, 3>;

inline std::vector<Corners> IndexTriples(const std::vector<geom::CTriangle>& triangles) {
    std::vector<Corners> triples;
    for (const geom::CTriangle& t : triangles) {
        triples.push_back({t.i1, t.i2, t.i3});
    }
    return triples;
}

}  // namespace dcttest
