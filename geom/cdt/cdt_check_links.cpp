#include "geom/cdt/cdt_check_links.h"

#include "geom/kernel/invariants.h"

namespace geom {

void CdtCheckLinks(const CdtMesh& mesh) {
    const char* const structure = "the constrained triangulator's mesh";
    const std::uint32_t count = static_cast<std::uint32_t>(mesh.triangles.size());
    for (std::uint32_t t = 0; t < count; ++t) {
        const CdtTriangle& tri = mesh.triangles[t];
        for (int i = 0; i < 3; ++i) {
            const std::uint32_t n = tri.n[i];
            if (n == kCdtNone) {
                continue;
            }
            const std::uint32_t t2 = n >> 2;
            const int j = static_cast<int>(n & 3u);
            if (t2 >= count || j > 2 || mesh.triangles[t2].n[j] != 4 * t + i) {
                InvariantBroken(structure, "a neighbour link is not mirrored");
            }
            const CdtTriangle& other = mesh.triangles[t2];
            if (tri.v[CdtNext(i)] != other.v[CdtPrev(j)] ||
                tri.v[CdtPrev(i)] != other.v[CdtNext(j)]) {
                InvariantBroken(structure, "neighbours name their shared edge differently");
            }
            if (((tri.fixed >> i) & 1u) != ((other.fixed >> j) & 1u)) {
                InvariantBroken(structure, "a constraint mark differs on the two sides");
            }
        }
    }
    for (std::uint32_t v = 0; v < mesh.vertexTriangle.size(); ++v) {
        const std::uint32_t t = mesh.vertexTriangle[v];
        if (t == kCdtNone) {
            continue;
        }
        if (t >= count) {
            InvariantBroken(structure, "a vertex names a triangle that does not exist");
        }
        const CdtTriangle& tri = mesh.triangles[t];
        if (tri.v[0] != v && tri.v[1] != v && tri.v[2] != v) {
            InvariantBroken(structure, "a vertex's triangle does not hold it");
        }
    }
}

}  // namespace geom
