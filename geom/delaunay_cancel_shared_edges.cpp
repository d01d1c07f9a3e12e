#include "geom/delaunay_cancel_shared_edges.h"

#include <cstddef>
#include <cstdint>

namespace geom {

namespace {

// The same key for (a, b) and (b, a). No edge with valid indices has the key kPaired.
std::uint64_t UndirectedKey(const CEdge& edge) {
    const std::uint32_t a = static_cast<std::uint32_t>(edge.i1);
    const std::uint32_t b = static_cast<std::uint32_t>(edge.i2);
    return a < b ? (std::uint64_t{a} << 32) | b : (std::uint64_t{b} << 32) | a;
}

constexpr std::uint64_t kPaired = ~std::uint64_t{0};

// Edges waiting for their partner, by key: open addressing over a power-of-two number of slots,
// at least twice as many as edges. A slot whose edge has been paired stays taken (key kPaired)
// so that probing goes on past it.
class CWaitingEdges {
public:
    struct Slot {
        std::uint64_t key;
        std::uint32_t position;  // edge position + 1; 0 for a free slot
    };

    explicit CWaitingEdges(std::size_t edgeCount) {
        std::size_t size = 16;
        while (size < 2 * edgeCount) {
            size *= 2;
        }
        mask_ = size - 1;
        if (size <= kLocal) {
            slots_ = local_;
        } else {
            spill_.resize(size);
            slots_ = spill_.data();
        }
        for (std::size_t s = 0; s < size; ++s) {
            slots_[s].position = 0;
        }
    }

    // The slot for key: free, or holding the waiting edge with that key.
    Slot& SlotFor(std::uint64_t key) {
        std::size_t s = static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 40) & mask_;
        while (slots_[s].position != 0 && slots_[s].key != key) {
            s = (s + 1) & mask_;
        }
        return slots_[s];
    }

private:
    static constexpr std::size_t kLocal = 128;
    Slot local_[kLocal];
    std::vector<Slot> spill_;
    Slot* slots_;
    std::size_t mask_;
};

}  // namespace

void CancelSharedEdges(std::vector<CEdge>& edges) {
    const std::size_t count = edges.size();
    CWaitingEdges waiting(count);
    for (std::size_t j = 0; j < count; ++j) {
        if (edges[j].i1 == -1 && edges[j].i2 == -1) {
            continue;
        }
        CWaitingEdges::Slot& slot = waiting.SlotFor(UndirectedKey(edges[j]));
        if (slot.position == 0) {
            slot.key = UndirectedKey(edges[j]);
            slot.position = static_cast<std::uint32_t>(j + 1);
        } else {
            edges[slot.position - 1] = CEdge(-1, -1);
            edges[j] = CEdge(-1, -1);
            slot.key = kPaired;
        }
    }
}

}  // namespace geom
