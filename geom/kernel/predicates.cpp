#include "geom/kernel/predicates.h"

#include "geom/kernel/exact_predicates.h"

namespace geom {

namespace {

bool Finite(PlanPoint p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

int SignOf(double value) {
    return (value > 0) - (value < 0);
}

}  // namespace

int OrientUncertain(PlanPoint a, PlanPoint b, PlanPoint c, double det) {
    if (a == b || b == c || c == a) {
        return 0;  // an end of the line itself, which the triangulators ask about often
    }
    if (!Finite(a) || !Finite(b) || !Finite(c)) {
        return SignOf(det);
    }
    // Three points of one x (or one y), as columns of points sampled at the same stations give:
    // both products are exactly zero, and so is the determinant.
    if ((a.x == b.x && a.x == c.x) || (a.y == b.y && a.y == c.y)) {
        return 0;
    }
    return ExactOrientSign(a, b, c);
}

int InCircleUncertain(PlanPoint a, PlanPoint b, PlanPoint c, PlanPoint d, double det) {
    if (!Finite(a) || !Finite(b) || !Finite(c) || !Finite(d)) {
        return SignOf(det);
    }
    return ExactInCircleSign(a, b, c, d);
}

}  // namespace geom
