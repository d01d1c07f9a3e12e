// CEdge: a pair of vertex indices. (-1, -1) marks an edge that has been cancelled.
#pragma once

#include <cstdint>

namespace geom {

class CEdge {
public:
    std::int32_t i1 = 0;
    std::int32_t i2 = 0;

    CEdge() = default;
    CEdge(std::int32_t a, std::int32_t b) : i1(a), i2(b) {}
    virtual ~CEdge() = default;
    CEdge(const CEdge&) = default;
    CEdge& operator=(const CEdge&) = default;
};

}  // namespace geom
