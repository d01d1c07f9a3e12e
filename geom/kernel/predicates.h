// The plan predicates every triangulator and surface algorithm decides with.
//
// Orient(a, b, c): the sign (-1, 0, 1) of (b - a) x (c - a); 1 when a, b, c run
// counter-clockwise (c to the left of the line from a to b).
// OrientIfCertain(a, b, c): Orient's sign where the floating-point evaluation settles it, else 0;
// without branches, so that batches of orientations run straight through.
// InCircle(a, b, c, d): for a, b, c counter-clockwise, 1 when d lies strictly inside their
// circle, 0 on it, -1 outside.
// InBox(a, b, p): whether p lies in the closed box spanned by a and b.
// OnSegment(a, b, p): whether p lies on the closed segment from a to b.
// SegmentsCross(a, b, c, d): whether the segments a-b and c-d cross at one point inside both
// (touching at an end, or running along each other, is no crossing).
// PlanCross(a, b, c): the value (b - a) x (c - a) in plain floating point, for constructions
// (clipping, crossing points, areas) that need the number rather than a certain sign.
//
// Each predicate is first evaluated in floating point; when the bound on that evaluation's
// rounding error written beside it says the sign is not certain (or the evaluation overflowed),
// the decision is taken exactly (exact_predicates.h). So the answers are exact for every finite
// input, whatever its scale. Coordinates that are not finite take the floating-point sign.
#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

#include "geom/kernel/plan_point.h"

namespace geom {

namespace predicate_bounds {

// The unit roundoff u: every operation on doubles is within u of its exact result, relative to
// it, unless the result falls below the normal range.
constexpr double kRoundoff = std::numeric_limits<double>::epsilon() / 2;

// Orientation, det = l - r with l = (bx - ax)(cy - ay) and r = (by - ay)(cx - ax): the two
// differences and the product of l carry three roundings, (1 + u)^3 - 1 < 3u + 4u^2 relative
// to |l|, and the same for r; the final subtraction adds u |det| <= u (|l| + |r|) (1 + 4u). The
// error, taken relative to the rounded |l| + |r| and including the rounding of the bound itself,
// stays below (3 + 16u) u (|l| + |r|).
constexpr double kOrientError = (3.0 + 16.0 * kRoundoff) * kRoundoff;

// In-circle, det = sum over the corners of lift * minor, with lifts (x - dx)^2 + (y - dy)^2 and
// minors the cross products of the other two corners seen from d: by the same count of
// roundings, taken over the permanent (the same sum with every product by its absolute value),
// the error stays below (10 + 96u) u times the permanent.
constexpr double kInCircleError = (10.0 + 96.0 * kRoundoff) * kRoundoff;

// Below the normal range rounding is absolute. Differences of doubles are then exact, and each
// rounded product is off by at most 2^-1075: for the orientation, the smallest normal number
// covers the two products. For the in-circle, such an error in a lift or minor is magnified by
// the factor it is multiplied with, hence an allowance of 2^-1050 per unit of the minors and
// lifts, and 2^-1050 for the rest.
constexpr double kOrientUnderflow = std::numeric_limits<double>::min();
constexpr double kInCircleUnderflow = 8.289046058458095e-317;  // 2^-1050

}  // namespace predicate_bounds

// The decisions the filters leave open, out of line: exact for finite points.
int OrientUncertain(PlanPoint a, PlanPoint b, PlanPoint c, double det);
int InCircleUncertain(PlanPoint a, PlanPoint b, PlanPoint c, PlanPoint d, double det);

// The floating-point orientation determinant and the bound on its rounding error.
struct OrientEstimate {
    double det;
    double bound;
};

// The same for the line from a along `along` (b - a, as doubles), for many c on one line.
inline OrientEstimate EstimateOrientAlong(PlanPoint a, PlanPoint along, PlanPoint c) {
    const double left = along.x * (c.y - a.y);
    const double right = along.y * (c.x - a.x);
    return {left - right, predicate_bounds::kOrientError * (std::fabs(left) + std::fabs(right)) +
                              predicate_bounds::kOrientUnderflow};
}

inline OrientEstimate EstimateOrient(PlanPoint a, PlanPoint b, PlanPoint c) {
    return EstimateOrientAlong(a, {b.x - a.x, b.y - a.y}, c);
}

inline int Orient(PlanPoint a, PlanPoint b, PlanPoint c) {
    const OrientEstimate e = EstimateOrient(a, b, c);
    // An overflow makes the bound infinite or NaN, and both comparisons false.
    if (e.det > e.bound) {
        return 1;
    }
    if (-e.det > e.bound) {
        return -1;
    }
    return OrientUncertain(a, b, c, e.det);
}

inline int OrientIfCertain(PlanPoint a, PlanPoint b, PlanPoint c) {
    const OrientEstimate e = EstimateOrient(a, b, c);
    return static_cast<int>(e.det > e.bound) - static_cast<int>(-e.det > e.bound);
}

inline int InCircle(PlanPoint a, PlanPoint b, PlanPoint c, PlanPoint d) {
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
    const double bound = predicate_bounds::kInCircleError * permanent +
                         predicate_bounds::kInCircleUnderflow * (minors + lifts) +
                         predicate_bounds::kInCircleUnderflow;
    // An overflow makes the bound infinite or NaN, and both comparisons false.
    if (det > bound) {
        return 1;
    }
    if (-det > bound) {
        return -1;
    }
    return InCircleUncertain(a, b, c, d, det);
}

inline bool InBox(PlanPoint a, PlanPoint b, PlanPoint p) {
    return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
           p.y <= std::max(a.y, b.y);
}

inline bool OnSegment(PlanPoint a, PlanPoint b, PlanPoint p) {
    return Orient(a, b, p) == 0 && InBox(a, b, p);
}

inline bool SegmentsCross(PlanPoint a, PlanPoint b, PlanPoint c, PlanPoint d) {
    return Orient(a, b, c) * Orient(a, b, d) < 0 && Orient(c, d, a) * Orient(c, d, b) < 0;
}

inline double PlanCross(PlanPoint a, PlanPoint b, PlanPoint c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

}  // namespace geom
