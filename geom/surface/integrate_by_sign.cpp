#include "geom/surface/integrate_by_sign.h"

#include <algorithm>

namespace geom {

namespace {

// The integral of f over the part of the triangle where f has the sign of the lone corner
// value `a` (the other two, b and c, have the other sign or are zero): the corner triangle cut
// off by the zero line has the area area * a / (a - b) * a / (a - c) and f falls linearly from
// a to 0 across it.
double LoneCornerPart(double area, double a, double b, double c) {
    return area * a * a * a / (3.0 * (a - b) * (a - c));
}

}  // namespace

void IntegrateBySign(double area, double f0, double f1, double f2, double& positive,
                     double& negative) {
    const double total = area * (f0 + f1 + f2) / 3.0;
    const int above = (f0 > 0) + (f1 > 0) + (f2 > 0);
    const int below = (f0 < 0) + (f1 < 0) + (f2 < 0);
    if (below == 0) {
        positive = std::max(total, 0.0);
        negative = 0.0;
    } else if (above == 0) {
        positive = 0.0;
        negative = std::max(-total, 0.0);
    } else if (above == 1) {
        const double a = f0 > 0 ? f0 : (f1 > 0 ? f1 : f2);
        const double b = f0 > 0 ? f1 : f0;
        const double c = f2 > 0 ? f1 : f2;
        positive = LoneCornerPart(area, a, b, c);
        negative = std::max(positive - total, 0.0);
    } else {
        const double a = f0 < 0 ? f0 : (f1 < 0 ? f1 : f2);
        const double b = f0 < 0 ? f1 : f0;
        const double c = f2 < 0 ? f1 : f2;
        negative = -LoneCornerPart(area, a, b, c);
        positive = std::max(total + negative, 0.0);
    }
}

}  // namespace geom
