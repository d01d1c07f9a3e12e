// Exact checks of triangle lists on hard point sets.
//
// CountOverlaps(corners, triangles, enough): the pairs of triangles whose interiors meet (counted
// up to `enough`, where the count stops), decided with
// exact orientation tests (two triangles' interiors are apart exactly when one edge of one of
// them has the other wholly on its outer side or on its line). Flat triangles have no interior.
// CheckPiece(vertices, triangles, fixed): the faults of a triangle list that is to be a piece of a
// (constrained) Delaunay triangulation, counted by kind: three distinct corners in range, every
// triangle counter-clockwise and not flat, no directed edge twice, no two triangles overlapping,
// every shared edge not in `fixed` locally Delaunay and, without fixed edges and for up to 600
// vertices, no vertex strictly inside any triangle's circle.
// CheckTriangulation(vertices, triangles): CheckPiece, and for a list that is to triangulate the
// convex hull of `vertices` (distinct, sorted by x then y, not all on one line) in the order of
// the sorted triangulators (each triangle's first corner its lowest, triangles grouped by it in
// ascending order): the edges used once exactly the hull's boundary run counter-clockwise, and
// the triangle count 2n - h - 2 (h the vertices on the hull's boundary). With no repeated edge
// these mean that the triangles cover the hull once: no overlap and no gap.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <ostream>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "exact_predicates.h"
#include "geom/kernel/triangle.h"
#include "geom/kernel/vertex.h"

namespace hardgeom {

using Corners = std::array<int, 3>;

inline exact::Point At(const geom::CVertex& v) {
    return {v.x, v.y};
}

inline bool AllOnOneLine(const std::vector<geom::CVertex>& vertices) {
    for (std::size_t k = 2; k < vertices.size(); ++k) {
        if (exact::ExactOrient(At(vertices[0]), At(vertices[1]), At(vertices[k])) != 0) {
            return false;
        }
    }
    return true;
}

inline std::size_t CountOverlaps(const std::vector<geom::CVertex>& points,
                                 const std::vector<Corners>& triangles, std::size_t enough = 100) {
    struct Box {
        double xMin, xMax, yMin, yMax;
        Corners c;  // counter-clockwise
    };
    std::vector<Box> boxes;
    for (Corners c : triangles) {
        const int orientation =
            exact::ExactOrient(At(points[c[0]]), At(points[c[1]]), At(points[c[2]]));
        if (orientation == 0) {
            continue;
        }
        if (orientation < 0) {
            std::swap(c[1], c[2]);
        }
        Box box{points[c[0]].x, points[c[0]].x, points[c[0]].y, points[c[0]].y, c};
        for (const int k : c) {
            box.xMin = std::min(box.xMin, points[k].x);
            box.xMax = std::max(box.xMax, points[k].x);
            box.yMin = std::min(box.yMin, points[k].y);
            box.yMax = std::max(box.yMax, points[k].y);
        }
        boxes.push_back(box);
    }
    std::sort(boxes.begin(), boxes.end(),
              [](const Box& a, const Box& b) { return a.xMin < b.xMin; });
    // One triangle's edge (from a to b) has the other on its outer side or on its line.
    auto separates = [&](const Corners& one, const Corners& other) {
        for (int e = 0; e < 3; ++e) {
            const exact::Point a = At(points[one[e]]);
            const exact::Point b = At(points[one[(e + 1) % 3]]);
            bool allOutside = true;
            for (const int k : other) {
                if (exact::ExactOrient(a, b, At(points[k])) > 0) {
                    allOutside = false;
                    break;
                }
            }
            if (allOutside) {
                return true;
            }
        }
        return false;
    };
    std::size_t overlaps = 0;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        for (std::size_t j = i + 1; j < boxes.size() && boxes[j].xMin < boxes[i].xMax; ++j) {
            if (boxes[j].yMin >= boxes[i].yMax || boxes[i].yMin >= boxes[j].yMax) {
                continue;
            }
            if (!separates(boxes[i].c, boxes[j].c) && !separates(boxes[j].c, boxes[i].c) &&
                ++overlaps == enough) {
                return overlaps;
            }
        }
    }
    return overlaps;
}

