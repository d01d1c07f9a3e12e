// CCrossingTable: crossings of existing edges with design edges handed from the existing triangle
// that made one to its neighbour across the existing edge, which comes later: each under its pair
// of edges (existing edge key, design edge key) with its isopach vertex and plan position.
//
// Add(crossing) keeps a crossing (its pair must not be kept yet); Take(existingEdge, designEdge,
// crossing) gives the crossing of that pair and forgets it (false when none is kept). Only the
// crossings on edges between triangles done and triangles still to come are kept at a time, so
// the table stays small. Throws std::bad_alloc when memory is short.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace geom {

struct EdgeCrossing {
    std::uint64_t existingEdge;
    std::uint64_t designEdge;
    std::int32_t vertex;  // -1: a free slot
    double x;
    double y;
};

class CCrossingTable {
public:
    CCrossingTable() : slots_(kFirstCapacity, Free()) {}

    void Add(const EdgeCrossing& crossing) {
        if (2 * (count_ + 1) > slots_.size()) {
            Grow();
        }
        Place(crossing);
        ++count_;
    }

    // Linear probing: the crossings after the freed slot that could sit there move back, so
    // that every crossing stays reachable from its home slot without tombstones.
    bool Take(std::uint64_t existingEdge, std::uint64_t designEdge, EdgeCrossing& crossing) {
        std::size_t hole = Home(existingEdge, designEdge);
        for (;; hole = (hole + 1) & Mask()) {
            if (slots_[hole].vertex < 0) {
                return false;
            }
            if (slots_[hole].existingEdge == existingEdge &&
                slots_[hole].designEdge == designEdge) {
                break;
            }
        }
        crossing = slots_[hole];
        for (std::size_t i = (hole + 1) & Mask(); slots_[i].vertex >= 0; i = (i + 1) & Mask()) {
            const std::size_t home = Home(slots_[i].existingEdge, slots_[i].designEdge);
            // The crossing at i may fill the hole when its home does not lie in (hole, i].
            if (((i - home) & Mask()) >= ((i - hole) & Mask())) {
                slots_[hole] = slots_[i];
                hole = i;
            }
        }
        slots_[hole] = Free();
        --count_;
        return true;
    }

private:
    static constexpr std::size_t kFirstCapacity = 1024;  // a power of two

    static EdgeCrossing Free() { return {0, 0, -1, 0.0, 0.0}; }

    std::size_t Mask() const { return slots_.size() - 1; }

    std::size_t Home(std::uint64_t existingEdge, std::uint64_t designEdge) const {
        std::uint64_t h = existingEdge * 0x9E3779B97F4A7C15ull ^ designEdge;
        h = (h ^ (h >> 31)) * 0xBF58476D1CE4E5B9ull;
        return static_cast<std::size_t>(h ^ (h >> 29)) & Mask();
    }

    void Place(const EdgeCrossing& crossing) {
        std::size_t i = Home(crossing.existingEdge, crossing.designEdge);
        while (slots_[i].vertex >= 0) {
            i = (i + 1) & Mask();
        }
        slots_[i] = crossing;
    }

    void Grow() {
        std::vector<EdgeCrossing> old(2 * slots_.size(), Free());
        old.swap(slots_);
        for (const EdgeCrossing& crossing : old) {
            if (crossing.vertex >= 0) {
                Place(crossing);
            }
        }
    }

    std::vector<EdgeCrossing> slots_;
    std::size_t count_ = 0;
};

}  // namespace geom
