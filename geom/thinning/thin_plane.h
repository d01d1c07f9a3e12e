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
// DistanceBound(x0, x1, y0, y1, z0, z1): a number no smaller than the computed Distance(p) of
// every p with x0 <= p.x <= x1, y0 <= p.y <= y1, z0 <= p.z <= z1 (p anywhere, in the triangle or
// not), so that a box of points whose bound is below a distance can be left unread. Derivation:
// every step of the computed plane, fl(x - a.x), its product with cx, the sum with the y term
// and with a.z, is a rounded monotone operation, and rounding is monotone, so the computed plane
// is monotone in p.x (rising with it when cx >= 0, falling otherwise) and in p.y; over the box
// it lies between its computed values at the two corners the gradient's signs pick, lo and hi.
// Likewise fl(p.z - plane) lies between fl(z0 - hi) and fl(z1 - lo), so its magnitude is at most
// the larger magnitude of the two; adding bound_ and 2 eps |p.z| (|p.z| at most max(|z0|, |z1|))
// in Distance's order keeps the result an upper bound. The geometry is built without contracted
// multiply-adds, so the corners are evaluated with exactly Distance's roundings; the bound is
// added once more as slack all the same (it exceeds the rounding of the plane's evaluation).
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
    double At(const ThinPoint& p) const { return Plane(p.x, p.y); }

    double Distance(const ThinPoint& p) const {
        constexpr double eps = std::numeric_limits<double>::epsilon();
        const double plane = Plane(p.x, p.y);
        return (std::fabs(p.z - plane) + bound_) + 2.0 * eps * std::fabs(p.z);
    }

    double DistanceBound(double x0, double x1, double y0, double y1, double z0, double z1) const {
        constexpr double eps = std::numeric_limits<double>::epsilon();
        const double lo = Plane(cx_ >= 0.0 ? x0 : x1, cy_ >= 0.0 ? y0 : y1);
        const double hi = Plane(cx_ >= 0.0 ? x1 : x0, cy_ >= 0.0 ? y1 : y0);
        const double below = std::fabs(z0 - hi), above = std::fabs(z1 - lo);
        const double largest = below > above ? below : above;
        const double zSize = std::fmax(std::fabs(z0), std::fabs(z1));
        return ((largest + bound_) + 2.0 * eps * zSize) + bound_;
    }

private:
    double Plane(double x, double y) const { return a_.z + ((x - a_.x) * cx_ + (y - a_.y) * cy_); }

    ThinPoint a_;
    double cx_ = 0.0;
    double cy_ = 0.0;
    double bound_ = 0.0;
};

}  // namespace geom
