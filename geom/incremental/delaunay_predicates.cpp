#include "geom/incremental/delaunay_predicates.h"

#include "geom/kernel/exact_predicates.h"

namespace geom {

int OrientSignExact(const CVertex& a, const CVertex& b, const CVertex& c) {
    return ExactOrientSign({a.x, a.y}, {b.x, b.y}, {c.x, c.y});
}

int InCircleSignExact(const CVertex& a, const CVertex& b, const CVertex& c, const CVertex& d) {
    return ExactInCircleSign({a.x, a.y}, {b.x, b.y}, {c.x, c.y}, {d.x, d.y});
}

}  // namespace geom
