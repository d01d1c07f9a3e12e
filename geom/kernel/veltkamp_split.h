// VeltkampSplit(v, high, low): v = high + low exactly, each half with at most 26 significant bits
// (Veltkamp's split by 2^27 + 1), so that the product of two halves, or of a half and an integer
// below 2^27, is exact. For finite v well below the largest double (the scaling must not
// overflow).
#pragma once

namespace geom {

inline void VeltkampSplit(double v, double& high, double& low) {
    const double scaled = 134217729.0 * v;  // 2^27 + 1
    high = scaled - (scaled - v);
    low = v - high;
}

}  // namespace geom
