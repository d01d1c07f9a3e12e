// ThinPlane: the plane through a triangle's three corners, set up once per triangle so that the
// vertical distance of many points in the triangle is evaluated cheaply and safely.
//
// ThinPlane(a, b, c): a, b, c counter-clockwise and not collinear (decided exactly by the
// caller). Distance(p): |p.z - plane(p)| as computed, plus a bound on the rounding of the whole
// evaluation, for any p in the closed plan triangle (the caller has decided that exactly). So
// Distance(p) <= tolerance, compared in floating point, proves that the exact plane through the
// corners passes within the tolerance of p. Distance is +infinity when the triangle is too thin
// for the bound to hold (the point is then inserted rather than judged).
//
// The bound: with X, Y the offsets of p from a and cx, cy the plane's gradient, the computed
// gradient is off by at most 4u(|N| + |c| |D|) / |D| + u|c| per axis (N its numerator, |N| and
// |D| the sums of the absolute products of numerator and denominator), each product X c and
// the sums add 3u |X c|, and the last additions u |plane| and u |p.z - plane|. Inside the
// triangle |X| and |Y| are at most the corners' offsets and |plane| at most the largest |z| of
// the corners; the bound takes twice these first-order terms (u = eps / 2), which also covers
// the second-order terms and the roundings of the bound and of the final sum.
//
// DistanceBound(trend, x0, x1, y0, y1): a number no smaller than the computed Distance(p) of
// every point p with x0 <= p.x <= x1 and y0 <= p.y <= y1, a box within the triangle's bounding
// box, whose elevation follows `trend` (ThinTrend: a linear trend plus a residual within a range,
// exactly in real arithmetic), so that points whose bound is below a distance can be left unread.
// Derivation: with P the plane of the computed gradient (cx, cy taken as exact), p.z - P(p) =
// r + (T - P)(p), r the residual and T the trend; T - P is linear with gradient (sx - cx, sy - cy),
// so over the box it lies between g0 + min(0, gx) + min(0, gy) and g0 + max(0, gx) + max(0, gy),
// g0 its value at (x0, y0) and gx, gy its rise across the box. So |p.z - P(p)| <= max(|low|,
// |high|) for low, high those ends plus the residual's. Computing them takes about a dozen
// roundings, each at most u (= eps / 2) times a sum of the trend's magnitudes (|z|, |sx| and |sy|
// times the box's size, |r|: the trend's slack, ThinTrend) and of the plane's (|a.z| and |cx|,
// |cy| times the corners' offsets, which bound any offset in the bounding box). The computed
// Distance exceeds |p.z - P(p)| + bound_ + 2 eps |p.z| only by the plane's evaluation (four
// roundings of the same kind) and by its subtraction and two sums (relative u each). So the trend
// adds its slack (32 eps times its magnitudes and 2 eps |z|, in its residual range), the plane 64
// eps times its magnitudes and twice bound_, several times what the roundings reach; then a
// relative 8 eps and 64 times the smallest normal number against underflow.
#pragma once

#include <cmath>
#include <limits>

#include "geom/thinning/thin_point.h"

