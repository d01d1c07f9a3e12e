// ThinFirstPass: what the thinning learns from its first reading of the points, in memory that
// does not grow with their number: their count, the corners of their convex hull (the first point
// at each corner position), a sample of them for the starting surface, and all of them while
// they are no more than `keepAll`.
//
// Add(p): takes the next point. Points that may widen the hull wait in a buffer; the hull is
// recomputed from its corners and the buffer (Andrew's monotone chain, decisions with the
// kernel's Orient) when the buffer fills and at the end. A point inside the quadrilateral of the
// hull's extreme corners cannot be a corner and is not buffered.
// The sample is a reservoir of up to `sampleSize` points, each point equally likely, drawn with a
// fixed generator (the same on every system).
// Finish(): the hull corners, counter-clockwise (fewer than 3 when the points span no area).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "geom/thinning/thin_point.h"

namespace geom {

class ThinFirstPass {
public:
    ThinFirstPass(std::size_t sampleSize, std::size_t keepAll);

    void Add(const ThinPoint& p);
    std::vector<ThinRecord> Finish();

    std::uint64_t Count() const { return count_; }
    const std::vector<ThinRecord>& Sample() const { return sample_; }
    // All points in order, when there were no more than keepAll of them.
    bool KeptAll() const { return keptAll_; }
    std::vector<ThinPoint>& All() { return all_; }

private:
    void MergeBuffer();
    bool InsideQuad(const ThinPoint& p) const;

    std::size_t sampleSize_;
    std::size_t keepAll_;
    std::uint64_t count_ = 0;
    std::uint64_t random_ = 0x9E3779B97F4A7C15ull;
    std::vector<ThinRecord> hull_;
    std::vector<ThinRecord> buffer_;
    std::vector<ThinRecord> sample_;
    std::vector<ThinPoint> all_;
    bool keptAll_ = true;
    ThinPoint quad_[4];
    bool hasQuad_ = false;
};

}  // namespace geom
