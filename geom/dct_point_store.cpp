#include "geom/dct_point_store.h"

#include <algorithm>

namespace geom {

void DctPointStore::AddRoom() {
    blocks_.reserve(blocks_.size() + 1);
    blocks_.emplace_back(new CVertex[kGrowth]);
    if (blocks_.size() == 1) {
        firstRoom_ = kGrowth;
    }
    room_ += kGrowth;
}

CVertex* DctPointStore::Join(std::uint32_t count) {
    if (blocks_.size() > 1) {
        std::unique_ptr<CVertex[]> joined(new CVertex[room_]);
        std::uint32_t copied = 0;
        for (std::size_t b = 0; b < blocks_.size(); ++b) {
            const std::uint32_t blockRoom = b == 0 ? firstRoom_ : kGrowth;
            const std::uint32_t n = std::min(blockRoom, count - copied);
            std::copy(blocks_[b].get(), blocks_[b].get() + n, joined.get() + copied);
            copied += n;
            blocks_[b].reset();  // released block by block to keep the peak low
        }
        blocks_.clear();
        blocks_.push_back(std::move(joined));
        firstRoom_ = room_;
    }
    return blocks_.empty() ? nullptr : blocks_[0].get();
}

}  // namespace geom
