// Exact checks of what CDelaunay gives, for tests that compare it with the plain list walk.
//
// IncrementalFaults(sorted, triangles): hardgeom::CheckPiece over the sorted point store
// (duplicates included): all zero when the triangles are a valid piece of a Delaunay
// triangulation.
// DelaunayCoveredArea(sorted, corners): for a small set, by brute force, the area that the
// Delaunay triangulation of the points and the three enclosing corners covers once the
// triangles touching a corner are dropped: the sum of the Delaunay polygons (the convex hulls
// of the points on an empty circle) that no corner belongs to.
// TriangleArea(triangles): the sum of the triangles' areas.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

#include "checks/dct_test_support.h"
#include "checks/exact_predicates.h"
#include "checks/hard_geometry_checks.h"
#include "geom/kernel/triangle.h"
#include "geom/kernel/vertex.h"

namespace delaunay_validity {

inline hardgeom::MeshFaults IncrementalFaults(const std::vector<geom::CVertex>& sorted,
                                              const std::vector<geom::CTriangle>& triangles) {
    return hardgeom::CheckPiece(sorted, dcttest::IndexTriples(triangles));
}

inline double TriangleArea(const std::vector<geom::CTriangle>& triangles) {
    double area = 0.0;
    for (const geom::CTriangle& t : triangles) {
        area +=
            0.5 * ((t.p2.x - t.p1.x) * (t.p3.y - t.p1.y) - (t.p2.y - t.p1.y) * (t.p3.x - t.p1.x));
    }
    return area;
}

// Points: the distinct input points followed by the three enclosing corners (the last three).
inline double DelaunayCoveredArea(const std::vector<geom::CVertex>& points) {
    const int m = static_cast<int>(points.size());
    const int firstCorner = m - 3;
    std::vector<std::vector<int>> polygons;
    double area = 0.0;
    for (int i = 0; i < m; ++i) {
        for (int j = i + 1; j < m; ++j) {
            for (int k = j + 1; k < m; ++k) {
                exact::Point a = hardgeom::At(points[i]);
                exact::Point b = hardgeom::At(points[j]);
                exact::Point c = hardgeom::At(points[k]);
                const int orientation = exact::ExactOrient(a, b, c);
                if (orientation == 0) {
                    continue;
                }
                if (orientation < 0) {
                    std::swap(b, c);
                }
                std::vector<int> onCircle;
                bool empty = true;
                for (int q = 0; q < m && empty; ++q) {
                    const int s = exact::ExactInCircle(a, b, c, hardgeom::At(points[q]));
                    if (s > 0) {
                        empty = false;
                    } else if (s == 0) {
                        onCircle.push_back(q);
                    }
                }
                if (!empty || onCircle.back() >= firstCorner ||
                    std::find(polygons.begin(), polygons.end(), onCircle) != polygons.end()) {
                    continue;
                }
                polygons.push_back(onCircle);
                std::vector<geom::CVertex> ring;
                for (const int q : onCircle) {
                    ring.push_back(points[q]);
                }
                std::sort(ring.begin(), ring.end(),
                          [](const geom::CVertex& u, const geom::CVertex& v) {
                              return u.x < v.x || (u.x == v.x && u.y < v.y);
                          });
                const std::vector<int> hull = hardgeom::HullCycle(ring);
                for (std::size_t h = 1; h + 1 < hull.size(); ++h) {
                    const geom::CVertex& p = ring[hull[0]];
                    const geom::CVertex& q = ring[hull[h]];
                    const geom::CVertex& r = ring[hull[h + 1]];
                    area += 0.5 * ((q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x));
                }
            }
        }
    }
    return area;
}

}  // namespace delaunay_validity
