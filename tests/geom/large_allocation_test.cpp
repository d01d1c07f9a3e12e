// PrepareForWriting: storage prepared for writing keeps what it holds, and on Linux its pages are
// present afterwards, with huge pages wanted or not.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "geom/kernel/large_allocation.h"
#include "prepared_pages.h"

namespace {

unsigned char Pattern(std::size_t k) {
    return static_cast<unsigned char>(k * 131 + 7);
}

// Preparing a range that starts and ends within pages holding other data leaves every byte, in
// the range and around it, as it was.
TEST(LargeAllocation, PreparingForWritingKeepsTheContents) {
    WithHugePagesWantedAndNot([&] {
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
    });
}

#if defined(__linux__)

// Fresh storage prepared for writing is resident before anything is written to it, the last
// partial page too; storage next to it that was not prepared is not.
TEST(LargeAllocation, PreparedStorageIsResidentBeforeItIsWritten) {
    if (!KernelPopulates()) {
        GTEST_SKIP() << "this kernel does not populate ranges on request";
    }
    LargeBlocksFromFreshPages();
    WithHugePagesWantedAndNot([&] {
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
    });
}

// Small ranges are left to come one fault at a time.
TEST(LargeAllocation, SmallRangesAreNotPrepared) {
    if (!KernelPopulates()) {
        GTEST_SKIP() << "this kernel does not populate ranges on request";
    }
    LargeBlocksFromFreshPages();
    const KeepHugePageSetting keep;
    geom::SetHugePagesWanted(false);
    const std::size_t bytes = geom::kPrepareMinBytes - 1;
    geom::LargeBlock block(bytes + geom::kPrepareMinBytes);
    unsigned char* const data = static_cast<unsigned char*>(block.Data());
    const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    // The first two pages may hold the allocator's own record and the first bytes it fills (as
    // AddressSanitizer does), so they are left out of the count.
    const unsigned char* const rest = data + 2 * page;
    const std::size_t restBytes = bytes - 2 * page;
    EXPECT_EQ(ResidenceOf(rest, restBytes).resident, 0u);
    geom::PrepareForWriting(data, bytes);
    EXPECT_EQ(ResidenceOf(rest, restBytes).resident, 0u);
}

#endif

}  // namespace
