#include "geom/surface/link_mesh_neighbours.h"

namespace geom {

bool LinkWithinMesh(const MeshTriangles& mesh, std::vector<SurfaceTriangle>& triangles,
                    MeshLinkWork& work, std::vector<SeamEdge>& seams,
                    const SurfaceProgress& progress) {
    const std::int32_t* local = mesh.local;
    std::vector<std::uint32_t>& start = work.start;
    std::vector<MeshCorner>& corners = work.corners;
    start.assign(mesh.vertexCount + 1, 0);
    for (std::size_t i = 0; i < 3 * mesh.count; ++i) {
        ++start[static_cast<std::size_t>(local[i]) + 1];
    }
    for (std::size_t v = 1; v < start.size(); ++v) {
        start[v] += start[v - 1];
    }
    corners.resize(3 * mesh.count);
    for (std::size_t i = 0; i < mesh.count; ++i) {  // moves each start on to the next one's
        const std::int32_t* c = local + 3 * i;
        for (std::uint32_t k = 0; k < 3; ++k) {
            corners[start[static_cast<std::size_t>(c[k])]++] = {
                static_cast<std::uint32_t>(i * 4 + k), c[k == 2 ? 0 : k + 1],
                c[k == 0 ? 2 : k - 1]};
        }
    }
    for (std::size_t v = mesh.vertexCount; v > 0; --v) {
        start[v] = start[v - 1];
    }
    start[0] = 0;

    const std::size_t end = mesh.first + mesh.count;
    std::size_t report = (mesh.first + kProgressStride - 1) / kProgressStride * kProgressStride;
    for (std::size_t v = 0; v < mesh.vertexCount; ++v) {
        // The triangles' share done so far, as their corners are.
        while (progress && report < end && (report - mesh.first) * 3 <= start[v]) {
            progress(report, triangles.size());
            report += kProgressStride;
        }
        // Each edge v -> b of a triangle at v is linked to the triangle at v whose edge comes
        // from b, found among the few at v without a branch on each.
        for (std::uint32_t e = start[v]; e < start[v + 1]; ++e) {
            const std::int32_t b = corners[e].next;
            const std::size_t t = mesh.first + corners[e].at / 4;
            const int k = static_cast<int>(corners[e].at % 4);
            if ((mesh.shared[v] & mesh.shared[b]) != 0) {
                const std::uint32_t p = static_cast<std::uint32_t>(triangles[t].corner[k]);
                const std::uint32_t q =
                    static_cast<std::uint32_t>(triangles[t].corner[k == 2 ? 0 : k + 1]);
                seams.push_back({p < q ? std::uint64_t{p} << 32 | q : std::uint64_t{q} << 32 | p,
                                 corners[e].at + static_cast<std::uint32_t>(mesh.first * 4)});
                continue;
            }
            int out = 0;
            int in = 0;
            std::uint32_t from = 0;
            for (std::uint32_t f = start[v]; f < start[v + 1]; ++f) {
                out += static_cast<int>(corners[f].next == b);
                const bool hit = corners[f].previous == b;
                in += static_cast<int>(hit);
                from = hit ? corners[f].at : from;
            }
            if (out != 1 || in > 1) {
                return false;  // faces on one side of the edge
            }
            if (in == 1) {
                triangles[t].across[k] = static_cast<std::int32_t>(mesh.first + from / 4);
            }
        }
    }
    while (progress && report < end) {
        progress(report, triangles.size());
        report += kProgressStride;
    }
    return true;
}

}  // namespace geom
