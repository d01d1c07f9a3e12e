// Plane predicates of CDCT, evaluated in plain floating point with no tolerance.
//
// DctOrient(a, b, c): twice the signed area of the triangle a, b, c; positive when c lies to the
// left of the line from a to b (a, b, c counter-clockwise).
// DctCotangent(c, o, d): the cotangent of the angle at c between o and d, for c to the left of
// the line from o to d (orient = DctOrient(c, o, d), passed in because callers test it first).
#pragma once

#include "geom/dct_records.h"

namespace geom {

inline double DctOrient(const DctVertex& a, const DctVertex& b, const DctVertex& c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

inline double DctCotangent(const DctVertex& c, const DctVertex& o, const DctVertex& d,
                           double orient) {
    return ((d.y - c.y) * (o.y - c.y) + (d.x - c.x) * (o.x - c.x)) / orient;
}

}  // namespace geom
