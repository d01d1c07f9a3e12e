#include "geom/kernel/large_allocation.h"

#include <cstdint>
#include <new>
#include <utility>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace geom {

namespace {

// Off by default: on virtual machines whose host takes freed memory back (free page reporting), a
// huge page is handed out cold and its first touch costs several times what 512 small pages do
// (triangulation_bench measures both ways).
bool hugePagesWanted = false;

}  // namespace

void SetHugePagesWanted(bool wanted) {
    hugePagesWanted = wanted;
}

bool HugePagesWanted() {
    return hugePagesWanted;
}

void AdviseHugePages(void* storage, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (!hugePagesWanted || bytes < kHugePageBytes) {
        return;
    }
    const std::uintptr_t begin = reinterpret_cast<std::uintptr_t>(storage);
    const std::uintptr_t first = (begin + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
    const std::uintptr_t end = (begin + bytes) / kHugePageBytes * kHugePageBytes;
    if (first < end) {
        // Advice only: where it is refused the pages stay small, which changes no result.
        madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
    }
#else
    (void)storage;
    (void)bytes;
#endif
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
        const std::uintptr_t begin = reinterpret_cast<std::uintptr_t>(base_);
        const std::uintptr_t first = (begin + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
        data_ = static_cast<unsigned char*>(base_) + (first - begin);
        AdviseHugePages(data_, bytes);
    }
}

LargeBlock::~LargeBlock() {
    ::operator delete(base_);
}

LargeBlock::LargeBlock(LargeBlock&& other) noexcept
    : base_(std::exchange(other.base_, nullptr)), data_(std::exchange(other.data_, nullptr)) {}

LargeBlock& LargeBlock::operator=(LargeBlock&& other) noexcept {
    if (this != &other) {
        ::operator delete(base_);
        base_ = std::exchange(other.base_, nullptr);
        data_ = std::exchange(other.data_, nullptr);
    }
    return *this;
}

}  // namespace geom
