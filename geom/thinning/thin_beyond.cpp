#include "geom/thinning/thin_beyond.h"

#include <cmath>
#include <initializer_list>

namespace geom {

namespace {

// Inputs within these sizes (or 0) are multiples of 2^-252, so every difference's error, every
// product of two differences' parts (multiples of 2^-504) and every product of such a part with
// an elevation or the tolerance (multiples of 2^-756) is exact and in the normal range, and
// nothing reaches 2^700.
constexpr double kSmallest = 0x1p-200;
constexpr double kLargest = 0x1p200;

bool InRange(double v) {
    const double size = std::fabs(v);
    return size == 0.0 || (size >= kSmallest && size <= kLargest);
}

// v - w exactly, as its rounded value and that value's error.
struct Difference {
    double value, error;
};

Difference Subtract(double v, double w) {
    const double value = v - w;
    const double back = v - value;
    return {value, (v - (value + back)) + (back - w)};
}

// (q - p) x (r - p) exactly, into `orient`.
void Orient(const ThinPoint& p, const ThinPoint& q, const ThinPoint& r, ExactSum<16>& orient) {
    const Difference qx = Subtract(q.x, p.x), qy = Subtract(q.y, p.y);
    const Difference rx = Subtract(r.x, p.x), ry = Subtract(r.y, p.y);
    for (const double u : {qx.value, qx.error}) {
        for (const double v : {ry.value, ry.error}) {
            orient.AddProduct(u, v);
        }
    }
    for (const double u : {qy.value, qy.error}) {
        for (const double v : {rx.value, rx.error}) {
            orient.AddProduct(-u, v);
        }
    }
}

}  // namespace

int ThinBeyond(const ThinPoint& a, const ThinPoint& b, const ThinPoint& c, const ThinPoint& p,
               double tolerance) {
    for (const ThinPoint* point : {&a, &b, &c, &p}) {
        if (!InRange(point->x) || !InRange(point->y) || !InRange(point->z)) {
            return -1;
        }
    }
    if (!InRange(tolerance)) {
        return -1;
    }
    ExactSum<16> weights[4];
    Orient(a, b, c, weights[0]);
    if (weights[0].Sign() <= 0) {
        return -1;
    }
    Orient(p, b, c, weights[1]);
    Orient(a, p, c, weights[2]);
    Orient(a, b, p, weights[3]);
    return WeightsBeyond(weights, {p.z, a.z, b.z, c.z}, tolerance);
}

bool ElevationBeyond(double z, double at, double tolerance) {
    const Difference difference = Subtract(z, at);
    const double size = std::fabs(difference.value);
    if (size != tolerance) {
        return size > tolerance;
    }
    // |z - at| = tolerance + the error's size when the error points away from 0, less otherwise.
    return difference.value > 0.0 ? difference.error > 0.0 : difference.error < 0.0;
}

}  // namespace geom
