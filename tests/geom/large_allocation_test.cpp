// PrepareForWriting: storage prepared for writing keeps what it holds, and on Linux its pages are
// present afterwards, with huge pages wanted or not.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "geom/kernel/large_allocation.h"

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

// Puts the huge-page setting back as it was when the test ends.
class KeepHugePageSetting {
public:
    ~KeepHugePageSetting() { geom::SetHugePagesWanted(before_); }

private:
    bool before_ = geom::HugePagesWanted();
};

unsigned char Pattern(std::size_t k) {
    return static_cast<unsigned char>(k * 131 + 7);
}

// Preparing a range that starts and ends within pages holding other data leaves every byte, in
// the range and around it, as it was.
TEST(LargeAllocation, PreparingForWritingKeepsTheContents) {
    const KeepHugePageSetting keep;
    for (const bool wanted : {false, true}) {
        SCOPED_TRACE(wanted ? "huge pages wanted" : "huge pages not wanted");
        geom::SetHugePagesWanted(wanted);
        const std::size_t bytes = 3 * geom::kHugePageBytes + 12345;
        geom::LargeBlock block(bytes);
        unsigned char* const data = static_cast<unsigned char*>(block.Data());
        for (std::size_t k = 0; k < bytes; ++k) {
            data[k] = Pattern(k);
        }
        geom::PrepareForWriting(data + 1001, bytes - 3003);
        std::size_t changed = 0;
        for (std::size_t k = 0; k < bytes; ++k) {
            changed += data[k] == Pattern(k) ? 0 : 1;
        }
        EXPECT_EQ(changed, 0u);
    }
}

#if defined(__linux__)

// Whether the kernel populates ranges on request (Linux 5.14 on).
bool KernelPopulates() {
    const long page = sysconf(_SC_PAGESIZE);
    void* probe = mmap(nullptr, page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (probe == MAP_FAILED) {
        return false;
    }
    const bool populates = madvise(probe, page, MADV_POPULATE_WRITE) == 0;
    munmap(probe, page);
    return populates;
}

// The pages that [data, data + bytes) spans, and how many of them are resident.
struct Residence {
    std::size_t pages = 0;
    std::size_t resident = 0;
};

Residence ResidenceOf(const unsigned char* data, std::size_t bytes) {
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

// Fresh storage prepared for writing is resident before anything is written to it, the last
// partial page too; storage next to it that was not prepared is not.
TEST(LargeAllocation, PreparedStorageIsResidentBeforeItIsWritten) {
    if (!KernelPopulates()) {
        GTEST_SKIP() << "this kernel does not populate ranges on request";
    }
    const KeepHugePageSetting keep;
    for (const bool wanted : {false, true}) {
        SCOPED_TRACE(wanted ? "huge pages wanted" : "huge pages not wanted");
        geom::SetHugePagesWanted(wanted);
        const std::size_t prepared = 5 * geom::kHugePageBytes + 4321;
        const std::size_t untouched = 8 * geom::kHugePageBytes;
        geom::LargeBlock block(prepared + untouched);
        unsigned char* const data = static_cast<unsigned char*>(block.Data());
        geom::PrepareForWriting(data, prepared);
        const Residence inside = ResidenceOf(data, prepared);
        EXPECT_EQ(inside.resident, inside.pages);
        // Beyond the next huge page boundary nothing was asked for.
        const std::size_t clear = 2 * geom::kHugePageBytes;
        EXPECT_EQ(ResidenceOf(data + prepared + clear, untouched - clear).resident, 0u);
    }
}

// Small ranges are left to come one fault at a time.
TEST(LargeAllocation, SmallRangesAreNotPrepared) {
    if (!KernelPopulates()) {
        GTEST_SKIP() << "this kernel does not populate ranges on request";
    }
    const KeepHugePageSetting keep;
    geom::SetHugePagesWanted(false);
    const std::size_t bytes = geom::kPrepareMinBytes - 1;
    geom::LargeBlock block(bytes + geom::kPrepareMinBytes);
    unsigned char* const data = static_cast<unsigned char*>(block.Data());
    const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    // The first page may hold the allocator's own record, so it is left out of the count.
    EXPECT_EQ(ResidenceOf(data + page, bytes - page).resident, 0u);
    geom::PrepareForWriting(data, bytes);
    EXPECT_EQ(ResidenceOf(data + page, bytes - page).resident, 0u);
}

#endif

}  // namespace
