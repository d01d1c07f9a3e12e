// CCrossingTable: crossings of existing edges with design edges handed from the existing triangle
// that made one to its neighbour across the existing edge, which comes later: kept in the
// neighbour's inbox under their pair of edges (existing edge key, design edge key) with their
// isopach vertex and plan position.
//
// CCrossingTable(triangles): inboxes for triangles 0 ... triangles - 1. Add(triangle, crossing)
// puts a crossing into a triangle's inbox (its pair must not be there yet); Take(triangle,
// existingEdge, designEdge, crossing) gives the crossing of that pair from the triangle's inbox
// and forgets it (false when it is not there). The inboxes share one pool whose freed entries are
// used again, so with triangles visited in plan order (OrderSpatially) what is kept at a time
// stays small and close in memory. Throws std::bad_alloc when memory is short.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace geom {

struct EdgeCrossing {
    std::uint64_t existingEdge;
    std::uint64_t designEdge;
    std::int32_t vertex;
    double x;
    double y;
};

class CCrossingTable {
public:
    explicit CCrossingTable(std::size_t triangles) : first_(triangles, -1) {}

    void Add(std::int32_t triangle, const EdgeCrossing& crossing) {
        std::int32_t entry = free_;
        if (entry >= 0) {
            free_ = entries_[static_cast<std::size_t>(entry)].next;
        } else {
            entry = static_cast<std::int32_t>(entries_.size());
            entries_.emplace_back();
        }
        entries_[static_cast<std::size_t>(entry)] = {crossing, first_[triangle]};
        first_[triangle] = entry;
    }

    bool Take(std::int32_t triangle, std::uint64_t existingEdge, std::uint64_t designEdge,
              EdgeCrossing& crossing) {
        for (std::int32_t* link = &first_[triangle]; *link >= 0;
             link = &entries_[static_cast<std::size_t>(*link)].next) {
            const std::int32_t entry = *link;
            Entry& e = entries_[static_cast<std::size_t>(entry)];
            if (e.crossing.existingEdge == existingEdge && e.crossing.designEdge == designEdge) {
                crossing = e.crossing;
                *link = e.next;
                e.next = free_;
                free_ = entry;
                return true;
            }
        }
        return false;
    }

private:
    struct Entry {
        EdgeCrossing crossing;
        std::int32_t next;  // in the same inbox, or in the free list; -1 at the end
    };

    std::vector<std::int32_t> first_;  // per triangle: its inbox's first entry, or -1
    std::vector<Entry> entries_;
    std::int32_t free_ = -1;
};

}  // namespace geom
