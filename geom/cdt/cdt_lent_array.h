// CdtLentArray<T>: a list of trivial records (the constrained mesh's triangles, positions, ...)
// in storage lent by its user while it fits there, else in storage of its own.
//
// Lend(storage, capacity) makes the (empty) list use `capacity` records at `storage`, which must
// outlive the list's use of it and be aligned for T; the records there are not read before they
// are written. reserve(n), and a push_back or resize that finds the room short, move the list to
// storage of its own (for a push_back twice the room), where it stays. Extend(n) adds n records
// left unwritten, for the caller to write, and gives the first. A copy always has storage of its
// own. LentEnd() gives the end of the lent room while the list is in it, else nullptr:
// what lies beyond it is the lender's.
// Throws std::bad_alloc when its own storage cannot be had.
#pragma once

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <type_traits>

namespace geom {

template <typename T>
class CdtLentArray {
    static_assert(std::is_trivial<T>::value, "only trivial records live in lent storage");

public:
    CdtLentArray() = default;
    CdtLentArray(const CdtLentArray& other) { *this = other; }
    CdtLentArray& operator=(const CdtLentArray& other) {
        if (this != &other) {
            Assign(other.begin(), other.end());
        }
        return *this;
    }
    CdtLentArray& operator=(std::initializer_list<T> records) {
        Assign(records.begin(), records.end());
        return *this;
    }

    void Lend(T* storage, std::size_t capacity) {
        own_.reset();
        data_ = storage;
        size_ = 0;
        capacity_ = capacity;
        lent_ = true;
    }
    const void* LentEnd() const { return lent_ ? data_ + capacity_ : nullptr; }

    // Room for `capacity` records in storage of its own, when the present room is smaller.
    void reserve(std::size_t capacity) {
        if (capacity > capacity_) {
            std::unique_ptr<T[]> bigger(new T[capacity]);
            std::copy(begin(), end(), bigger.get());
            own_ = std::move(bigger);
            data_ = own_.get();
            capacity_ = capacity;
            lent_ = false;
        }
    }
    void resize(std::size_t size, const T& value) {
        reserve(size);
        std::fill(data_ + std::min(size, size_), data_ + size, value);
        size_ = size;
    }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    T& operator[](std::size_t k) { return data_[k]; }
    const T& operator[](std::size_t k) const { return data_[k]; }
    const T* begin() const { return data_; }
    const T* end() const { return data_ + size_; }

    T* Extend(std::size_t count) {
        reserve(size_ + count);
        T* const first = data_ + size_;
        size_ += count;
        return first;
    }

    void push_back(const T& record) {
        if (size_ == capacity_) {
            reserve(std::max<std::size_t>(2 * capacity_, 16));
        }
        data_[size_++] = record;
    }

private:
    void Assign(const T* first, const T* last) {
        CdtLentArray copy;
        copy.reserve(static_cast<std::size_t>(last - first));
        std::copy(first, last, copy.data_);
        copy.size_ = static_cast<std::size_t>(last - first);
        own_ = std::move(copy.own_);
        data_ = copy.data_;
        size_ = copy.size_;
        capacity_ = copy.capacity_;
        lent_ = false;
    }

    std::unique_ptr<T[]> own_;
    T* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    bool lent_ = false;
};

}  // namespace geom
