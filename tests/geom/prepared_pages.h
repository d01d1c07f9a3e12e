// Helpers for the tests of storage made present ahead of writing.
// KeepHugePageSetting: puts the huge-page setting back as it was when it goes out of scope.
// WithHugePagesWantedAndNot(check): runs check with huge pages not wanted, then wanted (traced),
//   and puts the setting back.
// Linux only: KernelPopulates(): whether the kernel populates ranges on request.
// ResidenceOf(data, bytes): how many pages [data, data + bytes) spans and how many are resident.
// LargeBlocksFromFreshPages(): large allocations from then on are fresh mappings, none of whose
//   pages is present until something touches it (see there).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "geom/kernel/large_allocation.h"

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// Puts the huge-page setting back as it was when the test ends.
class KeepHugePageSetting {
public:
    ~KeepHugePageSetting() { geom::SetHugePagesWanted(before_); }

private:
    bool before_ = geom::HugePagesWanted();
};

template <typename Check>
void WithHugePagesWantedAndNot(const Check& check) {
    const KeepHugePageSetting keep;
    for (const bool wanted : {false, true}) {
        SCOPED_TRACE(wanted ? "huge pages wanted" : "huge pages not wanted");
        geom::SetHugePagesWanted(wanted);
        check();
    }
}

#if defined(__linux__)

// Whether the kernel populates ranges on request (Linux 5.14 on).
inline bool KernelPopulates() {
    const long page = sysconf(_SC_PAGESIZE);
    void* probe = mmap(nullptr, page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (probe == MAP_FAILED) {
        return false;
    }
    const bool populates = madvise(probe, page, MADV_POPULATE_WRITE) == 0;
    munmap(probe, page);
    return populates;
}

// glibc raises its mapping threshold after a large mapped block is freed and then serves blocks
// of that size from the heap, whose free pages earlier tests may have made present. A fixed
// threshold keeps new large blocks fresh mappings, and the heap's free pages are given back (a
// block served from them has only its allocator record's page present), so a test sees only the
// pages the code under test made present.
inline void LargeBlocksFromFreshPages() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    malloc_trim(0);
#endif
}

// The pages that [data, data + bytes) spans, and how many of them are resident.
struct Residence {
    std::size_t pages = 0;
    std::size_t resident = 0;
};

inline Residence ResidenceOf(const unsigned char* data, std::size_t bytes) {
    const std::uintptr_t page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const std::uintptr_t first = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t begin = first / page * page;
    const std::uintptr_t end = (first + bytes + page - 1) / page * page;
    std::vector<unsigned char> flags((end - begin) / page);
    Residence residence;
    residence.pages = flags.size();
    if (mincore(reinterpret_cast<void*>(begin), end - begin, flags.data()) == 0) {
        for (const unsigned char flag : flags) {
            residence.resident += flag & 1;
        }
    }
    return residence;
}

#endif

}  // namespace
