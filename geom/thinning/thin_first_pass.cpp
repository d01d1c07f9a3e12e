#include "geom/thinning/thin_first_pass.h"

#include <algorithm>

#include "geom/kernel/predicates.h"

namespace geom {

namespace {

constexpr std::size_t kBufferSize = 1u << 16;

PlanPoint Plan(const ThinPoint& p) {
    return PlanPoint{p.x, p.y};
}

}  // namespace

ThinFirstPass::ThinFirstPass(std::size_t sampleSize, std::size_t keepAll)
    : sampleSize_(sampleSize), keepAll_(keepAll) {}

// Inside (or on) the quadrilateral of the hull's leftmost, lowest, rightmost and highest corners.
bool ThinFirstPass::InsideQuad(const ThinPoint& p) const {
    if (!hasQuad_) {
        return false;
    }
    for (int i = 0; i < 4; ++i) {
        if (Orient(Plan(quad_[i]), Plan(quad_[(i + 1) % 4]), Plan(p)) < 0) {
            return false;
        }
    }
    return true;
}

void ThinFirstPass::Add(const ThinPoint& p) {
    const ThinRecord record{p, static_cast<std::uint32_t>(count_)};
    ++count_;
    if (keptAll_) {
        if (all_.size() < keepAll_) {
            all_.push_back(p);
        } else {
            keptAll_ = false;
            std::vector<ThinPoint>().swap(all_);
        }
    }
    // The reservoir: the k-th point replaces a sample at random with probability size / k.
    if (sample_.size() < sampleSize_) {
        sample_.push_back(record);
    } else if (sampleSize_ > 0) {
        random_ ^= random_ << 13;
        random_ ^= random_ >> 7;
        random_ ^= random_ << 17;
        const std::uint64_t slot = random_ % count_;
        if (slot < sampleSize_) {
            sample_[static_cast<std::size_t>(slot)] = record;
        }
    }
    if (!InsideQuad(p)) {
        buffer_.push_back(record);
        if (buffer_.size() >= kBufferSize) {
            MergeBuffer();
        }
    }
}

// Andrew's monotone chain over the corners and the buffer: the strictly convex corners,
// counter-clockwise; of points at one position the earliest (the corners come first).
void ThinFirstPass::MergeBuffer() {
    std::vector<ThinRecord> points = hull_;
    points.insert(points.end(), buffer_.begin(), buffer_.end());
    buffer_.clear();
    std::stable_sort(points.begin(), points.end(), [](const ThinRecord& a, const ThinRecord& b) {
        return a.p.x < b.p.x || (a.p.x == b.p.x && a.p.y < b.p.y);
    });
    points.erase(std::unique(points.begin(), points.end(),
                             [](const ThinRecord& a, const ThinRecord& b) {
                                 return a.p.x == b.p.x && a.p.y == b.p.y;
                             }),
                 points.end());
    hull_.clear();
    if (points.size() < 3) {
        hull_ = points;
        hasQuad_ = false;
        return;
    }
    const auto chain = [&](auto first, auto last) {
        const std::size_t start = hull_.size();
        for (auto it = first; it != last; ++it) {
            while (hull_.size() >= start + 2 && Orient(Plan(hull_[hull_.size() - 2].p),
                                                       Plan(hull_.back().p), Plan(it->p)) <= 0) {
                hull_.pop_back();
            }
            hull_.push_back(*it);
        }
        hull_.pop_back();
    };
    chain(points.begin(), points.end());
    chain(points.rbegin(), points.rend());
    if (hull_.size() < 3) {
        // All on one line: the two ends stand for the line.
        hull_ = {points.front(), points.back()};
        hasQuad_ = false;
        return;
    }
    const auto extreme = [&](auto better) {
        return std::min_element(hull_.begin(), hull_.end(), better)->p;
    };
    quad_[0] = extreme([](const ThinRecord& a, const ThinRecord& b) { return a.p.x < b.p.x; });
    quad_[1] = extreme([](const ThinRecord& a, const ThinRecord& b) { return a.p.y < b.p.y; });
    quad_[2] = extreme([](const ThinRecord& a, const ThinRecord& b) { return a.p.x > b.p.x; });
    quad_[3] = extreme([](const ThinRecord& a, const ThinRecord& b) { return a.p.y > b.p.y; });
    hasQuad_ = true;
}

std::vector<ThinRecord> ThinFirstPass::Finish() {
    MergeBuffer();
    return hull_.size() >= 3 ? hull_ : std::vector<ThinRecord>();
}

}  // namespace geom
