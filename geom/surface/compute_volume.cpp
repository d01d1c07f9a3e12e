#include "geom/surface/compute_volume.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

#include "geom/kernel/compensated_sum.h"
#include "geom/kernel/predicates.h"
#include "geom/surface/integrate_by_sign.h"
#include "geom/surface/measurable_surface.h"
#include "geom/surface/overlay_walk.h"

namespace geom {

namespace {

// Sutherland-Hodgman step: the part of the convex polygon in[0..n) on the left of (or on) a
// line, given each point's SideOf against it. Gives the number of points written to out (room
// for 2n).
int ClipBySides(const Local* in, const double* side, int n, Local* out) {
    int m = 0;
    for (int i = 0; i < n; ++i) {
        const int j = i + 1 == n ? 0 : i + 1;
        if (side[i] >= 0) {
            out[m++] = in[i];
        }
        if ((side[i] > 0 && side[j] < 0) || (side[i] < 0 && side[j] > 0)) {
            const double t = side[i] / (side[i] - side[j]);
            out[m++] = {in[i].x + t * (in[j].x - in[i].x), in[i].y + t * (in[j].y - in[i].y)};
        }
    }
    return m;
}

// Whether every corner of triangle t lies inside or on counter-clockwise triangle s.
bool WithinTriangle(const Local* t, const Local* s) {
    for (int k = 0; k < 3; ++k) {
        const Local u = s[k];
        const Local v = s[k == 2 ? 0 : k + 1];
        if (SideOf(u, v, t[0]) < 0 || SideOf(u, v, t[1]) < 0 || SideOf(u, v, t[2]) < 0) {
            return false;
        }
    }
    return true;
}

// Cut, fill and area of the pieces of one existing triangle.
struct PieceSums {
    double cut = 0.0;
    double fill = 0.0;
    double area = 0.0;
};

// Integrates existing - design over the overlay's pieces: the existing triangle clipped by
// each overlapping design triangle.
class CVolumeVisitor : public COverlayVisitor {
public:
    double Overlap(const ExistingTriangle& a, const DesignTriangle& b, const double (&side)[3][3],
                   int cuts) override {
        const double before = sums_.area;
        Piece(a, b, side, cuts, sums_);
        return sums_.area - before;
    }

    void Restart() override { sums_ = PieceSums(); }

    void Done(const ExistingTriangle&) override {
        cut_.Add(sums_.cut);
        fill_.Add(sums_.fill);
        area_.Add(sums_.area);
        sums_ = PieceSums();
    }

    VolumeResult Result() const {
        VolumeResult result;
        result.cut = cut_.Value();
        result.fill = fill_.Value();
        result.net = result.cut - result.fill;
        result.area = area_.Value();
        return result;
    }

private:
    // Integrates over the overlap of the existing triangle with design triangle b: the
    // existing triangle clipped by the edges of b that cut it.
    void Piece(const ExistingTriangle& a, const DesignTriangle& b, const double (&side)[3][3],
               int cuts, PieceSums& sums) const {
        if (!b.slope.Usable()) {
            return;
        }
        if (cuts == 0) {
            Integrate(a, b, a.corner, 3, sums);
            return;
        }
        if (cuts == 7 && WithinTriangle(b.corner, a.corner)) {
            Integrate(a, b, b.corner, 3, sums);
            return;
        }
        Local one[24];
        Local two[24];
        const Local* polygon = a.corner;
        int n = 3;
        bool first = true;
        for (int k = 0; k < 3 && n > 0; ++k) {
            if ((cuts & (1 << k)) == 0) {
                continue;
            }
            Local* out = polygon == one ? two : one;
            if (first) {
                n = ClipBySides(polygon, side[k], n, out);
                first = false;
            } else {
                double sides[24];
                const Local u = b.corner[k];
                const Local v = b.corner[k == 2 ? 0 : k + 1];
                for (int i = 0; i < n; ++i) {
                    sides[i] = SideOf(u, v, polygon[i]);
                }
                n = ClipBySides(polygon, sides, n, out);
            }
            polygon = out;
        }
        if (n >= 3) {
            Integrate(a, b, polygon, n, sums);
        }
    }

    // Integrates existing - design over the convex polygon, fanned out from its first point.
    // The difference is c + g . p with p relative to the existing triangle's origin.
    static void Integrate(const ExistingTriangle& a, const DesignTriangle& b, const Local* polygon,
                          int n, PieceSums& sums) {
        const double gx = a.slope.gx - b.slope.gx;
        const double gy = a.slope.gy - b.slope.gy;
        const double c =
            (a.origin.z - b.z0) + b.slope.gx * b.corner[0].x + b.slope.gy * b.corner[0].y;
        double f[24];
        bool anyAbove = false;
        bool anyBelow = false;
        for (int i = 0; i < n; ++i) {
            f[i] = c + gx * polygon[i].x + gy * polygon[i].y;
            anyAbove = anyAbove || f[i] > 0;
            anyBelow = anyBelow || f[i] < 0;
        }
        double total = 0.0;  // three times the integral, where the sign is one
        for (int i = 2; i < n; ++i) {
            const double area = 0.5 * SideOf(polygon[0], polygon[i - 1], polygon[i]);
            if (!(area > 0)) {
                continue;
            }
            sums.area += area;
            if (anyAbove && anyBelow) {
                double above = 0.0;
                double below = 0.0;
                IntegrateBySign(area, f[0], f[i - 1], f[i], above, below);
                sums.cut += above;
                sums.fill += below;
            } else {
                total += area * (f[0] + f[i - 1] + f[i]);
            }
        }
        if (anyAbove && !anyBelow) {
            sums.cut += total / 3.0;
        } else if (anyBelow && !anyAbove) {
            sums.fill -= total / 3.0;
        }
    }

    PieceSums sums_;  // of the existing triangle at hand
    CCompensatedSum cut_;
    CCompensatedSum fill_;
    CCompensatedSum area_;
};

}  // namespace

SurfaceStatus ComputeVolume(const WeldedSurface& existing, const WeldedSurface& design,
                            VolumeResult& result, const SurfaceProgress& progress) {
    result = VolumeResult();
    if (!IsMeasurable(existing) || !IsMeasurable(design)) {
        return SurfaceStatus::CoordinatesTooLarge;
    }
    if (existing.triangles.empty() || design.triangles.empty()) {
        return SurfaceStatus::Ok;
    }
    try {
        CVolumeVisitor visitor;
        COverlayWalk(existing, design).Run(visitor, progress);
        result = visitor.Result();
    } catch (const std::bad_alloc&) {
        result = VolumeResult();
        return SurfaceStatus::OutOfMemory;
    }
    return SurfaceStatus::Ok;
}

}  // namespace geom
