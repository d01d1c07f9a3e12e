#include <algorithm>

#include "geom/surface/link_mesh_neighbours.h"

namespace geom {

bool JoinSeams(std::vector<SeamEdge>& seams, std::vector<SurfaceTriangle>& triangles) {
    std::sort(seams.begin(), seams.end(),
              [](const SeamEdge& a, const SeamEdge& b) { return a.ends < b.ends; });
    // Whether the edge runs from its lower point to its higher one.
    const auto rising = [&triangles](std::uint32_t edge) {
        const std::int32_t* corner = triangles[edge / 4].corner;
        const std::uint32_t k = edge % 4;
        return corner[k] < corner[k == 2 ? 0 : k + 1];
    };
    for (std::size_t i = 0; i < seams.size();) {
        std::size_t end = i + 1;
        while (end < seams.size() && seams[end].ends == seams[i].ends) {
            ++end;
        }
        if (end - i > 2 || (end - i == 2 && rising(seams[i].edge) == rising(seams[i + 1].edge))) {
            return false;
        }
        if (end - i == 2) {
            const std::uint32_t s = seams[i].edge;
            const std::uint32_t t = seams[i + 1].edge;
            triangles[s / 4].across[s % 4] = static_cast<std::int32_t>(t / 4);
            triangles[t / 4].across[t % 4] = static_cast<std::int32_t>(s / 4);
        }
        i = end;
    }
    return true;
}

}  // namespace geom
