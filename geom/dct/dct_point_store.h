// DctPointStore: the growable point store of CDCT.
//
// Input: points written one after the other with Set(i, ...) at i < Room(); AddRoom() adds room
// for 50,000 more points (kBlockBytes) and keeps every point already stored. Output: the stored
// points by position (operator[]), as DctStoredPoint records: x, y and z, all a point added to
// CDCT has (its CVertex's w is always 0); Join() and Reorder() put the first `count` points into
// one contiguous block, as they are or in a given order, keeping the room.
//
// The room is held in blocks so that growing never copies the points stored so far. The records
// are trivial, placed in raw storage when set (or copied into a new block).
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

namespace geom {

struct DctStoredPoint {
    double x;
    double y;
    double z;
};

class DctPointStore {
public:
    static constexpr std::uint32_t kGrowth = 50000;
    static constexpr std::size_t kBlockBytes = kGrowth * sizeof(DctStoredPoint);

    DctPointStore() = default;
    ~DctPointStore();
    DctPointStore(const DctPointStore&) = delete;
    DctPointStore& operator=(const DctPointStore&) = delete;

    std::uint32_t Room() const { return room_; }

    // Room for kGrowth more points. Throws std::bad_alloc when the memory cannot be had.
    void AddRoom();

    void Set(std::uint32_t i, double x, double y, double z) {
        new (Slot(i)) DctStoredPoint{x, y, z};
    }

    const DctStoredPoint& operator[](std::uint32_t i) const { return *Slot(i); }

    // The first `count` points in one block, in store order. Throws std::bad_alloc (store
    // unchanged) when the memory cannot be had.
    DctStoredPoint* Join(std::uint32_t count);

    // The first `count` points in one block, point k of it being point order[k]. Throws
    // std::bad_alloc (store unchanged) when the memory cannot be had.
    void Reorder(std::uint32_t count, const std::vector<std::uint32_t>& order);

private:
    DctStoredPoint* Slot(std::uint32_t i) const {
        if (i < firstRoom_) {
            return blocks_[0] + i;
        }
        const std::uint32_t k = i - firstRoom_;
        return blocks_[1 + k / kGrowth] + k % kGrowth;
    }

    static DctStoredPoint* NewBlock(std::uint32_t records);
    void ReplaceBlocks(DctStoredPoint* block);

    std::vector<DctStoredPoint*> blocks_;
    std::uint32_t firstRoom_ = 0;  // records in blocks_[0]; every later block holds kGrowth
    std::uint32_t room_ = 0;
};

}  // namespace geom
