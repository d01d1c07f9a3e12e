// LevelCounter(levels): for levels sorted ascending without repeats (finite, kept by reference),
// AtOrBelow(z) gives the number of levels at or below z (where std::upper_bound would place z) for
// a finite z.
//
// A table of equal-width buckets over the levels' span stands in for most of the binary search:
// the bucket of a number is a non-decreasing function of it, so the levels of lower buckets are
// below z and those of higher buckets above it; only the levels of z's own bucket are compared.
// The answer is exactly std::upper_bound's whatever the rounding of the bucket computation.
#pragma once

#include <cstddef>
#include <vector>

namespace kafcad {

class LevelCounter {
public:
    explicit LevelCounter(const std::vector<double>& levels);

    std::size_t AtOrBelow(double z) const;

private:
    std::size_t Bucket(double z) const;

    const std::vector<double>& levels_;
    double low_ = 0.0;
    double scale_ = 0.0;  // buckets per unit of z
    std::size_t lastBucket_ = 0;
    std::vector<std::size_t> firsts_;  // per bucket, the levels in the buckets before it; one more
};

}  // namespace kafcad
