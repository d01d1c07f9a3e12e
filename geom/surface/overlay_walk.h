// COverlayWalk: the overlay of two welded surfaces (WeldSurface) in plan, for the functions that
// work on it piece by piece (ComputeVolume).
//
// Run(visitor, progress) takes each triangle of `existing` that has a plan area (and a plane)
// in turn and hands the visitor every triangle of `design` that may overlap it: the design
// triangles are found by spreading over the design's neighbours from the one under the existing
// triangle's centroid, or through a uniform grid over `design` where that one cannot be found
// (outside the design), where the triangle reaches over the design's boundary, or where the
// overlaps' areas do not make up the triangle (then the visitor is told to forget the overlaps
// of that triangle first). `progress` hears of the existing
// triangles done (surface_progress.h). Throws std::bad_alloc when memory is short.
//
// The visitor gets the triangles relative to the existing triangle's first corner, so that
// far-off survey coordinates lose no precision, with side[k][i], twice the signed area of the
// design triangle's edge k and the existing triangle's corner i (floating point), and bit k of
// cuts set when some corner lies strictly beyond edge k. Pairs with every corner strictly beyond
// one edge (no overlap) are not handed over.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "geom/kernel/predicates.h"
#include "geom/surface/surface_progress.h"
#include "geom/surface/triangle_grid.h"
#include "geom/surface/welded_surface.h"

namespace geom {

// Plan positions relative to the first corner of the existing surface's triangle at hand (Local),
// so that far-off survey coordinates lose no precision in the clipping.
using Local = PlanPoint;

// Twice the signed area of u, v, p: positive when p lies left of the line from u to v.
inline double SideOf(Local u, Local v, Local p) {
    return PlanCross(u, v, p);
}

// The slopes of the plane through three points: z = z0 + gx (x - x0) + gy (y - y0). Not finite
// for a triangle too thin for them to be computed; such a triangle covers no area worth
// counting.
struct Slope {
    double gx;
    double gy;

    bool Usable() const { return std::isfinite(gx) && std::isfinite(gy); }
};

inline Slope SlopeThrough(double e1x, double e1y, double d1, double e2x, double e2y, double d2) {
    const double det = e1x * e2y - e1y * e2x;
    return {(d1 * e2y - d2 * e1y) / det, (e1x * d2 - e2x * d1) / det};
}

// The existing triangle at hand, relative to its first corner (origin).
struct ExistingTriangle {
    std::int32_t index;
    SurfacePoint origin;
    Local corner[3];
    Slope slope;
    double area;
};

// A design triangle relative to the existing triangle's origin, with its corners' elevations.
struct DesignTriangle {
    std::int32_t index;
    Local corner[3];
    double z0;
    Slope slope;
};

// The existing triangle's plan box, in the surfaces' coordinates.
struct PlanBox {
    double x0, y0, x1, y1;
};

inline PlanBox BoxOf(const ExistingTriangle& a) {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    for (const Local& p : a.corner) {
        x0 = std::min(x0, p.x);
        y0 = std::min(y0, p.y);
        x1 = std::max(x1, p.x);
        y1 = std::max(y1, p.y);
    }
    return {a.origin.x + x0, a.origin.y + y0, a.origin.x + x1, a.origin.y + y1};
}

// Calls visit(design triangle) for each triangle the grid lists near the existing triangle's box
// (one may come more than once).
template <typename Visit>
void ForEachNearTriangle(const CTriangleGrid& grid, const ExistingTriangle& a, Visit visit) {
    const PlanBox box = BoxOf(a);
    grid.ForEachNear(box.x0, box.y0, box.x1, box.y1, visit);
}

class COverlayVisitor {
public:
    virtual ~COverlayVisitor() = default;
    // The overlap of the existing triangle with design triangle b; gives its plan area.
    virtual double Overlap(const ExistingTriangle& a, const DesignTriangle& b,
                           const double (&side)[3][3], int cuts) = 0;
    // Forgets the overlaps handed over for the existing triangle at hand.
    virtual void Restart() = 0;
    // The existing triangle has had all its overlaps.
    virtual void Done(const ExistingTriangle& a) = 0;
};

class CSeedGrid;

class COverlayWalk {
public:
    COverlayWalk(const WeldedSurface& existing, const WeldedSurface& design);
    ~COverlayWalk();
    COverlayWalk(const COverlayWalk&) = delete;
    COverlayWalk& operator=(const COverlayWalk&) = delete;

    void Run(COverlayVisitor& visitor, const SurfaceProgress& progress);

private:
    DesignTriangle Load(std::int32_t s, const SurfacePoint& origin) const;
    std::int32_t Locate(const ExistingTriangle& a) const;
    bool ByWalk(const ExistingTriangle& a, COverlayVisitor& visitor);
    void ByGrid(const ExistingTriangle& a, COverlayVisitor& visitor);

    const WeldedSurface& existing_;
    const WeldedSurface& design_;
    std::unique_ptr<CSeedGrid> seeds_;
    std::vector<Slope> designSlopes_;
    std::vector<std::int32_t> seen_;  // the existing triangle that last reached a design one
    std::vector<std::int32_t> stack_;
    std::unique_ptr<CTriangleGrid> grid_;  // made when first needed
    std::vector<std::int32_t> gridSeen_;
};

}  // namespace geom
