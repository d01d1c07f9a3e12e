#include "geom/thinning/grid_beyond.h"

#include <cmath>
#include <cstdint>

#include "geom/thinning/thin_beyond.h"

namespace geom {

namespace {

constexpr std::int64_t kLargestWeight = std::int64_t{1} << 27;
// Below this size a half of a split value or a product of one might lose bits to underflow.
constexpr double kSmallest = 1e-280;

// Twice the signed area of index triangle (p, q, r).
std::int64_t IndexOrient(const GridNode& p, const GridNode& q, const GridNode& r) {
    return (q.i - p.i) * (r.j - p.j) - (q.j - p.j) * (r.i - p.i);
}

bool Representable(double v) {
    const double size = std::fabs(v);
    return size == 0.0 || (size >= kSmallest && size < 1e250);
}

}  // namespace

int GridBeyond(const GridNode& a, const GridNode& b, const GridNode& c, const GridNode& p,
               double tolerance) {
    const std::int64_t weights[4] = {IndexOrient(a, b, c), IndexOrient(p, b, c),
                                     IndexOrient(a, p, c), IndexOrient(a, b, p)};
    for (const std::int64_t w : weights) {
        if (w >= kLargestWeight || -w >= kLargestWeight) {
            return -1;
        }
    }
    for (const double v : {a.p.z, b.p.z, c.p.z, p.p.z, tolerance}) {
        if (!Representable(v)) {
            return -1;
        }
    }
    ExactSum<1> exact[4];
    for (int k = 0; k < 4; ++k) {
        exact[k].Add(static_cast<double>(weights[k]));
    }
    return WeightsBeyond(exact, {p.p.z, a.p.z, b.p.z, c.p.z}, tolerance);
}

}  // namespace geom
