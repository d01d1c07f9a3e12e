#include "geom/cdt/cdt_surface_elevation.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "geom/cdt/cdt_cell_grid.h"
#include "geom/kernel/exact_predicates.h"

namespace geom {

namespace {

PlanPoint Plan(const CVertex& v) {
    return {v.x, v.y};
}

// The plane through the triangle's corners at p, which lies in it.
double ElevationIn(const CVertex& a, const CVertex& b, const CVertex& c, const CVertex& p) {
    for (const CVertex* corner : {&a, &b, &c}) {
        if (*corner == p) {
            return corner->z;
        }
    }
    // Each corner weighs as much as the triangle p makes with the other two.
    const auto twiceArea = [](const CVertex& u, const CVertex& v, const CVertex& w) {
        return (v.x - u.x) * (w.y - u.y) - (v.y - u.y) * (w.x - u.x);
    };
    const double wa = twiceArea(p, b, c);
    const double wb = twiceArea(a, p, c);
    const double wc = twiceArea(a, b, p);
    return (wa * a.z + wb * b.z + wc * c.z) / (wa + wb + wc);
}

bool Contains(const CVertex& a, const CVertex& b, const CVertex& c, const CVertex& p) {
    return ExactOrientSign(Plan(a), Plan(b), Plan(p)) >= 0 &&
           ExactOrientSign(Plan(b), Plan(c), Plan(p)) >= 0 &&
           ExactOrientSign(Plan(c), Plan(a), Plan(p)) >= 0;
}

// The triangulation's outer edges: the directed edges whose reverse no triangle has.
std::vector<std::pair<std::int32_t, std::int32_t>> OuterEdges(
    const std::vector<CTriangle>& triangles) {
    std::vector<std::pair<std::int32_t, std::int32_t>> edges;
    edges.reserve(3 * triangles.size());
    for (const CTriangle& t : triangles) {
        edges.emplace_back(t.i1, t.i2);
        edges.emplace_back(t.i2, t.i3);
        edges.emplace_back(t.i3, t.i1);
    }
    std::sort(edges.begin(), edges.end());
    std::vector<std::pair<std::int32_t, std::int32_t>> outer;
    for (const auto& e : edges) {
        if (!std::binary_search(edges.begin(), edges.end(), std::make_pair(e.second, e.first))) {
            outer.push_back(e);
        }
    }
    return outer;
}

double ElevationAtNearestEdge(const std::vector<std::pair<std::int32_t, std::int32_t>>& outer,
                              const std::vector<CVertex>& vertices, const CVertex& p) {
    double best = HUGE_VAL;
    double z = 0.0;
    for (const auto& edge : outer) {
        const CVertex& a = vertices[edge.first];
        const CVertex& b = vertices[edge.second];
        const double dx = b.x - a.x;
        const double dy = b.y - a.y;
        double t = ((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy);
        t = std::min(1.0, std::max(0.0, t));
        const double ex = a.x + t * dx - p.x;
        const double ey = a.y + t * dy - p.y;
        const double d = ex * ex + ey * ey;
        if (d < best) {
            best = d;
            z = a.z + t * (b.z - a.z);
        }
    }
    return z;
}

}  // namespace

void CdtSurfaceElevations(const std::vector<CTriangle>& triangles,
                          const std::vector<CVertex>& vertices, std::vector<CVertex*>& positions) {
    CdtBox box;
    for (const CVertex* p : positions) {
        box.Extend(*p);
    }
    CdtCellGrid grid = CdtGridOver(box, positions.size(), 0.0);
    for (std::uint32_t k = 0; k < positions.size(); ++k) {
        grid.Add(*positions[k], k);
    }
    std::vector<bool> found(positions.size(), false);
    for (const CTriangle& t : triangles) {
        const CVertex& a = vertices[t.i1];
        const CVertex& b = vertices[t.i2];
        const CVertex& c = vertices[t.i3];
        CdtBox around;
        around.Extend(a);
        around.Extend(b);
        around.Extend(c);
        if (around.maxX < box.minX || around.minX > box.maxX || around.maxY < box.minY ||
            around.minY > box.maxY) {
            continue;
        }
        grid.ForEachIn(std::max(around.minX, box.minX), std::max(around.minY, box.minY),
                       std::min(around.maxX, box.maxX), std::min(around.maxY, box.maxY),
                       [&](std::uint32_t k) {
                           CVertex& p = *positions[k];
                           if (!found[k] && Contains(a, b, c, p)) {
                               p.z = ElevationIn(a, b, c, p);
                               found[k] = true;
                           }
                       });
    }
    if (std::find(found.begin(), found.end(), false) == found.end()) {
        return;
    }
    const auto outer = OuterEdges(triangles);
    for (std::size_t k = 0; k < positions.size(); ++k) {
        if (!found[k]) {
            positions[k]->z = ElevationAtNearestEdge(outer, vertices, *positions[k]);
        }
    }
}

}  // namespace geom