// The boundary of the convex hull, counter-clockwise, with the vertices inside its edges.
inline std::vector<int> HullCycle(const std::vector<geom::CVertex>& sorted) {
    std::vector<int> lower;
    std::vector<int> upper;
    const int n = static_cast<int>(sorted.size());
    auto extend = [&](std::vector<int>& chain, int k) {
        while (chain.size() >= 2 &&
               exact::ExactOrient(At(sorted[chain[chain.size() - 2]]), At(sorted[chain.back()]),
                                  At(sorted[k])) < 0) {
            chain.pop_back();
        }
        chain.push_back(k);
    };
    for (int k = 0; k < n; ++k) {
        extend(lower, k);
    }
    for (int k = n - 1; k >= 0; --k) {
        extend(upper, k);
    }
    lower.pop_back();
    upper.pop_back();
    lower.insert(lower.end(), upper.begin(), upper.end());
    return lower;
}

struct MeshFaults {
    std::size_t badCorners = 0;  // an index out of range or twice in one triangle
    std::size_t notCounterClockwise = 0;
    std::size_t badOrder = 0;         // first corner not the lowest, or out of ascending order
    std::size_t repeatedEdges = 0;    // a directed edge in two triangles
    std::size_t boundaryOffHull = 0;  // edges used once that are not hull edges, and the reverse
    std::size_t countMismatch = 0;    // |triangles - (2n - h - 2)|
    std::size_t overlaps = 0;
    std::size_t notDelaunay = 0;        // edges with a vertex inside the opposite triangle's circle
    std::size_t pointsInCircles = 0;    // vertices strictly inside a triangle's circle
    std::size_t constraintMissing = 0;  // pieces of constraint segments that are no edge

    auto Tied() const {
        return std::tie(badCorners, notCounterClockwise, badOrder, repeatedEdges, boundaryOffHull,
                        countMismatch, overlaps, notDelaunay, pointsInCircles, constraintMissing);
    }
    bool operator==(const MeshFaults& other) const { return Tied() == other.Tied(); }
    bool Valid() const { return *this == MeshFaults{}; }
};

inline std::ostream& operator<<(std::ostream& out, const MeshFaults& f) {
    return out << f.badCorners << " bad corners, " << f.notCounterClockwise
               << " clockwise or flat, " << f.badOrder << " out of order, " << f.repeatedEdges
               << " repeated edges, " << f.boundaryOffHull << " boundary edges off the hull, "
               << f.countMismatch << " triangles too many or too few, " << f.overlaps
               << " overlaps, " << f.notDelaunay << " not Delaunay, " << f.pointsInCircles
               << " points in circles, " << f.constraintMissing << " constraint pieces missing";
}

// The triangles with three distinct corners in range; counts the others as bad, and those of the
// usable ones that do not run counter-clockwise.
inline std::vector<Corners> UsableCorners(const std::vector<geom::CVertex>& vertices,
                                          const std::vector<Corners>& triangles,
                                          std::size_t& badCorners,
                                          std::size_t& notCounterClockwise) {
    const int n = static_cast<int>(vertices.size());
    std::vector<Corners> usable;
    for (const Corners& c : triangles) {
        const bool inRange =
            c[0] >= 0 && c[0] < n && c[1] >= 0 && c[1] < n && c[2] >= 0 && c[2] < n;
        if (!inRange || c[0] == c[1] || c[1] == c[2] || c[0] == c[2]) {
            ++badCorners;
            continue;
        }
        usable.push_back(c);
        if (exact::ExactOrient(At(vertices[c[0]]), At(vertices[c[1]]), At(vertices[c[2]])) <= 0) {
            ++notCounterClockwise;
        }
    }
    return usable;
}

