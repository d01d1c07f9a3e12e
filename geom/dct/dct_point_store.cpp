#include "geom/dct/dct_point_store.h"

#include <new>

namespace geom {

DctPointStore::~DctPointStore() {
    for (CVertex* block : blocks_) {
        ::operator delete(block);
    }
}

CVertex* DctPointStore::NewBlock(std::uint32_t records) {
    return static_cast<CVertex*>(::operator new(sizeof(CVertex) * records));
}

void DctPointStore::AddRoom() {
    blocks_.reserve(blocks_.size() + 1);
    blocks_.push_back(NewBlock(kGrowth));
    if (blocks_.size() == 1) {
        firstRoom_ = kGrowth;
    }
    room_ += kGrowth;
}

void DctPointStore::ReplaceBlocks(CVertex* block) {
    for (CVertex* old : blocks_) {
        ::operator delete(old);
    }
    blocks_.assign(1, block);
    firstRoom_ = room_;
}

CVertex* DctPointStore::Join(std::uint32_t count) {
    if (blocks_.size() > 1) {
        CVertex* const joined = NewBlock(room_);
        for (std::uint32_t i = 0; i < count; ++i) {
            new (joined + i) CVertex((*this)[i]);
        }
        ReplaceBlocks(joined);
    }
    return blocks_[0];
}

void DctPointStore::Reorder(std::uint32_t count, const std::vector<std::uint32_t>& order) {
    CVertex* const reordered = NewBlock(room_);
    for (std::uint32_t i = 0; i < count; ++i) {
        new (reordered + i) CVertex((*this)[order[i]]);
    }
    ReplaceBlocks(reordered);
}

}  // namespace geom
