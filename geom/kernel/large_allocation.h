// Large working arrays and huge pages: the module's one place that asks the system for them.
//
// A first touch of a page costs a trip into the kernel. Where the system offers huge pages for
// chosen ranges (Linux: transparent huge pages in "madvise" or "always" mode), a 2 MiB huge page
// takes one such trip and one TLB entry in place of 512. Everywhere else the functions below
// fall back to the plain allocation and do nothing more; the results never depend on them.
//
// LargeBlock(bytes): raw storage for `bytes` bytes, aligned for any fundamental type, from
//   ::operator new (throws std::bad_alloc as that does). From kHugePageBytes on, and while huge
//   pages are wanted, it asks for kHugePageBytes more (RequestBytes), starts the block on a huge
//   page boundary and advises its huge pages. Move-only; frees the storage when destroyed.
// AdviseHugePages(p, bytes): asks for huge pages for the whole huge pages within [p, p + bytes),
//   storage the caller got elsewhere (a std::vector's room); to be called before it is touched.
//   Nothing while huge pages come cold (see PrepareForWriting).
// PrepareForWriting(p, bytes): makes present at once the pages of [p, p + bytes), storage the
//   caller is about to write whole (Linux 5.14 on: MADV_POPULATE_WRITE, one call in place of a
//   trap per page as each is first written). Huge pages that were advised are made present one
//   at a time; from the first that comes cold (a virtual machine's host backing it anew costs
//   several times what 512 small pages do), the rest of the range, and every range prepared
//   after it until a huge-page LargeBlock is freed, is advised back to small pages, which the
//   system has at hand. Elsewhere, on older kernels and below kPrepareMinBytes it does nothing;
//   the pages then come one fault at a time as before.
// PrepareRoomForWriting(p, bytes): AdviseHugePages, then PrepareForWriting: for storage the caller
//   got elsewhere (a std::vector's room, a lent range) and is about to write whole.
// PrepareVectorForWriting(items, count): room for `count` items in a vector about to be filled
//   afresh, its pages made present by PrepareRoomForWriting; when it has less room, what it holds
//   is dropped first rather than copied.
// SetHugePagesWanted(wanted): on by default (see large_allocation.cpp); off, blocks are plain
//   and nothing is advised. The benchmarks measure both ways.
#pragma once

#include <cstddef>
#include <vector>

namespace geom {

constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

void SetHugePagesWanted(bool wanted);
bool HugePagesWanted();

void AdviseHugePages(void* storage, std::size_t bytes);

constexpr std::size_t kPrepareMinBytes = std::size_t{1} << 20;
void PrepareForWriting(void* storage, std::size_t bytes);
void PrepareRoomForWriting(void* storage, std::size_t bytes);

template <typename T>
void PrepareVectorForWriting(std::vector<T>& items, std::size_t count) {
    if (items.capacity() < count) {
        std::vector<T>().swap(items);
        items.reserve(count);
        PrepareRoomForWriting(items.data(), count * sizeof(T));
    }
}

class LargeBlock {
public:
    LargeBlock() = default;
    explicit LargeBlock(std::size_t bytes);
    ~LargeBlock();
    LargeBlock(LargeBlock&& other) noexcept;
    LargeBlock& operator=(LargeBlock&& other) noexcept;
    LargeBlock(const LargeBlock&) = delete;
    LargeBlock& operator=(const LargeBlock&) = delete;

    void* Data() const { return data_; }

    // The bytes a block of `bytes` asks ::operator new for.
    static std::size_t RequestBytes(std::size_t bytes);

private:
    void Release();

    void* base_ = nullptr;    // as ::operator new gave it
    void* data_ = nullptr;    // the block's start within it
    bool hugePages_ = false;  // advised huge pages
};

}  // namespace geom
