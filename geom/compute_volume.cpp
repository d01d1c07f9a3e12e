#include "geom/compute_volume.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <vector>

#include "geom/compensated_sum.h"
#include "geom/integrate_by_sign.h"

namespace geom {

namespace {

// Plan positions relative to the first corner of the existing surface's triangle at hand, so
// that far-off survey coordinates lose no precision in the clipping.
struct Local {
    double x;
    double y;
};

// Sutherland-Hodgman step: the part of the convex polygon in[0..n) on the left of (or on) the
// line from u to v. Gives the number of points written to out (room for 2n).
int ClipLeftOf(const Local* in, int n, Local u, Local v, Local* out) {
    const double ex = v.x - u.x;
    const double ey = v.y - u.y;
    double side[24];
    for (int i = 0; i < n; ++i) {
        side[i] = ex * (in[i].y - u.y) - ey * (in[i].x - u.x);
    }
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

// Where a point lies against the three edges of a counter-clockwise triangle: inside or on
// all of them, or strictly outside one.
enum class Placement { Inside, Outside, Crossing };

double SideOf(Local u, Local v, Local p) {
    return (v.x - u.x) * (p.y - u.y) - (v.y - u.y) * (p.x - u.x);
}

// How triangle t lies against triangle s: Inside when all of t's corners are inside s, Outside
// when all lie strictly beyond one edge of s, else Crossing.
Placement Place(const Local* t, const Local* s) {
    bool inside = true;
    for (int k = 0; k < 3; ++k) {
        const Local u = s[k];
        const Local v = s[k == 2 ? 0 : k + 1];
        const double s0 = SideOf(u, v, t[0]);
        const double s1 = SideOf(u, v, t[1]);
        const double s2 = SideOf(u, v, t[2]);
        if (s0 < 0 && s1 < 0 && s2 < 0) {
            return Placement::Outside;
        }
        inside = inside && s0 >= 0 && s1 >= 0 && s2 >= 0;
    }
    return inside ? Placement::Inside : Placement::Crossing;
}

// The plane of a triangle: z = z0 + gx (x - x0) + gy (y - y0).
struct Plane {
    double x0;
    double y0;
    double z0;
    double gx;
    double gy;

    double At(double x, double y) const { return z0 + gx * (x - x0) + gy * (y - y0); }
    // False for a triangle too thin for its slopes to be computed; it covers no area worth
    // counting.
    bool Usable() const { return std::isfinite(gx) && std::isfinite(gy); }
};

Plane PlaneThrough(Local p0, double z0, Local p1, double z1, Local p2, double z2) {
    const double e1x = p1.x - p0.x, e1y = p1.y - p0.y, d1 = z1 - z0;
    const double e2x = p2.x - p0.x, e2y = p2.y - p0.y, d2 = z2 - z0;
    const double det = e1x * e2y - e1y * e2x;
    return {p0.x, p0.y, z0, (d1 * e2y - d2 * e1y) / det, (e1x * d2 - e2x * d1) / det};
}

// Uniform grid over the plan boxes of a surface's triangles: the triangles whose box meets a
// cell are listed for it.
class CTriangleGrid {
public:
    explicit CTriangleGrid(const WeldedSurface& surface) {
        const std::size_t n = surface.triangles.size();
        minX_ = minY_ = INFINITY;
        double maxX = -INFINITY;
        double maxY = -INFINITY;
        for (const SurfaceTriangle& t : surface.triangles) {
            for (std::int32_t c : t.corner) {
                minX_ = std::min(minX_, surface.points[c].x);
                minY_ = std::min(minY_, surface.points[c].y);
                maxX = std::max(maxX, surface.points[c].x);
                maxY = std::max(maxY, surface.points[c].y);
            }
        }
        maxX_ = maxX;
        maxY_ = maxY;
        // About one triangle per cell.
        const double cell = std::sqrt((maxX - minX_) * (maxY - minY_) / static_cast<double>(n));
        columns_ = Count((maxX - minX_) / cell, n);
        rows_ = Count((maxY - minY_) / cell, n);
        scaleX_ = columns_ / (maxX - minX_);
        scaleY_ = rows_ / (maxY - minY_);

        start_.assign(columns_ * rows_ + 1, 0);
        ForEachCell(surface, [&](std::size_t, std::size_t cell) { ++start_[cell + 1]; });
        for (std::size_t i = 1; i < start_.size(); ++i) {
            start_[i] += start_[i - 1];
        }
        entries_.resize(start_.back());
        std::vector<std::uint32_t> fill(start_.begin(), start_.end() - 1);
        ForEachCell(surface, [&](std::size_t t, std::size_t cell) {
            entries_[fill[cell]++] = static_cast<std::int32_t>(t);
        });
    }

    // Calls visit(triangle) for every triangle listed in the cells the box meets (a triangle
    // may come more than once).
    template <typename Visit>
    void ForEachNear(double x0, double y0, double x1, double y1, Visit visit) const {
        if (x1 < minX_ || y1 < minY_ || x0 > maxX_ || y0 > maxY_) {
            return;
        }
        const std::size_t c0 = Column(x0), c1 = Column(x1);
        const std::size_t r0 = Row(y0), r1 = Row(y1);
        for (std::size_t r = r0; r <= r1; ++r) {
            for (std::size_t c = c0; c <= c1; ++c) {
                const std::size_t cell = r * columns_ + c;
                for (std::uint32_t i = start_[cell]; i < start_[cell + 1]; ++i) {
                    visit(entries_[i]);
                }
            }
        }
    }

private:
    static std::size_t Count(double cells, std::size_t most) {
        if (!(cells >= 1)) {
            return 1;
        }
        return std::min(most, static_cast<std::size_t>(std::ceil(cells)));
    }

    std::size_t Column(double x) const {
        const double c = std::floor((x - minX_) * scaleX_);
        return c <= 0 ? 0 : std::min(columns_ - 1, static_cast<std::size_t>(c));
    }

    std::size_t Row(double y) const {
        const double r = std::floor((y - minY_) * scaleY_);
        return r <= 0 ? 0 : std::min(rows_ - 1, static_cast<std::size_t>(r));
    }

    template <typename Visit>
    void ForEachCell(const WeldedSurface& surface, Visit visit) const {
        for (std::size_t t = 0; t < surface.triangles.size(); ++t) {
            const std::int32_t* c = surface.triangles[t].corner;
            const SurfacePoint& a = surface.points[c[0]];
            const SurfacePoint& b = surface.points[c[1]];
            const SurfacePoint& d = surface.points[c[2]];
            const std::size_t c0 = Column(std::min(a.x, std::min(b.x, d.x)));
            const std::size_t c1 = Column(std::max(a.x, std::max(b.x, d.x)));
            const std::size_t r0 = Row(std::min(a.y, std::min(b.y, d.y)));
            const std::size_t r1 = Row(std::max(a.y, std::max(b.y, d.y)));
            for (std::size_t r = r0; r <= r1; ++r) {
                for (std::size_t col = c0; col <= c1; ++col) {
                    visit(t, r * columns_ + col);
                }
            }
        }
    }

    double minX_, minY_, maxX_, maxY_;
    double scaleX_, scaleY_;
    std::size_t columns_, rows_;
    std::vector<std::uint32_t> start_;
    std::vector<std::int32_t> entries_;
};

class Overlay {
public:
    Overlay(const WeldedSurface& existing, const WeldedSurface& design)
        : existing_(existing), design_(design), grid_(design),
          seen_(design.triangles.size(), -1) {}

    void Run(VolumeResult& result) {
        for (std::size_t t = 0; t < existing_.triangles.size(); ++t) {
            Overlap(static_cast<std::int32_t>(t));
        }
        result.cut = cut_.Value();
        result.fill = fill_.Value();
        result.net = result.cut - result.fill;
        result.area = area_.Value();
    }

private:
    void Overlap(std::int32_t t) {
        const std::int32_t* c = existing_.triangles[t].corner;
        const SurfacePoint& origin = existing_.points[c[0]];
        const SurfacePoint& p1 = existing_.points[c[1]];
        const SurfacePoint& p2 = existing_.points[c[2]];
        const Local a[3] = {{0, 0}, Relative(p1, origin), Relative(p2, origin)};
        const Plane first = PlaneThrough(a[0], origin.z, a[1], p1.z, a[2], p2.z);
        if (!first.Usable()) {
            return;
        }
        const double x0 = std::min(origin.x, std::min(p1.x, p2.x));
        const double x1 = std::max(origin.x, std::max(p1.x, p2.x));
        const double y0 = std::min(origin.y, std::min(p1.y, p2.y));
        const double y1 = std::max(origin.y, std::max(p1.y, p2.y));
        grid_.ForEachNear(x0, y0, x1, y1, [&](std::int32_t s) {
            if (seen_[s] == t) {
                return;
            }
            seen_[s] = t;
            const std::int32_t* d = design_.triangles[s].corner;
            const SurfacePoint& q0 = design_.points[d[0]];
            const SurfacePoint& q1 = design_.points[d[1]];
            const SurfacePoint& q2 = design_.points[d[2]];
            const Local b[3] = {Relative(q0, origin), Relative(q1, origin), Relative(q2, origin)};
            const Placement placement = Place(a, b);
            if (placement == Placement::Outside) {
                return;
            }
            const Plane second = PlaneThrough(b[0], q0.z, b[1], q1.z, b[2], q2.z);
            if (!second.Usable()) {
                return;
            }
            if (placement == Placement::Inside) {
                Integrate(a, 3, first, second);
                return;
            }
            if (Place(b, a) == Placement::Inside) {
                Integrate(b, 3, first, second);
                return;
            }
            Local one[24];
            Local two[24];
            int n = ClipLeftOf(a, 3, b[0], b[1], one);
            n = ClipLeftOf(one, n, b[1], b[2], two);
            n = ClipLeftOf(two, n, b[2], b[0], one);
            if (n >= 3) {
                Integrate(one, n, first, second);
            }
        });
    }

    static Local Relative(const SurfacePoint& p, const SurfacePoint& origin) {
        return {p.x - origin.x, p.y - origin.y};
    }

    // Integrates first - second over the convex polygon, fanned out from its first point.
    void Integrate(const Local* polygon, int n, const Plane& first, const Plane& second) {
        auto difference = [&](Local p) { return first.At(p.x, p.y) - second.At(p.x, p.y); };
        const double f0 = difference(polygon[0]);
        double f1 = difference(polygon[1]);
        for (int i = 2; i < n; ++i) {
            const double f2 = difference(polygon[i]);
            const double area = 0.5 * SideOf(polygon[0], polygon[i - 1], polygon[i]);
            if (area > 0) {
                double above = 0.0;
                double below = 0.0;
                IntegrateBySign(area, f0, f1, f2, above, below);
                cut_.Add(above);
                fill_.Add(below);
                area_.Add(area);
            }
            f1 = f2;
        }
    }

    const WeldedSurface& existing_;
    const WeldedSurface& design_;
    CTriangleGrid grid_;
    std::vector<std::int32_t> seen_;  // the existing triangle that last looked at a design one
    CCompensatedSum cut_;
    CCompensatedSum fill_;
    CCompensatedSum area_;
};

}  // namespace

SurfaceStatus ComputeVolume(const WeldedSurface& existing, const WeldedSurface& design,
                            VolumeResult& result) {
    result = VolumeResult();
    if (existing.triangles.empty() || design.triangles.empty()) {
        return SurfaceStatus::Ok;
    }
    try {
        Overlay(existing, design).Run(result);
    } catch (const std::bad_alloc&) {
        result = VolumeResult();
        return SurfaceStatus::OutOfMemory;
    }
    return SurfaceStatus::Ok;
}

}  // namespace geom
