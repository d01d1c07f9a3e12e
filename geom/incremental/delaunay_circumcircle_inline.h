// The bodies of ComputeCircumcircle and CircleHolds (delaunay_circumcircle.h), inline for the
// triangulator's own hot loop. Include only from sources of the geometry library, which is built
// without floating-point contraction: every caller must get the values the out-of-line functions
// give.
#pragma once

#include <cmath>

#include "geom/kernel/vertex.h"

namespace geom {
namespace circle_inline {

inline bool ComputeCircumcircle(const CVertex& a, const CVertex& b, const CVertex& c,
                                double tolerance, double& xc, double& yc, double& rsqr) {
    const double x1 = a.x, y1 = a.y;
    const double x2 = b.x, y2 = b.y;
    const double x3 = c.x, y3 = c.y;
    if (std::fabs(y1 - y2) < tolerance && std::fabs(y2 - y3) < tolerance) {
        return false;
    }
    double cx;
    double cy;
    if (std::fabs(y2 - y1) < tolerance) {
        const double m2 = -(x3 - x2) / (y3 - y2);
        cx = (x2 + x1) / 2.0;
        cy = m2 * (cx - (x2 + x3) / 2.0) + (y2 + y3) / 2.0;
    } else if (std::fabs(y3 - y2) < tolerance) {
        const double m1 = -(x2 - x1) / (y2 - y1);
        cx = (x3 + x2) / 2.0;
        cy = m1 * (cx - (x1 + x2) / 2.0) + (y1 + y2) / 2.0;
    } else {
        const double m1 = -(x2 - x1) / (y2 - y1);
        const double m2 = -(x3 - x2) / (y3 - y2);
        const double mx1 = (x1 + x2) / 2.0;
        const double my1 = (y1 + y2) / 2.0;
        const double mx2 = (x2 + x3) / 2.0;
        const double my2 = (y2 + y3) / 2.0;
        if (m1 - m2 != 0.0) {
            cx = (m1 * mx1 - m2 * mx2 + my2 - my1) / (m1 - m2);
            cy = m1 * (cx - mx1) + my1;
        } else {
            cx = (x1 + x2 + x3) / 3.0;
            cy = (y1 + y2 + y3) / 3.0;
        }
    }
    xc = cx;
    yc = cy;
    rsqr = (x2 - cx) * (x2 - cx) + (y2 - cy) * (y2 - cy);
    return true;
}

inline bool CircleHolds(const CVertex& p, double xc, double yc, double rr) {
    const double dx = p.x - xc;
    const double dy = p.y - yc;
    return rr >= dx * dx + dy * dy;
}

}  // namespace circle_inline
}  // namespace geom
