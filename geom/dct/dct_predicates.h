// Plane predicates of CDCT. Each decision is first taken in plain floating point; when a bound
// on that evaluation's rounding error says its answer is not certain, the decision is taken
// exactly (exact_predicates.h). So every decision the floating-point evaluation gets right is
// kept, and only the doubtful ones change. Coordinates that are not finite take the plain answer.
//
// DctOrientSign(a, b, c): the sign of (b - a) x (c - a); 1 when c lies to the left of the line
// from a to b (a, b, c counter-clockwise).
// DctSeeBase(c, o, d): candidate c seen from the base edge o -> d, and DctAbove(candidate, o, d,
// bound), whether c lies strictly above the base (DctOrientSign(c, o, d) > 0).
// DctCotGreater(p, q, o, d, bound): for candidates p and q above the base, whether
// cot(p) > cot(q), that is whether p sees the base under a strictly smaller angle, which is
// whether p lies strictly outside the circle through o, d and q: an in-circle decision, taken
// without dividing.
// The merge decisions are first tried against bounds that hold for the whole merge
// (DctBoundsOfSpan), which saves working out each candidate's own bound; only values within
// those go on to the candidate's own bound and, when that cannot settle them either, to the
// exact evaluation.
#pragma once

#include <cmath>
#include <limits>

#include "geom/dct/dct_records.h"

namespace geom {

// The unit roundoff, and an absolute allowance that covers the error of any result below the
// normal range.
constexpr double kDctRoundoff = std::numeric_limits<double>::epsilon() / 2;
constexpr double kDctUnderflow = std::numeric_limits<double>::min();

// l - r with l and r products of differences of doubles is within 4u (|l| + |r|) of the exact
// value (plus the allowance below the normal range); the filter uses twice that.
constexpr double kDctOrientError = 8 * kDctRoundoff;

int DctOrientSignExact(const DctPoint& a, const DctPoint& b, const DctPoint& c, double det);

inline int DctOrientSign(const DctPoint& a, const DctPoint& b, const DctPoint& c) {
    const double left = (b.x - a.x) * (c.y - a.y);
    const double right = (b.y - a.y) * (c.x - a.x);
    const double det = left - right;
    const double bound = kDctOrientError * (std::fabs(left) + std::fabs(right)) + kDctUnderflow;
    if (std::fabs(det) > bound) {
        return det > 0 ? 1 : -1;
    }
    return DctOrientSignExact(a, b, c, det);
}

// DctOrientSign for points whose coordinate differences lie within a span, given the `above`
// bound of DctBoundsOfSpan for that span: it covers this evaluation's error too, since the sum of
// the absolute values of its two products is at most 2 * width * height.
inline int DctOrientSignWithin(const DctPoint& a, const DctPoint& b, const DctPoint& c,
                               double bound) {
    const double det = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    if (std::fabs(det) > bound) {
        return det > 0 ? 1 : -1;
    }
    return DctOrientSign(a, b, c);
}

// What a candidate c shows of the base edge o -> d: the dot and cross products of c->d and c->o
// (their quotient is the cotangent of the angle at c).
struct DctCandidate {
    const DctPoint* vertex;
    double dot;
    double cross;
};

inline DctCandidate DctSeeBase(const DctPoint& c, const DctPoint& o, const DctPoint& d) {
    const double dxo = o.x - c.x;
    const double dyo = o.y - c.y;
    const double dxd = d.x - c.x;
    const double dyd = d.y - c.y;
    DctCandidate candidate;
    candidate.vertex = &c;
    candidate.cross = dxo * dyd - dyo * dxd;
    candidate.dot = dyd * dyo + dxd * dxo;
    return candidate;
}

// The sum of the absolute values of the four products that the dot and cross products of c->d
// and c->o are made of, (|dxo| + |dyo|)(|dxd| + |dyd|): it bounds their rounding errors.
inline double DctCandidateSize(const DctPoint& c, DctPoint o, DctPoint d) {
    const double dxo = o.x - c.x;
    const double dyo = o.y - c.y;
    const double dxd = d.x - c.x;
    const double dyd = d.y - c.y;
    return (std::fabs(dxo) + std::fabs(dyo)) * (std::fabs(dxd) + std::fabs(dyd));
}

// The error bounds of the merge decisions for given candidate sizes. Each bound grows with the
// sizes, so bounds taken with a size no smaller than every candidate's cover all of them.
inline double DctAboveBound(double size) {
    return kDctOrientError * size + kDctUnderflow;
}

// The error of dot p * cross q - dot q * cross p: dot and cross are each within 4u of their
// size of the exact values, so the two products are within 8u of the sizes' product, and the
// two roundings of the products and the one of their difference add 2u; 12u covers the sum with
// room for the terms of second order. Results below the normal range are off by a few units of
// 2^-1074 at most, which the products with the other candidate's size may magnify: an allowance
// of 2^-1000 times the sizes covers that.
constexpr double kDctCotError = 12 * kDctRoundoff;
constexpr double kDctCotUnderflow = 9.332636185032189e-302;  // 2^-1000

inline double DctCotBound(double pSize, double qSize) {
    return kDctCotError * (pSize * qSize) + kDctCotUnderflow * (pSize + qSize) + kDctUnderflow;
}

// Bounds that hold for every candidate of one merge: for all vertices of the merged range, x
// differences are at most `width` and y differences at most `height` in size, so each size is at
// most (width + height)^2 (rounding is monotone, so this holds for the rounded values as well).
// A decision whose value exceeds them in size is the one the candidates' own bounds give.
struct DctMergeBounds {
    double above;
    double cot;
};

inline DctMergeBounds DctBoundsOfSpan(double width, double height) {
    const double side = width + height;
    const double size = side * side;
    return {DctAboveBound(size), DctCotBound(size, size)};
}

// The decisions that the merge's bounds leave open, kept out of line so that the merge's loop
// carries nothing for them; o and d are the base's end vertices. DctAboveSlow takes a candidate
// that is an end of the base itself as lying on it.
bool DctAboveSlow(const DctPoint* c, const DctPoint* o, const DctPoint* d);
bool DctCotGreaterSlow(const DctPoint* p, const DctPoint* q, const DctPoint* o, const DctPoint* d);

// Whether the candidate lies strictly above the base o -> d (to its left), given the `above`
// bound of the merge.
inline bool DctAbove(const DctCandidate& c, const DctPoint* o, const DctPoint* d, double bound) {
    if (c.cross > bound) {
        return true;
    }
    if (c.cross < -bound) {
        return false;
    }
    return DctAboveSlow(c.vertex, o, d);
}

// cot p - cot q has the sign of dot p * cross q - dot q * cross p, both crosses being positive;
// `bound` is the `cot` bound of the merge.
inline bool DctCotGreater(const DctCandidate& p, const DctCandidate& q, const DctPoint* o,
                          const DctPoint* d, double bound) {
    const double difference = p.dot * q.cross - q.dot * p.cross;
    if (difference > bound) {
        return true;
    }
    if (difference < -bound) {
        return false;
    }
    return DctCotGreaterSlow(p.vertex, q.vertex, o, d);
}

}  // namespace geom
