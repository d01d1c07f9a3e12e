// CCrossingTable: the crossings of existing edges with design edges that the cut/fill map has
// made and still needs, each under its pair of edges (existing edge key, design edge key) with
// its isopach vertex, its plan position and the existing triangle that holds it (holder).
//
// Find(existingEdge, designEdge) gives the crossing or null; Add(crossing) keeps a new one (its
// pair must not be kept yet); Remove(existingEdge, designEdge) forgets one (nothing when it is
// not kept). Only the crossings on edges between triangles done and triangles still to come are
// kept at a time, so the table stays small and in the cache. Throws std::bad_alloc when memory is
// short.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace geom {

struct EdgeCrossing {
    std::uint64_t existingEdge;
    std::uint64_t designEdge;
    std::int32_t vertex;  // -1: a free slot
    std::int32_t holder;
    double x;
    double y;
};

class CCrossingTable {
public:
    CCrossingTable() : slots_(kFirstCapacity, Free()) {}

    EdgeCrossing* Find(std::uint64_t existingEdge, std::uint64_t designEdge) {
        for (std::size_t i = Home(existingEdge, designEdge);; i = (i + 1) & Mask()) {
            EdgeCrossing& slot = slots_[i];
            if (slot.vertex < 0) {
                return nullptr;
            }
            if (slot.existingEdge == existingEdge && slot.designEdge == designEdge) {
                return &slot;
            }
        }
    }

    void Add(const EdgeCrossing& crossing) {
        if (2 * (count_ + 1) > slots_.size()) {
            Grow();
        }
        Place(crossing);
        ++count_;
    }

    // Linear probing: the crossings after the freed slot that could sit there move back, so
    // that every crossing stays reachable from its home slot without tombstones.
    void Remove(std::uint64_t existingEdge, std::uint64_t designEdge) {
        EdgeCrossing* found = Find(existingEdge, designEdge);
        if (found == nullptr) {
            return;
        }
        std::size_t hole = static_cast<std::size_t>(found - slots_.data());
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
    }

private:
    static constexpr std::size_t kFirstCapacity = 1024;  // a power of two

    static EdgeCrossing Free() { return {0, 0, -1, -1, 0.0, 0.0}; }

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
