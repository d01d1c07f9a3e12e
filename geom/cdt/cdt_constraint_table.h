// CdtConstraintTable: the records of the constraint edges (CdtConstraint), keyed by
// CdtEdgeKey(lower vertex, higher vertex).
//
// table[key] gives the key's record, an empty one added when it has none; at(key) gives it and
// throws std::out_of_range when it has none; Take(key) takes the record out of the table (an
// empty record when it has none); ForEach(visit) calls visit(key, record) for every record in the
// table; size() counts them. reserve(n) makes room for n records.
//
// The keys are found in an open-addressing table (linear probing, at most half full) of 16-byte
// slots holding the key and its record's place, so that a look-up reads one slot, mostly, and no
// list of nodes. A record taken out leaves its place marked empty, which its key takes again.
#pragma once

#include <cstdint>
#include <vector>

namespace geom {

struct CdtConstraint {
    int outer = 0;
    int hole = 0;
    std::vector<std::uint32_t> owners;
};

inline std::uint64_t CdtEdgeKey(std::uint32_t u, std::uint32_t w) {
    return u < w ? (std::uint64_t{u} << 32) | w : (std::uint64_t{w} << 32) | u;
}

class CdtConstraintTable {
public:
    void reserve(std::size_t count);
    CdtConstraint& operator[](std::uint64_t key);
    const CdtConstraint& at(std::uint64_t key) const;
    CdtConstraint Take(std::uint64_t key);
    std::size_t size() const { return live_; }

    template <typename Visit>
    void ForEach(Visit visit) const {
        for (const Entry& entry : entries_) {
            if (entry.live) {
                visit(entry.key, entry.record);
            }
        }
    }

private:
    struct Slot {
        std::uint64_t key;
        std::uint32_t place;  // the record's place in entries_ + 1; 0: an empty slot
    };
    struct Entry {
        std::uint64_t key;
        bool live;
        CdtConstraint record;
    };

    // The slot of the key, or the empty slot where it would go.
    std::size_t SlotOf(std::uint64_t key) const;
    // The place + 1 of the key's record while it is in the table; 0 when it is not.
    std::uint32_t LivePlaceOf(std::uint64_t key) const;
    void Rehash(std::size_t slotCount);

    std::vector<Slot> slots_;
    std::vector<Entry> entries_;
    std::size_t live_ = 0;
};

}  // namespace geom
