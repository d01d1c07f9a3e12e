// CdtTriangleArray: the constrained mesh's triangle list, in storage lent by its user while it
// fits there, else in storage of its own.
//
// Lend(storage, capacity) makes the (empty) list use `capacity` records at `storage`, which must
// outlive the list's use of it and be aligned for CdtTriangle; the records there are not read
// before they are written. reserve(n) and a push_back that finds the room full move the list to
// storage of its own (for a push_back twice the room) where it stays. A copy always has storage of
// its own. LentEnd() gives the
// end of the lent room while the list is in it, else nullptr: what lies beyond it is the lender's.
// Throws std::bad_alloc when its own storage cannot be had.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace geom {

struct CdtTriangle {
    std::uint32_t v[3];
    std::uint32_t n[3];
    std::uint8_t fixed;
};

class CdtTriangleArray {
public:
    CdtTriangleArray() = default;
    CdtTriangleArray(const CdtTriangleArray& other) { *this = other; }
    CdtTriangleArray& operator=(const CdtTriangleArray& other) {
        if (this != &other) {
            CdtTriangleArray copy;
            copy.reserve(other.size_);
            std::copy(other.begin(), other.end(), copy.data_);
            copy.size_ = other.size_;
            Take(copy);
        }
        return *this;
    }

    void Lend(CdtTriangle* storage, std::size_t capacity) {
        own_.reset();
        data_ = storage;
        size_ = 0;
        capacity_ = capacity;
        lent_ = true;
    }
    const void* LentEnd() const { return lent_ ? data_ + capacity_ : nullptr; }

    // Room for `capacity` triangles in storage of its own, when the present room is smaller.
    void reserve(std::size_t capacity) {
        if (capacity > capacity_) {
            std::unique_ptr<CdtTriangle[]> bigger(new CdtTriangle[capacity]);
            std::copy(begin(), end(), bigger.get());
            own_ = std::move(bigger);
            data_ = own_.get();
            capacity_ = capacity;
            lent_ = false;
        }
    }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    CdtTriangle& operator[](std::size_t k) { return data_[k]; }
    const CdtTriangle& operator[](std::size_t k) const { return data_[k]; }
    const CdtTriangle* begin() const { return data_; }
    const CdtTriangle* end() const { return data_ + size_; }

    void push_back(const CdtTriangle& triangle) {
        if (size_ == capacity_) {
            reserve(std::max<std::size_t>(2 * capacity_, 16));
        }
        data_[size_++] = triangle;
    }

private:
    void Take(CdtTriangleArray& other) {
        own_ = std::move(other.own_);
        data_ = other.data_;
        size_ = other.size_;
        capacity_ = other.capacity_;
        lent_ = other.lent_;
    }

    std::unique_ptr<CdtTriangle[]> own_;
    CdtTriangle* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    bool lent_ = false;
};

}  // namespace geom
