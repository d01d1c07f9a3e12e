// Helpers shared by the CDCT tests.
//
// ReferenceMergeSort(points, scratch, first, last): the point sort written out plainly (top-down
// merge sort, right-hand record taken unless the left one is strictly smaller, right half read
// from its far end); the oracle for SortPoints and for which point of a position survives.
// TriangulateAll(points): feeds (x, y, z) points to a CDCT in the given order and gives the
// triangles and the vertex list, or the text of the failure thrown.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "geom/dct.h"

namespace dcttest {

inline void ReferenceMergeSort(std::vector<geom::CVertex>& points,
                               std::vector<geom::CVertex>& scratch, std::int32_t first,
                               std::int32_t last) {
    if (last - first < 1) {
        return;
    }
    const std::int32_t mid = (first + last) / 2;
    ReferenceMergeSort(points, scratch, first, mid);
    ReferenceMergeSort(points, scratch, mid + 1, last);
    for (std::int32_t k = first; k <= mid; ++k) {
        scratch[k] = points[k];
    }
    for (std::int32_t k = mid + 1; k <= last; ++k) {
        scratch[last + mid + 1 - k] = points[k];
    }
    std::int32_t i = first;
    std::int32_t j = last;
    for (std::int32_t k = first; k <= last; ++k) {
        const geom::CVertex left = scratch[i];
        const geom::CVertex right = scratch[j];
        if (right.x > left.x || (right.x == left.x && right.y > left.y)) {
            points[k] = left;
            ++i;
        } else {
            points[k] = right;
            --j;
        }
    }
}

// The vertex list a triangulation of `points` must have: the points sorted by the reference
// sort, each run of equal positions given by its last point.
inline std::vector<geom::CVertex> ExpectedVertices(std::vector<geom::CVertex> points) {
    std::vector<geom::CVertex> scratch(points.size());
    ReferenceMergeSort(points, scratch, 0, static_cast<std::int32_t>(points.size()) - 1);
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
    } catch (const char* text) {
        run.failure = text;
        return run;
    }
    run.vertices = dct.GetVertices();
    return run;
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