// Over the usable triangles' directed edges: counts the edges used twice and the shared edges not
// in `fixed` (pairs lower index first) that are not locally Delaunay (a corner opposite the edge
// strictly inside the circle of the triangle on its other side); gives the edges used once, the
// boundary of the triangles.
inline std::set<std::pair<int, int>> CheckEdges(const std::vector<geom::CVertex>& vertices,
                                                const std::vector<Corners>& usable,
                                                const std::set<std::pair<int, int>>& fixed,
                                                MeshFaults& faults) {
    // Directed edge (a, b) -> the corner opposite it.
    std::vector<std::pair<std::pair<int, int>, int>> directed;
    for (const Corners& c : usable) {
        for (int k = 0; k < 3; ++k) {
            directed.push_back({{c[k], c[(k + 1) % 3]}, c[(k + 2) % 3]});
        }
    }
    std::sort(directed.begin(), directed.end());
    auto find = [&](int a, int b) {
        const auto it = std::lower_bound(directed.begin(), directed.end(),
                                         std::make_pair(std::make_pair(a, b), -1));
        return it != directed.end() && it->first == std::make_pair(a, b) ? it : directed.end();
    };
    std::set<std::pair<int, int>> boundary;
    for (std::size_t k = 0; k < directed.size(); ++k) {
        const auto& edge = directed[k].first;
        if (k > 0 && directed[k - 1].first == edge) {
            ++faults.repeatedEdges;
            continue;
        }
        const auto twin = find(edge.second, edge.first);
        if (twin == directed.end()) {
            boundary.insert(edge);
        } else if (edge.first < edge.second && fixed.count(edge) == 0) {
            const exact::Point a = At(vertices[edge.first]);
            const exact::Point b = At(vertices[edge.second]);
            const exact::Point c = At(vertices[directed[k].second]);
            const exact::Point d = At(vertices[twin->second]);
            if (exact::ExactInCircle(a, b, c, d) > 0 || exact::ExactInCircle(b, a, d, c) > 0) {
                ++faults.notDelaunay;
            }
        }
    }
    return boundary;
}

inline MeshFaults CheckPiece(const std::vector<geom::CVertex>& vertices,
                             const std::vector<Corners>& triangles,
                             const std::set<std::pair<int, int>>& fixed = {},
                             std::set<std::pair<int, int>>* boundary = nullptr) {
    MeshFaults faults;
    const std::vector<Corners> usable =
        UsableCorners(vertices, triangles, faults.badCorners, faults.notCounterClockwise);
    const std::set<std::pair<int, int>> open = CheckEdges(vertices, usable, fixed, faults);
    if (boundary != nullptr) {
        *boundary = open;
    }
    faults.overlaps = CountOverlaps(vertices, usable);
    if (fixed.empty() && vertices.size() <= 600) {
        for (const Corners& c : usable) {
            for (const geom::CVertex& q : vertices) {
                if (exact::ExactInCircle(At(vertices[c[0]]), At(vertices[c[1]]), At(vertices[c[2]]),
                                         At(q)) > 0) {
                    ++faults.pointsInCircles;
                }
            }
        }
    }
    return faults;
}

// Triangles whose first corner is not their lowest, or that do not follow the ascending order of
// the first corners.
inline std::size_t CountBadOrder(const std::vector<Corners>& triangles) {
    std::size_t bad = 0;
    int previous = 0;
    for (const Corners& c : triangles) {
        if (!(c[0] < c[1] && c[0] < c[2]) || c[0] < previous) {
            ++bad;
        }
        previous = c[0];
    }
    return bad;
}

inline MeshFaults CheckTriangulation(const std::vector<geom::CVertex>& vertices,
                                     const std::vector<Corners>& triangles) {
    std::set<std::pair<int, int>> boundary;
    MeshFaults faults = CheckPiece(vertices, triangles, {}, &boundary);
    faults.badOrder = CountBadOrder(triangles);
    const std::vector<int> hull = HullCycle(vertices);
    std::size_t hullEdgesFound = 0;
    for (std::size_t k = 0; k < hull.size(); ++k) {
        if (boundary.count({hull[k], hull[(k + 1) % hull.size()]}) != 0) {
            ++hullEdgesFound;
        }
    }
    faults.boundaryOffHull = (hull.size() - hullEdgesFound) + (boundary.size() - hullEdgesFound);
    const std::size_t expected = 2 * vertices.size() - hull.size() - 2;
    faults.countMismatch =
        triangles.size() > expected ? triangles.size() - expected : expected - triangles.size();
    return faults;
}

}  // namespace hardgeom
