#include "geom/cdt/cdt_region.h"

#include <algorithm>
#include <unordered_map>

namespace geom {

namespace {

struct Winding {
    int outer;
    int hole;
};

// The winding steps for crossing the edge opposite corner i of t from its right to its left
// side, seen along (v[i+1] -> v[i+2]): into t.
Winding StepInto(const CdtMesh& mesh, const CdtConstraintTable& records, std::uint32_t t, int i) {
    if (!mesh.IsFixed(CdtEdge{t, i})) {
        return {0, 0};
    }
    const CdtVertexPair ends = mesh.Ends(CdtEdge{t, i});
    const CdtConstraint& record = records.at(CdtEdgeKey(ends.first, ends.second));
    const int sign = ends.first < ends.second ? 1 : -1;
    return {sign * record.outer, sign * record.hole};
}

}  // namespace

// The triangles fall into regions joined by unconstrained edges (found with a union-find pass in
// triangle order, which reads the mesh in memory order); a walk over the regions across the
// constraint edges, from the hull, gives each region its winding numbers.
std::vector<std::uint8_t> CdtClassifyRegion(const CdtMesh& mesh, const CdtConstraintTable& records,
                                            bool hasOuter, bool hasHoles) {
    if (!hasOuter && !hasHoles) {
        return {};
    }
    const std::uint32_t count = static_cast<std::uint32_t>(mesh.triangles.size());
    std::vector<std::uint8_t> state(count, kCdtKept);
    std::vector<std::uint32_t> parent(count);
    const auto root = [&](std::uint32_t t) {
        while (parent[t] != t) {
            parent[t] = parent[parent[t]];
            t = parent[t];
        }
        return t;
    };
    std::uint32_t hullTriangle = kCdtNone;
    int hullCorner = 0;
    for (std::uint32_t t = 0; t < count; ++t) {
        parent[t] = t;
        const CdtTriangle& tri = mesh.triangles[t];
        for (int i = 0; i < 3; ++i) {
            const std::uint32_t n = tri.n[i];
            if (n == kCdtNone) {
                hullTriangle = hullTriangle == kCdtNone ? t : hullTriangle;
                hullCorner = hullTriangle == t ? i : hullCorner;
            } else if ((n >> 2) < t && ((tri.fixed >> i) & 1u) == 0) {
                const std::uint32_t a = root(t);
                const std::uint32_t b = root(n >> 2);
                parent[a > b ? a : b] = a > b ? b : a;
            }
        }
    }
    // Regions meet only across constraint edges: list those crossings by region.
    struct Crossing {
        std::uint32_t from;
        std::uint32_t to;
        Winding step;
    };
    std::vector<Crossing> crossings;
    for (std::uint32_t t = 0; t < count; ++t) {
        const CdtTriangle& tri = mesh.triangles[t];
        for (int i = 0; tri.fixed != 0 && i < 3; ++i) {
            const std::uint32_t n = tri.n[i];
            if (n != kCdtNone && ((tri.fixed >> i) & 1u) != 0) {
                crossings.push_back({root(t), root(n >> 2),
                                     StepInto(mesh, records, n >> 2, static_cast<int>(n & 3u))});
            }
        }
    }
    std::sort(crossings.begin(), crossings.end(),
              [](const Crossing& l, const Crossing& r) { return l.from < r.from; });
    std::unordered_map<std::uint32_t, Winding> winding;
    std::vector<std::uint32_t> queue;
    if (hullTriangle != kCdtNone) {
        const std::uint32_t first = root(hullTriangle);
        winding[first] = StepInto(mesh, records, hullTriangle, hullCorner);
        queue.push_back(first);
    }
    for (std::size_t k = 0; k < queue.size(); ++k) {
        const std::uint32_t region = queue[k];
        const Winding here = winding[region];
        auto it = std::lower_bound(crossings.begin(), crossings.end(), region,
                                   [](const Crossing& c, std::uint32_t r) { return c.from < r; });
        for (; it != crossings.end() && it->from == region; ++it) {
            if (winding
                    .emplace(it->to,
                             Winding{here.outer + it->step.outer, here.hole + it->step.hole})
                    .second) {
                queue.push_back(it->to);
            }
        }
    }
    for (const auto& region : winding) {
        const Winding w = region.second;
        state[region.first] = hasOuter && w.outer == 0 ? kCdtOutside
                              : w.hole != 0            ? kCdtHidden
                                                       : kCdtKept;
    }
    // A region's root is its lowest triangle, so it has its state before the others.
    for (std::uint32_t t = 0; t < count; ++t) {
        state[t] = state[root(t)];
    }
    return state;
}

void CdtTrimLongEdges(const CdtMesh& mesh, double maxLength, std::vector<std::uint8_t>& state) {
    if (state.empty()) {
        state.assign(mesh.triangles.size(), kCdtKept);
    }
    const double limit = maxLength * maxLength;
    const auto exposedLong = [&](std::uint32_t t) {
        const CdtTriangle& tri = mesh.triangles[t];
        for (int i = 0; i < 3; ++i) {
            const bool outside = tri.n[i] == kCdtNone || state[tri.n[i] >> 2] == kCdtOutside;
            if (!outside || ((tri.fixed >> i) & 1u) != 0) {
                continue;
            }
            const PlanPoint& p = mesh.points[tri.v[CdtNext(i)]];
            const PlanPoint& q = mesh.points[tri.v[CdtPrev(i)]];
            const double dx = q.x - p.x;
            const double dy = q.y - p.y;
            if (dx * dx + dy * dy > limit) {
                return true;
            }
        }
        return false;
    };
    std::vector<std::uint32_t> queue;
    for (std::uint32_t t = 0; t < mesh.triangles.size(); ++t) {
        if (state[t] == kCdtKept && exposedLong(t)) {
            state[t] = kCdtOutside;
            queue.push_back(t);
        }
    }
    while (!queue.empty()) {
        const std::uint32_t t = queue.back();
        queue.pop_back();
        for (int i = 0; i < 3; ++i) {
            const std::uint32_t n = mesh.triangles[t].n[i];
            if (n != kCdtNone && state[n >> 2] == kCdtKept && exposedLong(n >> 2)) {
                state[n >> 2] = kCdtOutside;
                queue.push_back(n >> 2);
            }
        }
    }
}

}  // namespace geom
