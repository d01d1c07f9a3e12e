#include "geom/delaunay.h"

#include <cstddef>
#include <exception>
#include <limits>
#include <memory>
#include <new>

#include "geom/delaunay_sweep.h"
#include "geom/sort_points.h"

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
// nothing is read.
bool CDelaunay::InsertPoints() {
    const std::int32_t n = pointCount;
    if (n == 0) {
        return true;
    }
    try {
        if (!MakeSuperTriangle()) {
            return false;
        }
        SweepInsertPoints(pointStore.data(), n, tolerance, result);
        return true;
    } catch (const std::exception&) {
        result.clear();
        return false;
    }
}

// Appends the corners S1, S2, S3 (counter-clockwise) of a triangle that encloses every point
// with a wide margin, at positions n, n + 1, n + 2.
bool CDelaunay::MakeSuperTriangle() {
    const std::int32_t n = pointCount;
    double xmin = pointStore[0].x, xmax = xmin;
    double ymin = pointStore[0].y, ymax = ymin;
    for (std::int32_t i = 1; i < n; ++i) {
        const CVertex& p = pointStore[i];
        if (p.x < xmin)
            xmin = p.x;
        if (p.x > xmax)
            xmax = p.x;
        if (p.y < ymin)
            ymin = p.y;
        if (p.y > ymax)
            ymax = p.y;
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

}  // namespace geom
