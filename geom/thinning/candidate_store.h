// CandidateStore: the storage of the thinning's candidate points, a growable array whose new
// places are left unwritten (a point is written where it goes, so that growing the array costs
// no pass of its own and no page is touched before it is used).
//
// ThinCandidate: a point waiting to be measured against the surface, with its number.
// push_back, resize, reserve, clear, size, capacity, operator[] as std::vector's, except that
// resize leaves the new places' contents unspecified.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "geom/thinning/thin_point.h"

namespace geom {

struct ThinCandidate {
    double x;
    double y;
    double z;
    std::uint32_t id;

    ThinPoint Point() const { return ThinPoint{x, y, z}; }
};

class CandidateStore {
public:
    std::size_t size() const { return size_; }
    std::size_t capacity() const { return capacity_; }
    ThinCandidate& operator[](std::size_t i) { return data_[i]; }
    const ThinCandidate& operator[](std::size_t i) const { return data_[i]; }
    ThinCandidate* data() { return data_.get(); }

    void reserve(std::size_t n) {
        if (n > capacity_) {
            std::unique_ptr<ThinCandidate[]> grown(new ThinCandidate[n]);
            std::copy(data_.get(), data_.get() + size_, grown.get());
            data_ = std::move(grown);
            capacity_ = n;
        }
    }
    void resize(std::size_t n) {
        if (n > capacity_) {
            reserve(std::max(n, 2 * capacity_));
        }
        size_ = n;
    }
    void push_back(const ThinCandidate& c) {
        resize(size_ + 1);
        data_[size_ - 1] = c;
    }
    void clear() { size_ = 0; }

private:
    std::unique_ptr<ThinCandidate[]> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace geom
