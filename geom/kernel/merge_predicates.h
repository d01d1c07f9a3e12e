// The divide-and-conquer merge's specialisations of the kernel's predicates (predicates.h).
// Within one merge every coordinate difference is bounded by the span of the merged range, so one
// error bound, worked out once per merge (BoundsOfSpan), settles nearly every decision without
// working out each candidate's own bound; only values within it go on to the candidate's own
// bound and, when that cannot settle them either, to the exact evaluation. Coordinates that are
// not finite take the plain answer.
//
// OrientWithin(a, b, c, bound): Orient(a, b, c) for points within the span the bound was made for.
// SeeBase(c, o, d): candidate c seen from the base edge o -> d, and AboveBase(candidate, o, d,
// bound), whether c lies strictly above the base (Orient(c, o, d) > 0).
// CotGreater(p, q, o, d, bound): for candidates p and q above the base, whether cot(p) > cot(q),
// that is whether p sees the base under a strictly smaller angle, which is whether p lies
// strictly outside the circle through o, d and q: an in-circle decision, taken without dividing.
#pragma once

#include <cmath>

#include "geom/kernel/predicates.h"

namespace geom {

// Orient for points whose coordinate differences lie within a span, given the `above`
// bound of BoundsOfSpan for that span: it covers this evaluation's error too, since the sum of
// the absolute values of its two products is at most 2 * width * height.
inline int OrientWithin(const PlanPoint& a, const PlanPoint& b, const PlanPoint& c, double bound) {
    const double det = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    if (std::fabs(det) > bound) {
        return det > 0 ? 1 : -1;
    }
    return Orient(a, b, c);
}

// What a candidate c shows of the base edge o -> d: the dot and cross products of c->d and c->o
// (their quotient is the cotangent of the angle at c).
struct MergeCandidate {
    const PlanPoint* vertex;
    double dot;
    double cross;
};

inline MergeCandidate SeeBase(const PlanPoint& c, const PlanPoint& o, const PlanPoint& d) {
    const double dxo = o.x - c.x;
    const double dyo = o.y - c.y;
    const double dxd = d.x - c.x;
    const double dyd = d.y - c.y;
    MergeCandidate candidate;
    candidate.vertex = &c;
    candidate.cross = dxo * dyd - dyo * dxd;
    candidate.dot = dyd * dyo + dxd * dxo;
    return candidate;
}

// The sum of the absolute values of the four products that the dot and cross products of c->d
// and c->o are made of, (|dxo| + |dyo|)(|dxd| + |dyd|): it bounds their rounding errors.
inline double CandidateSize(const PlanPoint& c, PlanPoint o, PlanPoint d) {
    const double dxo = o.x - c.x;
    const double dyo = o.y - c.y;
    const double dxd = d.x - c.x;
    const double dyd = d.y - c.y;
    return (std::fabs(dxo) + std::fabs(dyo)) * (std::fabs(dxd) + std::fabs(dyd));
}

// The error bounds of the merge decisions for given candidate sizes. Each bound grows with the
// sizes, so bounds taken with a size no smaller than every candidate's cover all of them.
inline double AboveBound(double size) {
    return predicate_bounds::kOrientError * size + predicate_bounds::kOrientUnderflow;
}

// The error of dot p * cross q - dot q * cross p: dot and cross are each within 4u of their
// size of the exact values, so the two products are within 8u of the sizes' product, and the
// two roundings of the products and the one of their difference add 2u; 12u covers the sum with
// room for the terms of second order. Results below the normal range are off by a few units of
// 2^-1074 at most, which the products with the other candidate's size may magnify: an allowance
// of 2^-1000 times the sizes covers that.
constexpr double kCotError = 12 * predicate_bounds::kRoundoff;
constexpr double kCotUnderflow = 9.332636185032189e-302;  // 2^-1000

inline double CotBound(double pSize, double qSize) {
    return kCotError * (pSize * qSize) + kCotUnderflow * (pSize + qSize) +
           predicate_bounds::kOrientUnderflow;
}

// Bounds that hold for every candidate of one merge: for all vertices of the merged range, x
// differences are at most `width` and y differences at most `height` in size, so each size is at
// most (width + height)^2 (rounding is monotone, so this holds for the rounded values as well).
// A decision whose value exceeds them in size is the one the candidates' own bounds give.
struct MergeBounds {
    double above;
    double cot;
};

inline MergeBounds BoundsOfSpan(double width, double height) {
    const double side = width + height;
    const double size = side * side;
    return {AboveBound(size), CotBound(size, size)};
}

// The decisions that the merge's bounds leave open, kept out of line so that the merge's loop
// carries nothing for them; o and d are the base's end vertices. AboveSlow takes a candidate
// that is an end of the base itself as lying on it.
bool AboveSlow(const PlanPoint* c, const PlanPoint* o, const PlanPoint* d);
bool CotGreaterSlow(const PlanPoint* p, const PlanPoint* q, const PlanPoint* o, const PlanPoint* d);

// Whether the candidate lies strictly above the base o -> d (to its left), given the `above`
// bound of the merge.
inline bool AboveBase(const MergeCandidate& c, const PlanPoint* o, const PlanPoint* d,
                      double bound) {
    if (c.cross > bound) {
        return true;
    }
    if (c.cross < -bound) {
        return false;
    }
    return AboveSlow(c.vertex, o, d);
}

// cot p - cot q has the sign of dot p * cross q - dot q * cross p, both crosses being positive;
// `bound` is the `cot` bound of the merge.
inline bool CotGreater(const MergeCandidate& p, const MergeCandidate& q, const PlanPoint* o,
                       const PlanPoint* d, double bound) {
    const double difference = p.dot * q.cross - q.dot * p.cross;
    if (difference > bound) {
        return true;
    }
    if (difference < -bound) {
        return false;
    }
    return CotGreaterSlow(p.vertex, q.vertex, o, d);
}

}  // namespace geom
