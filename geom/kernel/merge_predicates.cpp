#include "geom/kernel/merge_predicates.h"

#include "geom/kernel/exact_predicates.h"

namespace geom {

bool AboveSlow(const PlanPoint* c, const PlanPoint* o, const PlanPoint* d) {
    if (c == o || c == d) {
        return false;
    }
    const MergeCandidate seen = SeeBase(*c, *o, *d);
    if (std::fabs(seen.cross) > AboveBound(CandidateSize(*c, *o, *d))) {
        return seen.cross > 0;
    }
    return OrientUncertain(*c, *o, *d, seen.cross) > 0;
}

bool CotGreaterSlow(const PlanPoint* p, const PlanPoint* q, const PlanPoint* o,
                    const PlanPoint* d) {
    const MergeCandidate pSeen = SeeBase(*p, *o, *d);
    const MergeCandidate qSeen = SeeBase(*q, *o, *d);
    const double difference = pSeen.dot * qSeen.cross - qSeen.dot * pSeen.cross;
    if (std::fabs(difference) > CotBound(CandidateSize(*p, *o, *d), CandidateSize(*q, *o, *d))) {
        return difference > 0;
    }
    const auto finite = [](const PlanPoint* v) {
        return std::isfinite(v->x) && std::isfinite(v->y);
    };
    if (!finite(p) || !finite(q) || !finite(o) || !finite(d)) {
        return pSeen.dot / pSeen.cross > qSeen.dot / qSeen.cross;  // the plain comparison
    }
    // o, d, q run counter-clockwise, q being above the base.
    return ExactInCircleSign(*o, *d, *q, *p) < 0;
}

}  // namespace geom
