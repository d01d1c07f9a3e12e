// ThinQueue: the triangles waiting for an insertion, by the distance of their farthest candidate
// beyond the tolerance, approximately: distances fall into levels a 64th of a binary order apart
// (distance / tolerance 1 to 2^1/64, 2^1/64 to 2^2/64, ...), the farthest level is served
// first and within a level the triangle pushed last. So the insertions that follow one another
// tend to lie side by side (the triangles just made around a new vertex come next), and their
// working set stays in the cache, where a strict order would jump across the whole surface.
//
// Push(distance, t, tag): distance beyond the tolerance (infinity and NaN go to the farthest
// level); tag is the caller's, kept with the entry. Pop(entry): the next entry into `entry`;
// false when none is left. Entries may be stale: the caller checks that the triangle's distance
// is still the one pushed (or its tag, by which it tells).
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace geom {

class ThinQueue {
public:
    struct Entry {
        double distance;
        std::uint32_t t;
        std::uint32_t tag;
    };

    explicit ThinQueue(double tolerance) : tolerance_(tolerance), levels_(kLevels) {}

    void Push(double distance, std::uint32_t t, std::uint32_t tag = 0) {
        const int level = Level(distance);
        levels_[static_cast<std::size_t>(level)].push_back({distance, t, tag});
        top_ = level > top_ ? level : top_;
    }

    bool Pop(Entry& entry) {
        for (; top_ >= 0; --top_) {
            std::vector<Entry>& level = levels_[static_cast<std::size_t>(top_)];
            if (!level.empty()) {
                entry = level.back();
                level.pop_back();
                return true;
            }
        }
        return false;
    }

private:
    static constexpr int kPerOrder = 64;
    static constexpr int kOrders = 80;
    static constexpr int kLevels = kPerOrder * kOrders;

    int Level(double distance) const {
        const double ratio = distance / tolerance_;
        if (!(ratio < 1e24)) {  // infinite, NaN, or a tolerance of 0
            return kLevels - 1;
        }
        int exponent = 0;
        const double mantissa = std::frexp(ratio, &exponent);  // ratio = mantissa 2^exponent
        const int step = static_cast<int>((mantissa - 0.5) * 2.0 * kPerOrder);
        const int level = exponent * kPerOrder + step;
        return level < 0 ? 0 : (level >= kLevels ? kLevels - 1 : level);
    }

    double tolerance_;
    std::vector<std::vector<Entry>> levels_;
    int top_ = -1;
};

}  // namespace geom
