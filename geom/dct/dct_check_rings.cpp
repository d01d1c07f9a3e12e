#include "geom/dct/dct_check_rings.h"

#include "geom/kernel/invariants.h"

namespace geom {

void DctCheckRings(std::uint32_t m, const std::uint32_t* entries, const DctEdgeEnd* ends) {
    const char* const structure = "CDCT's edge rings";
    for (std::uint32_t v = 0; v < m; ++v) {
        const std::uint32_t entry = entries[v];
        if (entry == kDctNone) {
            continue;
        }
        std::uint32_t e = entry;
        std::uint32_t steps = 0;
        do {
            if (ends[e].vertex != v) {
                InvariantBroken(structure, "an end of a vertex's ring lies at another vertex");
            }
            if (ends[ends[e].next].prev != e || ends[ends[e].prev].next != e) {
                InvariantBroken(structure, "next and prev do not mirror each other");
            }
            if (ends[e ^ 1u].vertex == v) {
                InvariantBroken(structure, "an edge runs from a vertex to itself");
            }
            if (++steps > m) {
                InvariantBroken(structure, "a ring does not close");
            }
            e = ends[e].next;
        } while (e != entry);
    }
}

}  // namespace geom
