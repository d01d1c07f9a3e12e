#include "app/picture/level_counter.h"

#include <algorithm>
#include <cmath>

namespace kafcad {
namespace {

// Buckets per level: most buckets then hold no level or one.
constexpr std::size_t kBucketsPerLevel = 4;

}  // namespace

LevelCounter::LevelCounter(const std::vector<double>& levels) : levels_(levels) {
    if (levels.size() > 1) {
        const std::size_t buckets = kBucketsPerLevel * levels.size();
        const double scale = static_cast<double>(buckets) / (levels.back() - levels.front());
        if (std::isfinite(scale)) {
            low_ = levels.front();
            scale_ = scale;
            lastBucket_ = buckets - 1;
        }
    }
    firsts_.assign(lastBucket_ + 2, 0);
    for (const double level : levels) {
        ++firsts_[Bucket(level) + 1];
    }
    for (std::size_t k = 1; k < firsts_.size(); ++k) {
        firsts_[k] += firsts_[k - 1];
    }
}

std::size_t LevelCounter::Bucket(double z) const {
    // Each step (subtraction, multiplication, clamping, truncation) keeps the order of numbers.
    const double position = (z - low_) * scale_;
    if (!(position > 0.0)) {
        return 0;
    }
    if (position >= static_cast<double>(lastBucket_)) {
        return lastBucket_;
    }
    return static_cast<std::size_t>(position);
}

std::size_t LevelCounter::AtOrBelow(double z) const {
    const std::size_t bucket = Bucket(z);
    const auto first = levels_.begin() + static_cast<std::ptrdiff_t>(firsts_[bucket]);
    const auto last = levels_.begin() + static_cast<std::ptrdiff_t>(firsts_[bucket + 1]);
    return static_cast<std::size_t>(std::upper_bound(first, last, z) - levels_.begin());
}

}  // namespace kafcad
