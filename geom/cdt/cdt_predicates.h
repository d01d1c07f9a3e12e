// Plane predicates of the constrained triangulator, on plan positions (CdtPoint). Each decision
// is first taken in floating point; when a bound on that evaluation's rounding error says its
// answer is not certain, it is taken exactly (exact_predicates.h). The constrained triangulator
// refuses coordinates that are not finite, so every input here is finite.
//
// CdtOrient(a, b, c): the sign (-1, 0, 1) of (b - a) x (c - a); 1 when a, b, c run
// counter-clockwise (c to the left of the line from a to b).
// CdtInCircle(a, b, c, d): 1 when d lies strictly inside the circle through the counter-clockwise
// triangle a, b, c; 0 on it; -1 outside.
#pragma once

#include <cmath>
#include <limits>

#include "geom/kernel/exact_predicates.h"

namespace geom {

struct CdtPoint {
    double x;
    double y;
};

inline bool operator==(const CdtPoint& a, const CdtPoint& b) {
    return a.x == b.x && a.y == b.y;
}
inline bool operator!=(const CdtPoint& a, const CdtPoint& b) {
    return !(a == b);
}

constexpr double kCdtRoundoff = std::numeric_limits<double>::epsilon() / 2;
// Below this size of the terms the relative bounds no longer cover underflow: decide exactly.
constexpr double kCdtTiny = 1e-280;

inline int CdtOrient(const CdtPoint& a, const CdtPoint& b, const CdtPoint& c) {
    const double left = (b.x - a.x) * (c.y - a.y);
    const double right = (b.y - a.y) * (c.x - a.x);
    const double det = left - right;
    const double size = std::fabs(left) + std::fabs(right);
    // The same bound as the divide-and-conquer triangulator's orientation filter.
    if (std::fabs(det) > 8 * kCdtRoundoff * size && size > kCdtTiny) {
        return det > 0 ? 1 : -1;
    }
    if (a == b || b == c || c == a) {
        return 0;  // an end of the edge itself, which the flips ask about often
    }
    return ExactOrientSign({a.x, a.y}, {b.x, b.y}, {c.x, c.y});
}

inline int CdtInCircle(const CdtPoint& a, const CdtPoint& b, const CdtPoint& c, const CdtPoint& d) {
    // Each corner seen from d, lifted onto the paraboloid: the determinant is the sum over the
    // corners of the lift times the cross product of the other two.
    struct Lifted {
        double dx;
        double dy;
        double lift;
    };
    const auto seen = [&d](const CdtPoint& p) {
        const double dx = p.x - d.x;
        const double dy = p.y - d.y;
        return Lifted{dx, dy, dx * dx + dy * dy};
    };
    const Lifted la = seen(a);
    const Lifted lb = seen(b);
    const Lifted lc = seen(c);
    const auto cross = [](const Lifted& p, const Lifted& q) { return p.dx * q.dy - q.dx * p.dy; };
    const auto bound = [](const Lifted& p, const Lifted& q) {
        return std::fabs(p.dx * q.dy) + std::fabs(q.dx * p.dy);
    };
    const double det = la.lift * cross(lb, lc) + lb.lift * cross(lc, la) + lc.lift * cross(la, lb);
    const double size = la.lift * bound(lb, lc) + lb.lift * bound(lc, la) + lc.lift * bound(la, lb);
    // Shewchuk's first in-circle bound is (10 + 96u) u times the size; 16u leaves room.
    if (std::fabs(det) > 16 * kCdtRoundoff * size && size > kCdtTiny && size < HUGE_VAL) {
        return det > 0 ? 1 : -1;
    }
    return ExactInCircleSign({a.x, a.y}, {b.x, b.y}, {c.x, c.y}, {d.x, d.y});
}

}  // namespace geom
