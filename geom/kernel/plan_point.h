// PlanPoint: a position in plan, x and y. Every predicate of the kernel takes plan points; points
// that also carry an elevation or more (CVertex, SurfacePoint, ...) give theirs with PlanOf.
// Two plan points are equal when both coordinates are exactly equal.
#pragma once

namespace geom {

struct PlanPoint {
    double x;
    double y;
};

inline bool operator==(const PlanPoint& a, const PlanPoint& b) {
    return a.x == b.x && a.y == b.y;
}
inline bool operator!=(const PlanPoint& a, const PlanPoint& b) {
    return !(a == b);
}

template <typename Point>
PlanPoint PlanOf(const Point& p) {
    return PlanPoint{p.x, p.y};
}

}  // namespace geom
