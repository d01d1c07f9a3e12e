// Whether a point lies beyond the tolerance from a triangle's plane, decided exactly: where
// ThinPlane::Distance, with its rounding allowance, cannot settle it (a point at the tolerance, or
// within rounding of it).
//
// WeightsBeyond(weights, z, tolerance): the decision both thinning paths share. weights[0] is W >
// 0, twice the plan area of triangle a, b, c, and weights[1..3] are wa, wb, wc, those of (p, b, c),
// (a, p, c) and (a, b, p), each exact as an expansion (ExactSum); z holds zp, za, zb, zc. The plane
// through a, b, c is (wa za + wb zb + wc zc) / W at p, so p is beyond when |W zp - sum wk zk| >
// tolerance W: 1 then, 0 otherwise (at the tolerance counts as within). Every product of a weight's
// part with an elevation or the tolerance must stay exact (no overflow, nothing below the normal
// range): the callers bound their inputs so.
// ThinBeyond(a, b, c, p, tolerance): for any points, a, b, c counter-clockwise in plan (p anywhere:
// the plane extends): 1 beyond, 0 within, -1 when it cannot be decided here (a coordinate,
// elevation or tolerance that is neither 0 nor between 2^-200 and 2^200 in size, or a, b, c not
// counter-clockwise). The weights are exact expansions of the plan orientations (differences
// split into their rounded value and its error, products by ExactSum::AddProduct).
// ElevationBeyond(z, at, tolerance): the same decision at a vertex's plan position.
#pragma once

#include "geom/kernel/exact_sum.h"
#include "geom/thinning/thin_point.h"

namespace geom {

template <int N>
int WeightsBeyond(const ExactSum<N> (&weights)[4], const double (&z)[4], double tolerance) {
    // e = W zp - (wa za + wb zb + wc zc); beyond when e - tol W > 0 or e + tol W < 0.
    const auto side = [&](double sign) {
        ExactSum<10 * N> sum;
        for (int k = 0; k < 4; ++k) {
            for (int part = 0; part < weights[k].Size(); ++part) {
                sum.AddProduct(k == 0 ? weights[k].Part(part) : -weights[k].Part(part), z[k]);
            }
        }
        for (int part = 0; part < weights[0].Size(); ++part) {
            sum.AddProduct(weights[0].Part(part), sign * tolerance);
        }
        return sum.Sign();
    };
    return side(-1.0) > 0 || side(1.0) < 0 ? 1 : 0;
}

int ThinBeyond(const ThinPoint& a, const ThinPoint& b, const ThinPoint& c, const ThinPoint& p,
               double tolerance);

// ElevationBeyond(z, at, tolerance): whether |z - at| > tolerance, decided exactly: a point at the
// plan position of a vertex at elevation `at` (the surface there is `at` itself). The rounded
// difference decides unless it comes out at the tolerance; then its rounding error does.
bool ElevationBeyond(double z, double at, double tolerance);

}  // namespace geom
