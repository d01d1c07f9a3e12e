#include "geom/dct/dct_predicates.h"

#include "geom/kernel/exact_predicates.h"

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

bool DctAboveSlow(const DctPoint* c, const DctPoint* o, const DctPoint* d) {
    if (c == o || c == d) {
        return false;
    }
    const DctCandidate seen = DctSeeBase(*c, *o, *d);
    if (std::fabs(seen.cross) > DctAboveBound(DctCandidateSize(*c, *o, *d))) {
        return seen.cross > 0;
    }
    return DctOrientSignExact(*c, *o, *d, seen.cross) > 0;
}

bool DctCotGreaterSlow(const DctPoint* p, const DctPoint* q, const DctPoint* o, const DctPoint* d) {
    const DctCandidate pSeen = DctSeeBase(*p, *o, *d);
    const DctCandidate qSeen = DctSeeBase(*q, *o, *d);
    const double difference = pSeen.dot * qSeen.cross - qSeen.dot * pSeen.cross;
    if (std::fabs(difference) >
        DctCotBound(DctCandidateSize(*p, *o, *d), DctCandidateSize(*q, *o, *d))) {
        return difference > 0;
    }
    if (!Finite(*p) || !Finite(*q) || !Finite(*o) || !Finite(*d)) {
        return pSeen.dot / pSeen.cross > qSeen.dot / qSeen.cross;  // the plain comparison
    }
    // o, d, q run counter-clockwise, q being above the base.
    return ExactInCircleSign(At(*o), At(*d), At(*q), At(*p)) < 0;
}

}  // namespace geom
