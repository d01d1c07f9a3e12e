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
#pragma once

#include <cmath>
#include <limits>

#include "geom/thinning/thin_point.h"

namespace geom {

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
        const double xMax = 1.01 * std::fmax(std::fabs(dxb), std::fabs(dxc));
        const double yMax = 1.01 * std::fmax(std::fabs(dyb), std::fabs(dyc));
        const double zMax = std::fmax(std::fabs(a.z), std::fmax(std::fabs(b.z), std::fabs(c.z)));
        const double gx =
            (4.0 * nxSize + 4.0 * std::fabs(cx_) * dSize) / absD + 4.0 * std::fabs(cx_);
        const double gy =
            (4.0 * nySize + 4.0 * std::fabs(cy_) * dSize) / absD + 4.0 * std::fabs(cy_);
        bound_ = 2.0 * eps * (xMax * gx + yMax * gy + 2.0 * zMax) +
                 16.0 * std::numeric_limits<double>::min();
        if (!std::isfinite(bound_)) {
            bound_ = std::numeric_limits<double>::infinity();
        }
    }

    // The plane's elevation at p's plan position, as computed (no bound).
    double At(const ThinPoint& p) const { return a_.z + ((p.x - a_.x) * cx_ + (p.y - a_.y) * cy_); }

    double Distance(const ThinPoint& p) const {
        constexpr double eps = std::numeric_limits<double>::epsilon();
        const double plane = a_.z + ((p.x - a_.x) * cx_ + (p.y - a_.y) * cy_);
        return (std::fabs(p.z - plane) + bound_) + 2.0 * eps * std::fabs(p.z);
    }

private:
    ThinPoint a_;
    double cx_ = 0.0;
    double cy_ = 0.0;
    double bound_ = 0.0;
};

}  // namespace geom
