#include "delaunay_oracle.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "geom/incremental/delaunay_circumcircle.h"
#include "geom/kernel/edge.h"

namespace delaunay_oracle {

namespace {

using geom::CEdge;
using geom::CTriangle;
using geom::CVertex;

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool SameVertex(const CVertex& a, const CVertex& b) {
    return SameBits(a.x, b.x) && SameBits(a.y, b.y) && SameBits(a.z, b.z) && a.w == b.w;
}

bool InCircumcircle(const CVertex& p, CTriangle& t, const CVertex* points, double tolerance) {
    if (t.circleKnown) {
        return geom::CircleHolds(p, t.xc, t.yc, t.r * t.r);
    }
    double xc, yc, rsqr;
    if (!geom::ComputeCircumcircle(points[t.i1], points[t.i2], points[t.i3], tolerance, xc, yc,
                                   rsqr)) {
        return false;
    }
    t.xc = xc;
    t.yc = yc;
    t.r = std::sqrt(rsqr);
    t.circleKnown = 1;
    return geom::CircleHolds(p, xc, yc, rsqr);
}

// For each live edge in list order, the first later edge joining the same two points cancels it.
void CancelSharedEdges(std::vector<CEdge>& edges) {
    for (std::size_t j = 0; j + 1 < edges.size(); ++j) {
        CEdge& a = edges[j];
        if (a.i1 == -1 || a.i2 == -1) {
            continue;
        }
        for (std::size_t k = j + 1; k < edges.size(); ++k) {
            CEdge& b = edges[k];
            if ((a.i1 == b.i2 && a.i2 == b.i1) || (a.i1 == b.i1 && a.i2 == b.i2)) {
                a = CEdge(-1, -1);
                b = CEdge(-1, -1);
                break;
            }
        }
    }
}

}  // namespace

void PlainInsertPoints(const CVertex* points, std::int32_t n, double tolerance,
                       std::vector<CTriangle>& result, WalkStats* stats) {
    std::vector<CTriangle> triangles(1);
    triangles[0].i1 = n;
    triangles[0].i2 = n + 1;
    triangles[0].i3 = n + 2;
    std::vector<CEdge> edges;
    for (std::int32_t i = 0; i < n; ++i) {
        if (i < n - 1 && points[i] == points[i + 1]) {
            continue;
        }
        const CVertex& p = points[i];
        edges.clear();
        for (std::size_t j = 0; j < triangles.size();) {
            CTriangle& t = triangles[j];
            if (t.complete) {
                ++j;
                continue;
            }
            const bool inside = InCircumcircle(p, t, points, tolerance);
            if (t.circleKnown && p.x > t.xc + t.r) {
                t.complete = 1;
                ++j;
            } else if (inside) {
                edges.emplace_back(t.i1, t.i2);
                edges.emplace_back(t.i2, t.i3);
                edges.emplace_back(t.i3, t.i1);
                t = triangles.back();
                triangles.pop_back();
            } else {
                ++j;
            }
        }
        if (stats != nullptr) {
            stats->largestCavityEdges = std::max(stats->largestCavityEdges, edges.size());
        }
        CancelSharedEdges(edges);
        for (const CEdge& edge : edges) {
            if (edge.i1 != -1 && edge.i2 != -1) {
                CTriangle added;
                added.i1 = edge.i1;
                added.i2 = edge.i2;
                added.i3 = i;
                triangles.push_back(added);
            }
        }
        if (stats != nullptr) {
            stats->largestTriangleList = std::max(stats->largestTriangleList, triangles.size());
        }
    }
    for (CTriangle& t : triangles) {
        if (t.i1 < n && t.i2 < n && t.i3 < n) {
            t.p1 = points[t.i1];
            t.p2 = points[t.i2];
            t.p3 = points[t.i3];
            result.push_back(t);
        }
    }
}

std::vector<CTriangle> ReplayWithOracle(const geom::CDelaunay& engine, WalkStats* stats) {
    std::vector<CTriangle> result;
    const std::int32_t n = engine.PointCount() - 3;
    if (n > 0) {
        PlainInsertPoints(engine.PointStore().data(), n, engine.Tolerance(), result, stats);
    }
    return result;
}

bool SameTriangle(const CTriangle& a, const CTriangle& b) {
    return a.i1 == b.i1 && a.i2 == b.i2 && a.i3 == b.i3 && SameVertex(a.p1, b.p1) &&
           SameVertex(a.p2, b.p2) && SameVertex(a.p3, b.p3) && a.circleKnown == b.circleKnown &&
           a.complete == b.complete && SameBits(a.xc, b.xc) && SameBits(a.yc, b.yc) &&
           SameBits(a.r, b.r);
}

}  // namespace delaunay_oracle
