// Plane predicates of the incremental triangulator CDelaunay, on the plan positions of finite
// points. Each decision is first taken in plain floating point; when a bound on that
// evaluation's rounding error (underflow included) says the answer is not certain, or the
// evaluation overflows, it is taken exactly (exact_predicates.h). The answers are exact for
// every finite input, whatever its scale.
//
// OrientSign(a, b, c): the sign (-1, 0, 1) of (b - a) x (c - a); 1 when a, b, c run
// counter-clockwise.
// InCircleSign(a, b, c, d): for a, b, c counter-clockwise, 1 when d lies strictly inside their
// circle, 0 on it, -1 outside.
#pragma once

#include <cmath>
#include <limits>

#include "geom/kernel/vertex.h"

namespace geom {

int OrientSignExact(const CVertex& a, const CVertex& b, const CVertex& c);
int InCircleSignExact(const CVertex& a, const CVertex& b, const CVertex& c, const CVertex& d);

namespace delaunay_filter {

constexpr double kEpsilon = std::numeric_limits<double>::epsilon() / 2;
// Bounds of the plain evaluations relative to their permanents (the same expressions with every
// term taken by its absolute value), the rounding of the differences included.
constexpr double kOrientError = (3.0 + 16.0 * kEpsilon) * kEpsilon;
constexpr double kInCircleError = (10.0 + 96.0 * kEpsilon) * kEpsilon;
// Allowances for results that fall below the normal range, where rounding is absolute: each such
// rounding is off by at most 2^-1075, and may be magnified by the factors it is multiplied with.
constexpr double kTiny = 8.289046058458095e-317;  // 2^-1050
constexpr double kTinyUnit = 8.289046058458095e-317;

}  // namespace delaunay_filter

inline int OrientSign(const CVertex& a, const CVertex& b, const CVertex& c) {
    const double left = (b.x - a.x) * (c.y - a.y);
    const double right = (b.y - a.y) * (c.x - a.x);
    const double det = left - right;
    const double bound = delaunay_filter::kOrientError * (std::fabs(left) + std::fabs(right)) +
                         std::numeric_limits<double>::min();
    if (det > bound) {
        return 1;
    }
    if (-det > bound) {
        return -1;
    }
    return OrientSignExact(a, b, c);
}

inline int InCircleSign(const CVertex& a, const CVertex& b, const CVertex& c, const CVertex& d) {
    const double adx = a.x - d.x, ady = a.y - d.y;
    const double bdx = b.x - d.x, bdy = b.y - d.y;
    const double cdx = c.x - d.x, cdy = c.y - d.y;
    const double bdxcdy = bdx * cdy, cdxbdy = cdx * bdy;
    const double cdxady = cdx * ady, adxcdy = adx * cdy;
    const double adxbdy = adx * bdy, bdxady = bdx * ady;
    const double alift = adx * adx + ady * ady;
    const double blift = bdx * bdx + bdy * bdy;
    const double clift = cdx * cdx + cdy * cdy;
    const double det =
        alift * (bdxcdy - cdxbdy) + blift * (cdxady - adxcdy) + clift * (adxbdy - bdxady);
    const double minors = (std::fabs(bdxcdy) + std::fabs(cdxbdy)) +
                          (std::fabs(cdxady) + std::fabs(adxcdy)) +
                          (std::fabs(adxbdy) + std::fabs(bdxady));
    const double lifts = alift + blift + clift;
    const double permanent = (std::fabs(bdxcdy) + std::fabs(cdxbdy)) * alift +
                             (std::fabs(cdxady) + std::fabs(adxcdy)) * blift +
                             (std::fabs(adxbdy) + std::fabs(bdxady)) * clift;
    const double bound = delaunay_filter::kInCircleError * permanent +
                         delaunay_filter::kTinyUnit * (minors + lifts) + delaunay_filter::kTiny;
    // An overflow makes the bound infinite or NaN, and the comparisons false.
    if (det > bound) {
        return 1;
    }
    if (-det > bound) {
        return -1;
    }
    return InCircleSignExact(a, b, c, d);
}

}  // namespace geom
