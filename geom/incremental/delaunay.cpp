#include "geom/incremental/delaunay.h"

#include <cmath>
#include <cstddef>
#include <exception>
#include <limits>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "geom/incremental/delaunay_sweep.h"
#include "geom/kernel/predicates.h"
#include "geom/kernel/sort_points.h"

namespace geom {

CDelaunay::CDelaunay() {
    try {
        pointStore.resize(kStoreStep);
    } catch (const std::exception&) {
        // AddPoint tries again with the first point.
    }
}

CDelaunay::~CDelaunay() = default;

int CDelaunay::AddPoint(double x, double y, double z) {
    if (pointCount == std::numeric_limits<std::int32_t>::max()) {
        return 0;
    }
    if (pointCount % kStoreStep == 0) {
        try {
            pointStore.resize(static_cast<std::size_t>(pointCount) + kStoreStep);
        } catch (const std::exception&) {
            return 0;
        }
    }
    if (pointStore.size() <= static_cast<std::size_t>(pointCount)) {
        return 0;
    }
    CVertex& point = pointStore[pointCount];
    point.x = x;
    point.y = y;
    point.z = z;
    point.w = 0;
    ++pointCount;
    return 1;
}

std::vector<CTriangle> CDelaunay::Triangulate() {
    std::unique_ptr<CVertex[]> scratch(new (std::nothrow) CVertex[pointCount]);
    if (!scratch) {
        return result;
    }
    SortPoints(pointStore.data(), scratch.get(), 0, pointCount - 1);
    scratch.reset();
    result.clear();
    InsertPoints();
    return result;
}

// Runs the insertion over the sorted store. Without points there is nothing to enclose and
// nothing is read. Points that are not finite, or so far out that no enclosing triangle with
// finite corners holds them all, give no triangles.
bool CDelaunay::InsertPoints() {
    const std::int32_t n = pointCount;
    if (n == 0) {
        return true;
    }
    for (std::int32_t i = 0; i < n; ++i) {
        if (!std::isfinite(pointStore[i].x) || !std::isfinite(pointStore[i].y)) {
            return false;
        }
    }
    try {
        if (!MakeSuperTriangle()) {
            return false;
        }
        if (!EnclosesAll()) {
            return EnclosesOnlyBeyondOverflow() && InsertScaledPoints();
        }
        SweepInsertPoints(pointStore.data(), n, tolerance, result);
        return true;
    } catch (const std::exception&) {
        result.clear();
        return false;
    }
}

// Whether the enclosing triangle failed because a corner overflowed (the points' extent is too
// large for doubles), not because the extent is too small.
bool CDelaunay::EnclosesOnlyBeyondOverflow() const {
    for (std::int32_t k = pointCount - 3; k < pointCount; ++k) {
        if (!std::isfinite(pointStore[k].x) || !std::isfinite(pointStore[k].y)) {
            return true;
        }
    }
    return false;
}

// Points whose enclosing triangle overflows are triangulated as a copy scaled by 2^-kScaleStep,
// which leaves room for it; the scaling is exact (else nothing is triangulated), so every exact
// decision is the same as on the points themselves. The triangles take their corner copies from
// the store; the copy's circles are not the points' circles, so none is given.
bool CDelaunay::InsertScaledPoints() {
    constexpr int kScaleStep = 4;
    const std::int32_t n = pointCount - 3;
    std::vector<CVertex> scaled(pointStore);  // with the room for the enclosing corners
    for (std::int32_t i = 0; i < n; ++i) {
        CVertex& p = scaled[static_cast<std::size_t>(i)];
        const double x = std::ldexp(p.x, -kScaleStep);
        const double y = std::ldexp(p.y, -kScaleStep);
        if (std::ldexp(x, kScaleStep) != p.x || std::ldexp(y, kScaleStep) != p.y) {
            return false;
        }
        p.x = x;
        p.y = y;
    }
    CDelaunay copy;
    copy.pointStore = std::move(scaled);
    copy.pointCount = n;
    copy.tolerance = tolerance;
    if (!copy.MakeSuperTriangle() || !copy.EnclosesAll()) {
        return false;
    }
    SweepInsertPoints(copy.pointStore.data(), n, tolerance, result);
    for (CTriangle& t : result) {
        t.p1 = pointStore[t.i1];
        t.p2 = pointStore[t.i2];
        t.p3 = pointStore[t.i3];
        t.circleKnown = 0;
        t.complete = 0;
        t.xc = t.yc = t.r = 0.0;
    }
    return true;
}

// Appends the corners S1, S2, S3 (counter-clockwise) of a triangle that encloses every point
// with a wide margin, at positions n, n + 1, n + 2.
bool CDelaunay::MakeSuperTriangle() {
    const std::int32_t n = pointCount;
    double xmin = pointStore[0].x, xmax = xmin;
    double ymin = pointStore[0].y, ymax = ymin;
    for (std::int32_t i = 1; i < n; ++i) {
        const CVertex& p = pointStore[i];
        if (p.x < xmin) {
            xmin = p.x;
        }
        if (p.x > xmax) {
            xmax = p.x;
        }
        if (p.y < ymin) {
            ymin = p.y;
        }
        if (p.y > ymax) {
            ymax = p.y;
        }
    }
    const double dx = xmax - xmin;
    const double dy = ymax - ymin;
    const double dmax = dx > dy ? dx : dy;
    const double xmid = (xmax + xmin) * 0.5;
    const double ymid = (ymax + ymin) * 0.5;
    return AddPoint(xmid + 2.0 * dmax, ymid - dmax, 0.0) == 1 &&
           AddPoint(xmid, ymid + 2.0 * dmax, 0.0) == 1 &&
           AddPoint(xmid - 2.0 * dmax, ymid - dmax, 0.0) == 1;
}

// Whether the enclosing corners at n, n + 1, n + 2 are finite and hold every point strictly
// inside: they do when they hold the corners of the points' bounding box, which the margin of
// the construction ensures unless the extent is within a few rounding steps of zero or of
// overflow.
bool CDelaunay::EnclosesAll() const {
    const std::int32_t n = pointCount - 3;
    const CVertex& s1 = pointStore[n];
    const CVertex& s2 = pointStore[n + 1];
    const CVertex& s3 = pointStore[n + 2];
    for (const CVertex* s : {&s1, &s2, &s3}) {
        if (!std::isfinite(s->x) || !std::isfinite(s->y)) {
            return false;
        }
    }
    double xmin = pointStore[0].x, xmax = pointStore[n - 1].x;  // sorted by x
    double ymin = pointStore[0].y, ymax = ymin;
    for (std::int32_t i = 1; i < n; ++i) {
        if (pointStore[i].y < ymin) {
            ymin = pointStore[i].y;
        }
        if (pointStore[i].y > ymax) {
            ymax = pointStore[i].y;
        }
    }
    for (const CVertex& corner : {CVertex(xmin, ymin, 0.0), CVertex(xmax, ymin, 0.0),
                                  CVertex(xmin, ymax, 0.0), CVertex(xmax, ymax, 0.0)}) {
        const PlanPoint at = PlanOf(corner);
        if (Orient(PlanOf(s1), PlanOf(s2), at) <= 0 || Orient(PlanOf(s2), PlanOf(s3), at) <= 0 ||
            Orient(PlanOf(s3), PlanOf(s1), at) <= 0) {
            return false;
        }
    }
    return true;
}

}  // namespace geom
