#include "geom/incremental/delaunay_circumcircle.h"

#include "geom/incremental/delaunay_circumcircle_inline.h"

namespace geom {

bool ComputeCircumcircle(const CVertex& a, const CVertex& b, const CVertex& c, double tolerance,
                         double& xc, double& yc, double& rsqr) {
    return circle_inline::ComputeCircumcircle(a, b, c, tolerance, xc, yc, rsqr);
}

bool CircleHolds(const CVertex& p, double xc, double yc, double rr) {
    return circle_inline::CircleHolds(p, xc, yc, rr);
}

}  // namespace geom
