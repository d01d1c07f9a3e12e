// CTriangle: three vertex indices (i1, i2, i3, base 0) with copies of the corners (p1, p2, p3).
// circleKnown, complete, xc, yc and r are working data of the incremental triangulator; readers
// of results use only the indices and the corner copies.
//
// GetOrientation() gives CounterClockwise when (p2 - p1) × (p3 - p2) has a positive z, otherwise
// Clockwise (a flat triangle is Clockwise). MakeCounterClockwise() swaps the second and third
// corners of a Clockwise triangle; i1 and p1 never move.
#pragma once

#include <cstdint>

#include "geom/kernel/vertex.h"

namespace geom {

enum Orientation { CounterClockwise = 0, Clockwise = 1 };

class CTriangle {
public:
    std::int32_t i1 = 0;
    std::int32_t i2 = 0;
    std::int32_t i3 = 0;
    CVertex p1;
    CVertex p2;
    CVertex p3;
    std::int32_t circleKnown = 0;
    std::int32_t complete = 0;
    double xc = 0.0;
    double yc = 0.0;
    double r = 0.0;

    CTriangle() = default;
    virtual ~CTriangle() = default;
    CTriangle(const CTriangle&) = default;
    CTriangle& operator=(const CTriangle&) = default;

    int GetOrientation() const {
        const CVector c = (p2 - p1).CrossProduct(p3 - p2);
        return c.z > 0 ? CounterClockwise : Clockwise;
    }

    void MakeCounterClockwise() {
        if (GetOrientation() == Clockwise) {
            const std::int32_t i = i2;
            i2 = i3;
            i3 = i;
            const CVertex p = p2;
            p2 = p3;
            p3 = p;
        }
    }
};

}  // namespace geom
