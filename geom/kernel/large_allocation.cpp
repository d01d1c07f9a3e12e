#include "geom/kernel/large_allocation.h"

#include <cstdint>
#include <ctime>
#include <new>
#include <utility>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace geom {

namespace {

// On by default. On virtual machines whose host takes freed memory back (free page reporting), a
// huge page the guest has not used lately comes cold and its first touch costs several times what
// 512 small pages do; PrepareForWriting notices that and goes small, and AdviseHugePages advises
// nothing more from then on, until a huge-page block is freed (triangulation_bench measures
// both ways).
bool hugePagesWanted = true;

// Set when an advised huge page came cold (PopulateHugePages): the system has none at hand, and
// storage prepared after it takes small pages at once, until a large block is given back (its
// pages are at hand again).
bool hugePagesCameCold = false;

// An address rounded down or up to a multiple of `unit` (a page size).
std::uintptr_t RoundDown(std::uintptr_t address, std::uintptr_t unit) {
    return address / unit * unit;
}
std::uintptr_t RoundUp(std::uintptr_t address, std::uintptr_t unit) {
    return RoundDown(address + unit - 1, unit);
}

}  // namespace

void SetHugePagesWanted(bool wanted) {
    hugePagesWanted = wanted;
}

bool HugePagesWanted() {
    return hugePagesWanted;
}

void AdviseHugePages(void* storage, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (!hugePagesWanted || hugePagesCameCold || bytes < kHugePageBytes) {
        return;
    }
    const std::uintptr_t begin = reinterpret_cast<std::uintptr_t>(storage);
    const std::uintptr_t first = RoundUp(begin, kHugePageBytes);
    const std::uintptr_t end = RoundDown(begin + bytes, kHugePageBytes);
    if (first < end) {
        // Advice only: where it is refused the pages stay small, which changes no result.
        madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
    }
#else
    (void)storage;
    (void)bytes;
#endif
}

#if defined(__linux__) && defined(MADV_POPULATE_WRITE)

namespace {

void Populate(std::uintptr_t begin, std::uintptr_t end) {
    if (begin < end) {
        // Advice only: a kernel without it answers EINVAL, and the pages come as they are written.
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
    }
}

// Processor time above which populating one huge page counts as cold: a huge page the system
// has at hand takes about 0.1 ms to clear, 512 small pages about 0.7 ms; one that a virtual
// machine's host has taken back and must back anew, several milliseconds.
constexpr double kColdHugePageSeconds = 1e-3;

// Advises [begin, end) back to small pages, which the system takes from what it has at hand,
// and populates it so.
void PopulateSmallPages(std::uintptr_t begin, std::uintptr_t end) {
    if (begin < end) {
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_NOHUGEPAGE);
        Populate(begin, end);
    }
}

// Populates the advised huge pages of [begin, end) one at a time while each comes at the cost
// of a huge page at hand; from the first that comes cold on, the rest goes small.
void PopulateHugePages(std::uintptr_t begin, std::uintptr_t end) {
    std::uintptr_t page = begin;
    for (; page < end && !hugePagesCameCold; page += kHugePageBytes) {
        const std::clock_t before = std::clock();
        Populate(page, page + kHugePageBytes);
        const double seconds = static_cast<double>(std::clock() - before) / CLOCKS_PER_SEC;
        hugePagesCameCold = seconds > kColdHugePageSeconds;
    }
    PopulateSmallPages(page, end);
}

}  // namespace

#endif

void PrepareForWriting(void* storage, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
    if (bytes < kPrepareMinBytes) {
        return;
    }
    // Whole pages: the first and last page of the range hold the caller's storage too, so they
    // are mapped; populating leaves their contents as they are.
    static const std::uintptr_t page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const std::uintptr_t begin = RoundDown(reinterpret_cast<std::uintptr_t>(storage), page);
    const std::uintptr_t end = RoundUp(reinterpret_cast<std::uintptr_t>(storage) + bytes, page);
    // The huge pages AdviseHugePages advised: the whole ones within the range.
    std::uintptr_t hugeBegin = RoundUp(begin, kHugePageBytes);
    std::uintptr_t hugeEnd = RoundDown(end, kHugePageBytes);
    if (!hugePagesWanted || hugeBegin >= hugeEnd) {
        hugeBegin = hugeEnd = end;
    }
    Populate(begin, hugeBegin);
    PopulateHugePages(hugeBegin, hugeEnd);
    Populate(hugeEnd, end);
#else
    (void)storage;
    (void)bytes;
#endif
}

void PrepareRoomForWriting(void* storage, std::size_t bytes) {
    AdviseHugePages(storage, bytes);
    PrepareForWriting(storage, bytes);
}

std::size_t LargeBlock::RequestBytes(std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (hugePagesWanted && bytes >= kHugePageBytes) {
        return bytes + kHugePageBytes;
    }
#endif
    return bytes;
}

LargeBlock::LargeBlock(std::size_t bytes) {
    const std::size_t request = RequestBytes(bytes);
    base_ = ::operator new(request);
    data_ = base_;
    if (request != bytes) {
        hugePages_ = true;
        const std::uintptr_t begin = reinterpret_cast<std::uintptr_t>(base_);
        const std::uintptr_t first = RoundUp(begin, kHugePageBytes);
        data_ = static_cast<unsigned char*>(base_) + (first - begin);
        AdviseHugePages(data_, bytes);
    }
}

LargeBlock::~LargeBlock() {
    Release();
}

void LargeBlock::Release() {
    if (data_ != nullptr && hugePages_) {
        hugePagesCameCold = false;
    }
    ::operator delete(base_);
}

LargeBlock::LargeBlock(LargeBlock&& other) noexcept
    : base_(std::exchange(other.base_, nullptr)),
      data_(std::exchange(other.data_, nullptr)),
      hugePages_(std::exchange(other.hugePages_, false)) {}

LargeBlock& LargeBlock::operator=(LargeBlock&& other) noexcept {
    if (this != &other) {
        Release();
        base_ = std::exchange(other.base_, nullptr);
        data_ = std::exchange(other.data_, nullptr);
        hugePages_ = std::exchange(other.hugePages_, false);
    }
    return *this;
}

}  // namespace geom
