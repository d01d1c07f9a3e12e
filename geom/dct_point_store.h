// DctPointStore: the growable point store of CDCT.
//
// Input: points written one after the other with Set(i, ...) at i < Room(); AddRoom() adds room
// for 50,000 more points and keeps every point already stored. Output: the stored points by
// position (operator[]) and, after Join(), as one contiguous array that can be sorted in place.
//
// The room is held in blocks of 50,000 records so that growing never copies the points stored
// so far; Join() moves them into one array once, when the triangulation starts.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "geom/vertex.h"

namespace geom {

class DctPointStore {
public:
    static constexpr std::uint32_t kGrowth = 50000;

    std::uint32_t Room() const { return room_; }

    // Room for kGrowth more points. Throws std::bad_alloc when the memory cannot be had.
    void AddRoom();

    void Set(std::uint32_t i, double x, double y, double z) {
        CVertex& point = (*this)[i];
        point.x = x;
        point.y = y;
        point.z = z;
        point.w = 0;
    }

    CVertex& operator[](std::uint32_t i) {
        if (i < firstRoom_) {
            return blocks_[0][i];
        }
        const std::uint32_t k = i - firstRoom_;
        return blocks_[1 + k / kGrowth][k % kGrowth];
    }
    const CVertex& operator[](std::uint32_t i) const {
        return const_cast<DctPointStore&>(*this)[i];
    }

    // Puts the first `count` points into one block (the room is kept) and gives that block.
    // Throws std::bad_alloc when the memory cannot be had; the store is then unchanged.
    CVertex* Join(std::uint32_t count);

private:
    std::vector<std::unique_ptr<CVertex[]>> blocks_;
    std::uint32_t firstRoom_ = 0;  // records in blocks_[0]; every later block holds kGrowth
    std::uint32_t room_ = 0;
};

}  // namespace geom
