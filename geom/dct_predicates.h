// Plane predicates of CDCT. Each decision is first taken in plain floating point; when a bound
// on that evaluation's rounding error says its answer is not certain, the decision is taken
// exactly (exact_predicates.h). So every decision the floating-point evaluation gets right is
// kept, and only the doubtful ones change. Coordinates that are not finite take the plain answer.
//
// DctOrientSign(a, b, c): the sign of (b - a) x (c - a); 1 when c lies to the left of the line
// from a to b (a, b, c counter-clockwise).
// DctSeeBase(c, o, d): candidate c seen from the base edge o -> d, and DctAbove(candidate, o, d),
// whether c lies strictly above the base (DctOrientSign(c, o, d) > 0).
// DctCotGreater(p, q, o, d): for candidates p and q above the base, whether cot(p) > cot(q), that
// is whether p sees the base under a strictly smaller angle, which is whether p lies strictly
// outside the circle through o, d and q: an in-circle decision, taken without dividing.
#pragma once

#include <cmath>
#include <limits>

#include "geom/dct_records.h"

namespace geom {

// The unit roundoff, and an absolute allowance that covers the error of any result below the
// normal range.
constexpr double kDctRoundoff = std::numeric_limits<double>::epsilon() / 2;
constexpr double kDctUnderflow = std::numeric_limits<double>::min();

// l - r with l and r products of differences of doubles is within 4u (|l| + |r|) of the exact
// value (plus the allowance below the normal range); the filter uses twice that.
constexpr double kDctOrientError = 8 * kDctRoundoff;

int DctOrientSignExact(const DctVertex& a, const DctVertex& b, const DctVertex& c, double det);

inline int DctOrientSign(const DctVertex& a, const DctVertex& b, const DctVertex& c) {
    const double left = (b.x - a.x) * (c.y - a.y);
    const double right = (b.y - a.y) * (c.x - a.x);
    const double det = left - right;
    const double bound = kDctOrientError * (std::fabs(left) + std::fabs(right)) + kDctUnderflow;
    if (std::fabs(det) > bound) {
        return det > 0 ? 1 : -1;
    }
    return DctOrientSignExact(a, b, c, det);
}

// What a candidate c shows of the base edge o -> d: the dot and cross products of c->d and c->o
// (their quotient is the cotangent of the angle at c) and `size`, the sum of the absolute values
// of the four products they are made of, which bounds their rounding errors.
struct DctCandidate {
    const DctVertex* vertex;
    double dot;
    double cross;
    double size;
};

inline DctCandidate DctSeeBase(const DctVertex& c, const DctVertex& o, const DctVertex& d) {
    const double dxo = o.x - c.x;
    const double dyo = o.y - c.y;
    const double dxd = d.x - c.x;
    const double dyd = d.y - c.y;
    DctCandidate candidate;
    candidate.vertex = &c;
    candidate.cross = dxo * dyd - dyo * dxd;
    candidate.dot = dyd * dyo + dxd * dxo;
    // (|dxo| + |dyo|)(|dxd| + |dyd|) is the sum of the four products' absolute values.
    candidate.size = (std::fabs(dxo) + std::fabs(dyo)) * (std::fabs(dxd) + std::fabs(dyd));
    return candidate;
}

// Whether the candidate lies strictly above the base (to its left, seen from o to d).
inline bool DctAbove(const DctCandidate& c, const DctVertex& o, const DctVertex& d) {
    const double bound = kDctOrientError * c.size + kDctUnderflow;
    if (std::fabs(c.cross) > bound) {
        return c.cross > 0;
    }
    return DctOrientSignExact(*c.vertex, o, d, c.cross) > 0;
}

// The error of dot p * cross q - dot q * cross p: dot and cross are each within 4u of their
// size of the exact values, so the two products are within 8u of the sizes' product, and the
// two roundings of the products and the one of their difference add 2u; 12u covers the sum with
// room for the terms of second order. Results below the normal range are off by a few units of
// 2^-1074 at most, which the products with the other candidate's size may magnify: an allowance
// of 2^-1000 times the sizes covers that.
constexpr double kDctCotError = 12 * kDctRoundoff;
constexpr double kDctCotUnderflow = 9.332636185032189e-302;  // 2^-1000

bool DctCotGreaterExact(const DctCandidate& p, const DctCandidate& q, const DctVertex& o,
                        const DctVertex& d);

// cot p - cot q has the sign of dot p * cross q - dot q * cross p, both crosses being positive.
inline bool DctCotGreater(const DctCandidate& p, const DctCandidate& q, const DctVertex& o,
                          const DctVertex& d) {
    const double difference = p.dot * q.cross - q.dot * p.cross;
    const double bound =
        kDctCotError * (p.size * q.size) + kDctCotUnderflow * (p.size + q.size) + kDctUnderflow;
    if (std::fabs(difference) > bound) {
        return difference > 0;
    }
    return DctCotGreaterExact(p, q, o, d);
}

}  // namespace geom
