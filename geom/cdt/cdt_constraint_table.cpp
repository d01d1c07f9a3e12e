#include "geom/cdt/cdt_constraint_table.h"

#include <stdexcept>
#include <utility>

namespace geom {

void CdtConstraintTable::reserve(std::size_t count) {
    entries_.reserve(count);
    std::size_t slotCount = 16;
    while (slotCount < 2 * count) {
        slotCount *= 2;
    }
    if (slotCount > slots_.size()) {
        Rehash(slotCount);
    }
}

std::size_t CdtConstraintTable::SlotOf(std::uint64_t key) const {
    const std::size_t mask = slots_.size() - 1;
    // The product's high bits mix both vertex numbers of the key.
    std::size_t k = static_cast<std::size_t>((key * 0x9E3779B97F4A7C15u) >> 32) & mask;
    while (slots_[k].place != 0 && slots_[k].key != key) {
        k = (k + 1) & mask;
    }
    return k;
}

void CdtConstraintTable::Rehash(std::size_t slotCount) {
    std::vector<Slot> old(slotCount, Slot{0, 0});
    old.swap(slots_);
    for (const Slot& slot : old) {
        if (slot.place != 0) {
            slots_[SlotOf(slot.key)] = slot;
        }
    }
}

CdtConstraint& CdtConstraintTable::operator[](std::uint64_t key) {
    if (2 * (entries_.size() + 1) > slots_.size()) {
        Rehash(slots_.empty() ? 16 : 2 * slots_.size());
    }
    Slot& slot = slots_[SlotOf(key)];
    if (slot.place == 0) {
        entries_.push_back(Entry{key, false, CdtConstraint{}});
        slot = Slot{key, static_cast<std::uint32_t>(entries_.size())};
    }
    Entry& entry = entries_[slot.place - 1];
    if (!entry.live) {
        entry.live = true;
        ++live_;
    }
    return entry.record;
}

std::uint32_t CdtConstraintTable::LivePlaceOf(std::uint64_t key) const {
    if (slots_.empty()) {
        return 0;
    }
    const std::uint32_t place = slots_[SlotOf(key)].place;
    return place != 0 && entries_[place - 1].live ? place : 0;
}

const CdtConstraint& CdtConstraintTable::at(std::uint64_t key) const {
    const std::uint32_t place = LivePlaceOf(key);
    if (place == 0) {
        throw std::out_of_range("no constraint record for the edge");
    }
    return entries_[place - 1].record;
}

CdtConstraint CdtConstraintTable::Take(std::uint64_t key) {
    const std::uint32_t place = LivePlaceOf(key);
    if (place == 0) {
        return {};
    }
    Entry& entry = entries_[place - 1];
    entry.live = false;
    --live_;
    return std::exchange(entry.record, CdtConstraint{});
}

}  // namespace geom
