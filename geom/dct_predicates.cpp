#include "geom/dct_predicates.h"

#include "geom/exact_predicates.h"

namespace geom {

namespace {

bool Finite(const DctPoint& v) {
    return std::isfinite(v.x) && std::isfinite(v.y);
}

bool SamePosition(const DctPoint& a, const DctPoint& b) {
    return a.x == b.x && a.y == b.y;
}

ExactPoint At(const DctPoint& v) {
    return {v.x, v.y};
}

}  // namespace

int DctOrientSignExact(const DctPoint& a, const DctPoint& b, const DctPoint& c, double det) {
    if (SamePosition(a, b) || SamePosition(b, c) || SamePosition(c, a)) {
        return 0;  // a candidate that is an end of the base itself, for one
    }
    if (!Finite(a) || !Finite(b) || !Finite(c)) {
        return det > 0 ? 1 : (det < 0 ? -1 : 0);
    }
    return ExactOrientSign(At(a), At(b), At(c));
}

bool DctAboveSlow(const DctCandidate& c, const DctPoint& o, const DctPoint& d) {
    if (std::fabs(c.cross) > DctAboveBound(DctCandidateSize(c, o, d))) {
        return c.cross > 0;
    }
    return DctOrientSignExact(*c.vertex, o, d, c.cross) > 0;
}

bool DctCotGreaterSlow(const DctCandidate& p, const DctCandidate& q, const DctPoint& o,
                       const DctPoint& d) {
    const double difference = p.dot * q.cross - q.dot * p.cross;
    if (std::fabs(difference) > DctCotBound(DctCandidateSize(p, o, d), DctCandidateSize(q, o, d))) {
        return difference > 0;
    }
    if (!Finite(*p.vertex) || !Finite(*q.vertex) || !Finite(o) || !Finite(d)) {
        return p.dot / p.cross > q.dot / q.cross;  // the plain comparison of the cotangents
    }
    // o, d, q run counter-clockwise, q being above the base.
    return ExactInCircleSign(At(o), At(d), At(*q.vertex), At(*p.vertex)) < 0;
}

}  // namespace geom
