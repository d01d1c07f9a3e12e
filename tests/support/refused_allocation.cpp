#include "refused_allocation.h"

#include <cstdlib>
#include <new>

namespace {

std::size_t refusedSize = 0;  // 0: nothing is refused
bool tallying = false;
std::size_t tallied = 0;

}  // namespace

RefusedAllocation::RefusedAllocation(std::size_t size) {
    refusedSize = size;
}

RefusedAllocation::~RefusedAllocation() {
    refusedSize = 0;
}

AllocationTally::AllocationTally() {
    tallied = 0;
    tallying = true;
}

AllocationTally::~AllocationTally() {
    tallying = false;
}

std::size_t AllocationTally::Bytes() const {
    return tallied;
}

void* operator new(std::size_t size) {
    if (tallying) {
        tallied += size;
    }
    if (refusedSize != 0 && size == refusedSize) {
        throw std::bad_alloc();
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

// The library's temporary buffers (std::stable_sort) come from the nothrow form and go back
// through the sized delete below: both must use the same heap as the form above.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return ::operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

void operator delete(void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
