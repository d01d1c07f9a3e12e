#include "geom/cdt/cdt_output.h"

#include <algorithm>
#include <numeric>

#include "geom/cdt/cdt_region.h"

namespace geom {

namespace {

bool Before(const PlanPoint& a, const PlanPoint& b) {
    return a.x < b.x || (a.x == b.x && a.y < b.y);
}

}  // namespace

void CdtExtract(const CdtMesh& mesh, std::uint32_t sortedCount,
                const std::vector<std::uint8_t>& state, const std::vector<double>& z,
                std::vector<CTriangle>& triangles, std::vector<CVertex>& vertices) {
    const std::uint32_t vertexCount = static_cast<std::uint32_t>(mesh.points.size());
    std::vector<std::uint32_t> index(vertexCount, kCdtNone);
    std::size_t kept = 0;
    for (std::size_t t = 0; t < mesh.triangles.size(); ++t) {
        if (state[t] == kCdtKept) {
            ++kept;
            for (const std::uint32_t v : mesh.triangles[t].v) {
                index[v] = 0;
            }
        }
    }
    // The crossing vertices merged into the sorted order of the others.
    std::vector<std::uint32_t> added(vertexCount - sortedCount);
    std::iota(added.begin(), added.end(), sortedCount);
    std::sort(added.begin(), added.end(), [&](std::uint32_t l, std::uint32_t r) {
        return Before(mesh.points[l], mesh.points[r]);
    });
    vertices.clear();
    vertices.reserve(vertexCount);
    std::uint32_t next = 0;
    const auto take = [&](std::uint32_t v) {
        if (index[v] != kCdtNone) {
            index[v] = next++;
            vertices.emplace_back(mesh.points[v].x, mesh.points[v].y, z[v]);
        }
    };
    std::size_t a = 0;
    for (std::uint32_t v = 0; v < sortedCount; ++v) {
        while (a < added.size() && Before(mesh.points[added[a]], mesh.points[v])) {
            take(added[a++]);
        }
        take(v);
    }
    while (a < added.size()) {
        take(added[a++]);
    }
    // Counting sort by lowest corner, stable in mesh order.
    std::vector<std::uint32_t> start(static_cast<std::size_t>(next) + 1, 0u);
    for (std::size_t t = 0; t < mesh.triangles.size(); ++t) {
        if (state[t] == kCdtKept) {
            const std::uint32_t* v = mesh.triangles[t].v;
            ++start[std::min({index[v[0]], index[v[1]], index[v[2]]}) + 1];
        }
    }
    for (std::size_t k = 0; k < next; ++k) {
        start[k + 1] += start[k];
    }
    std::vector<std::uint32_t> order(kept);
    for (std::uint32_t t = 0; t < mesh.triangles.size(); ++t) {
        if (state[t] == kCdtKept) {
            const std::uint32_t* v = mesh.triangles[t].v;
            order[start[std::min({index[v[0]], index[v[1]], index[v[2]]})]++] = t;
        }
    }
    triangles.clear();
    triangles.reserve(kept);
    // The corners come from the mesh's own positions and elevations, which are smaller records
    // than the vertex list's, so that fewer cache lines are read for them.
    const PlanPoint* const at = mesh.points.data();
    const auto corner = [&](std::uint32_t v) { return CVertex(at[v].x, at[v].y, z[v]); };
    CTriangle out;  // filled in place and copied, which is cheaper than building in the list
    for (const std::uint32_t t : order) {
        const std::uint32_t* v = mesh.triangles[t].v;
        const std::uint32_t c[3] = {index[v[0]], index[v[1]], index[v[2]]};
        // Turn the corners so that the lowest comes first; the turn keeps the orientation.
        const int first = c[0] < c[1] ? (c[0] < c[2] ? 0 : 2) : (c[1] < c[2] ? 1 : 2);
        out.i1 = static_cast<std::int32_t>(c[first]);
        out.i2 = static_cast<std::int32_t>(c[CdtNext(first)]);
        out.i3 = static_cast<std::int32_t>(c[CdtPrev(first)]);
        out.p1 = corner(v[first]);
        out.p2 = corner(v[CdtNext(first)]);
        out.p3 = corner(v[CdtPrev(first)]);
        triangles.push_back(out);
    }
}

}  // namespace geom