namespace geom {

// Elevations of a set of points as a linear trend and a residual: each point p has
// p.z = z + sx (p.x - x) + sy (p.y - y) + r with rLow <= r <= rHigh in real arithmetic. For
// ThinPlane::DistanceBound over a box of width w and height h at or beyond (x, y), the range is
// widened on both sides by the trend's slack: 32 eps (|z| + 2 |sx| w + 2 |sy| h + max |r|) plus
// 2 eps max |p.z|.
struct ThinTrend {
    double x = 0.0, y = 0.0, z = 0.0;  // the trend's origin
    double sx = 0.0, sy = 0.0;         // its gradient
    double rLow = 0.0, rHigh = 0.0;
};

class ThinPlane {
public:
    ThinPlane(const ThinPoint& a, const ThinPoint& b, const ThinPoint& c) : a_(a) {
        constexpr double eps = std::numeric_limits<double>::epsilon();
        const double dxb = b.x - a.x, dyb = b.y - a.y, dzb = b.z - a.z;
        const double dxc = c.x - a.x, dyc = c.y - a.y, dzc = c.z - a.z;
        const double d = dxb * dyc - dyb * dxc;
        const double dSize = std::fabs(dxb * dyc) + std::fabs(dyb * dxc);
        const double absD = std::fabs(d);
        if (!(absD > 16.0 * eps * dSize)) {
            bound_ = std::numeric_limits<double>::infinity();
            return;
        }
        const double nx = dyc * dzb - dyb * dzc;
        const double ny = dxb * dzc - dxc * dzb;
        const double nxSize = std::fabs(dyc * dzb) + std::fabs(dyb * dzc);
        const double nySize = std::fabs(dxb * dzc) + std::fabs(dxc * dzb);
        cx_ = nx / d;
        cy_ = ny / d;
        const double xMax = 1.01 * Larger(std::fabs(dxb), std::fabs(dxc));
        const double yMax = 1.01 * Larger(std::fabs(dyb), std::fabs(dyc));
        const double zMax = Larger(std::fabs(a.z), Larger(std::fabs(b.z), std::fabs(c.z)));
        const double gx =
            (4.0 * nxSize + 4.0 * std::fabs(cx_) * dSize) / absD + 4.0 * std::fabs(cx_);
        const double gy =
            (4.0 * nySize + 4.0 * std::fabs(cy_) * dSize) / absD + 4.0 * std::fabs(cy_);
        bound_ = 2.0 * eps * (xMax * gx + yMax * gy + 2.0 * zMax) +
                 16.0 * std::numeric_limits<double>::min();
        if (!std::isfinite(bound_)) {
            bound_ = std::numeric_limits<double>::infinity();
        }
        boxSlack_ = 2.0 * bound_ +
                    64.0 * eps * (std::fabs(a.z) + std::fabs(cx_) * xMax + std::fabs(cy_) * yMax);
    }

    // What Distance(p) adds to the computed |p.z - plane| for p of elevation z: the computed
    // distance is within it of the exact one.
    double Margin(double z) const {
        return bound_ + 2.0 * std::numeric_limits<double>::epsilon() * std::fabs(z);
    }

    // Whether a point of elevation z at computed Distance `distance` is certainly beyond the
    // tolerance: even the least exact distance that Distance allows is (the computed
    // |p.z - plane| lies within Margin(z) of the exact one; four times it covers the rounding of
    // this test). False for NaN and where the allowance is infinite.
    bool SurelyBeyond(double distance, double z, double tolerance) const {
        constexpr double eps = std::numeric_limits<double>::epsilon();
        return (distance - 4.0 * Margin(z)) * (1.0 - 4.0 * eps) > tolerance;
    }

    // The plane's elevation at p's plan position, as computed (no bound).
    double At(const ThinPoint& p) const { return Plane(p.x, p.y); }

    double Distance(const ThinPoint& p) const {
        constexpr double eps = std::numeric_limits<double>::epsilon();
        const double plane = Plane(p.x, p.y);
        return (std::fabs(p.z - plane) + bound_) + 2.0 * eps * std::fabs(p.z);
    }

    double DistanceBound(const ThinTrend& trend, double x0, double x1, double y0, double y1) const {
        constexpr double eps = std::numeric_limits<double>::epsilon();
        const double g0 =
            (trend.z + (trend.sx * (x0 - trend.x) + trend.sy * (y0 - trend.y))) - Plane(x0, y0);
        const double gx = (trend.sx - cx_) * (x1 - x0), gy = (trend.sy - cy_) * (y1 - y0);
        const double high = ((g0 + Larger(gx, 0.0)) + Larger(gy, 0.0)) + trend.rHigh;
        const double low = ((g0 - Larger(-gx, 0.0)) - Larger(-gy, 0.0)) + trend.rLow;
        return (Larger(std::fabs(high), std::fabs(low)) + boxSlack_) * (1.0 + 8.0 * eps) +
               64.0 * std::numeric_limits<double>::min();
    }

private:
    // The larger of two numbers that are not NaN (inline, where std::fmax may be a call).
    static double Larger(double a, double b) { return a > b ? a : b; }
    double Plane(double x, double y) const { return a_.z + ((x - a_.x) * cx_ + (y - a_.y) * cy_); }

    ThinPoint a_;
    double cx_ = 0.0;
    double cy_ = 0.0;
    double bound_ = 0.0;
    double boxSlack_ = std::numeric_limits<double>::infinity();  // DistanceBound's for the plane
};

}  // namespace geom
