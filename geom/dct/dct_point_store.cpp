#include "geom/dct/dct_point_store.h"

#include <new>

namespace geom {

DctPointStore::~DctPointStore() {
    for (DctStoredPoint* block : blocks_) {
        ::operator delete(block);
    }
}

DctStoredPoint* DctPointStore::NewBlock(std::uint32_t records) {
    return static_cast<DctStoredPoint*>(::operator new(sizeof(DctStoredPoint) * records));
}

void DctPointStore::AddRoom() {
    blocks_.reserve(blocks_.size() + 1);
    blocks_.push_back(NewBlock(kGrowth));
    if (blocks_.size() == 1) {
        firstRoom_ = kGrowth;
    }
    room_ += kGrowth;
}

void DctPointStore::ReplaceBlocks(DctStoredPoint* block) {
    for (DctStoredPoint* old : blocks_) {
        ::operator delete(old);
    }
    blocks_.assign(1, block);
    firstRoom_ = room_;
}

DctStoredPoint* DctPointStore::Join(std::uint32_t count) {
    if (blocks_.size() > 1) {
        DctStoredPoint* const joined = NewBlock(room_);
        for (std::uint32_t i = 0; i < count; ++i) {
            new (joined + i) DctStoredPoint((*this)[i]);
        }
        ReplaceBlocks(joined);
    }
    return blocks_[0];
}

void DctPointStore::Reorder(std::uint32_t count, const std::vector<std::uint32_t>& order) {
    DctStoredPoint* const reordered = NewBlock(room_);
    for (std::uint32_t i = 0; i < count; ++i) {
        new (reordered + i) DctStoredPoint((*this)[order[i]]);
    }
    ReplaceBlocks(reordered);
}

}  // namespace geom
