// CVertex: a survey point. x and y are the plan position, z the elevation (carried, never used in
// a computation) and w an 8-byte field carried along with the point. Two vertices are equal when
// their plan positions are exactly equal; z and w are ignored.
#pragma once

#include <cstdint>

#include "geom/kernel/vector.h"

namespace geom {

class CVertex {
public:
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    std::uint64_t w = 0;

    CVertex() = default;
    CVertex(double x_, double y_, double z_) : x(x_), y(y_), z(z_) {}
    virtual ~CVertex() = default;
    CVertex(const CVertex&) = default;
    CVertex& operator=(const CVertex&) = default;

    bool operator==(CVertex other) const { return x == other.x && y == other.y; }
    CVector operator-(CVertex other) const {
        return CVector(x - other.x, y - other.y, z - other.z);
    }
};

}  // namespace geom
