// DctReadRingsAhead(entries, ends, first, count, alsoRead): reads the edge rings of the vertices
// first .. first + count - 1 (count at most kDctRingBatch; entries and ends as in DctRings), all
// rings at once, one end of each in turn, so that their cache misses overlap and a walk of the
// rings that follows finds them in the cache. For every end n met, alsoRead(n) reads what the
// caller keeps per end or edge and gives a value of it (0 when there is nothing). Only reads.
#pragma once

#include <cstdint>

#include "geom/dct/dct_records.h"
#include "geom/kernel/keep_reads.h"

namespace geom {

constexpr std::uint32_t kDctRingBatch = 16;

template <typename AlsoRead>
void DctReadRingsAhead(const std::uint32_t* entries, const DctEdgeEnd* ends, std::uint32_t first,
                       std::uint32_t count, AlsoRead alsoRead) {
    std::uint32_t start[kDctRingBatch];
    std::uint32_t at[kDctRingBatch];
    std::uint32_t active = 0;
    for (std::uint32_t k = 0; k < count; ++k) {
        const std::uint32_t entry = entries[first + k];
        if (entry != kDctNone) {
            start[active] = entry;
            at[active++] = entry;
        }
    }
    std::uint32_t sum = 0;
    // A ring is a cycle; the step limit only guards against rings that are not.
    for (int step = 0; active > 0 && step < 64; ++step) {
        for (std::uint32_t k = 0; k < active;) {
            const std::uint32_t n = ends[at[k]].next;
            sum += ends[n ^ 1u].vertex + alsoRead(n);
            if (n == start[k]) {
                --active;
                start[k] = start[active];
                at[k] = at[active];
            } else {
                at[k++] = n;
            }
        }
    }
    KeepReads(sum);
}

}  // namespace geom
