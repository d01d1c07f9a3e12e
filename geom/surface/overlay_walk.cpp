#include "geom/surface/overlay_walk.h"

#include <algorithm>
#include <cmath>

#include "geom/surface/seed_grid.h"
#include "geom/surface/triangle_grid.h"

namespace geom {

namespace {

static Local Relative(const SurfacePoint& p, const SurfacePoint& origin) {
    return {p.x - origin.x, p.y - origin.y};
}

// side[k][i]: the existing triangle's corner i against the design triangle's edge k; bit k
// of cuts: some corner lies strictly beyond edge k. False when all corners lie strictly
// beyond one edge (no overlap).
// All nine are worked out before deciding, without branches, for which way a pair goes cannot
// be foreseen.
bool Sides(const ExistingTriangle& a, const DesignTriangle& b, double (&side)[3][3], int& cuts) {
    int parted = 0;
    for (int k = 0; k < 3; ++k) {
        const Local u = b.corner[k];
        const Local v = b.corner[k == 2 ? 0 : k + 1];
        int beyond = 0;
        for (int i = 0; i < 3; ++i) {
            side[k][i] = SideOf(u, v, a.corner[i]);
            beyond += static_cast<int>(side[k][i] < 0);
        }
        parted |= static_cast<int>(beyond == 3);
        cuts |= static_cast<int>(beyond > 0) << k;
    }
    return parted == 0;
}

}  // namespace

COverlayWalk::COverlayWalk(const WeldedSurface& existing, const WeldedSurface& design)
    : existing_(existing),
      design_(design),
      seeds_(new CSeedGrid(design)),
      seen_(design.triangles.size(), -1) {
    designSlopes_.reserve(design.triangles.size());
    for (const SurfaceTriangle& t : design.triangles) {
        const SurfacePoint& q0 = design.points[t.corner[0]];
        const SurfacePoint& q1 = design.points[t.corner[1]];
        const SurfacePoint& q2 = design.points[t.corner[2]];
        designSlopes_.push_back(SlopeThrough(q1.x - q0.x, q1.y - q0.y, q1.z - q0.z, q2.x - q0.x,
                                             q2.y - q0.y, q2.z - q0.z));
    }
}

COverlayWalk::~COverlayWalk() = default;

void COverlayWalk::Run(COverlayVisitor& visitor, const SurfaceProgress& progress) {
    const std::size_t count = existing_.triangles.size();
    for (std::size_t t = 0; t < count; ++t) {
        if (progress && t % kProgressStride == 0) {
            progress(t, count);
        }
        const std::int32_t* c = existing_.triangles[t].corner;
        const SurfacePoint& origin = existing_.points[c[0]];
        const SurfacePoint& p1 = existing_.points[c[1]];
        const SurfacePoint& p2 = existing_.points[c[2]];
        ExistingTriangle a{static_cast<std::int32_t>(t),
                           origin,
                           {{0, 0}, Relative(p1, origin), Relative(p2, origin)},
                           {},
                           0};
        a.slope = SlopeThrough(a.corner[1].x, a.corner[1].y, p1.z - origin.z, a.corner[2].x,
                               a.corner[2].y, p2.z - origin.z);
        a.area = 0.5 * SideOf(a.corner[0], a.corner[1], a.corner[2]);
        if (!a.slope.Usable() || !(a.area > 0)) {
            continue;
        }
        if (!ByWalk(a, visitor)) {
            visitor.Restart();
            ByGrid(a, visitor);
        }
        visitor.Done(a);
    }
    if (progress) {
        progress(count, count);
    }
}

DesignTriangle COverlayWalk::Load(std::int32_t s, const SurfacePoint& origin) const {
    const std::int32_t* d = design_.triangles[s].corner;
    const SurfacePoint& q0 = design_.points[d[0]];
    return {s,
            {Relative(q0, origin), Relative(design_.points[d[1]], origin),
             Relative(design_.points[d[2]], origin)},
            q0.z,
            designSlopes_[s]};
}

// The design triangle that holds the existing triangle's centroid, found by walking over
// the design's neighbours from a triangle near it; -1 when the walk leaves the design or
// goes on too long.
std::int32_t COverlayWalk::Locate(const ExistingTriangle& a) const {
    const Local centroid = {(a.corner[1].x + a.corner[2].x) / 3,
                            (a.corner[1].y + a.corner[2].y) / 3};
    std::int32_t s = seeds_->Near(a.origin.x + centroid.x, a.origin.y + centroid.y);
    for (int step = 0; s >= 0 && step < 64; ++step) {
        const DesignTriangle b = Load(s, a.origin);
        int beyond = -1;
        for (int i = 0; i < 3 && beyond < 0; ++i) {
            const int k = (i + step) % 3;  // turning the start breaks cycles
            if (SideOf(b.corner[k], b.corner[(k + 1) % 3], centroid) < 0) {
                beyond = k;
            }
        }
        if (beyond < 0) {
            return s;
        }
        s = design_.triangles[s].across[beyond];
    }
    return -1;
}

// Visits the design triangles that overlap the existing one, spreading over neighbours
// from the one that holds its centroid. False when that one cannot be found, when the existing
// triangle reaches over the design's boundary (spreading from one part of a notched design does
// not find the others), or when the overlaps do not add up to its area: then the grid decides.
bool COverlayWalk::ByWalk(const ExistingTriangle& a, COverlayVisitor& visitor) {
    const std::int32_t seed = Locate(a);
    if (seed < 0) {
        return false;
    }
    bool partial = false;  // the existing triangle reaches over the design's boundary
    double area = 0.0;     // of the overlaps
    stack_.clear();
    stack_.push_back(seed);
    seen_[seed] = a.index;
    while (!stack_.empty()) {
        const DesignTriangle b = Load(stack_.back(), a.origin);
        stack_.pop_back();
        double side[3][3];
        int cuts = 0;
        if (!Sides(a, b, side, cuts)) {
            continue;
        }
        area += visitor.Overlap(a, b, side, cuts);
        for (int k = 0; k < 3; ++k) {
            if ((cuts & (1 << k)) != 0) {
                const std::int32_t n = design_.triangles[b.index].across[k];
                if (n < 0) {
                    partial = true;
                } else if (seen_[n] != a.index) {
                    seen_[n] = a.index;
                    stack_.push_back(n);
                }
            }
        }
    }
    return !partial && std::fabs(area - a.area) <= 1e-9 * a.area;
}

// Visits every design triangle whose box meets the existing triangle's box.
void COverlayWalk::ByGrid(const ExistingTriangle& a, COverlayVisitor& visitor) {
    if (!grid_) {
        grid_.reset(new CTriangleGrid(design_, 4.0));
        gridSeen_.assign(design_.triangles.size(), -1);
    }
    ForEachNearTriangle(*grid_, a, [&](std::int32_t s) {
        if (gridSeen_[s] == a.index) {
            return;
        }
        gridSeen_[s] = a.index;
        const DesignTriangle b = Load(s, a.origin);
        double side[3][3];
        int cuts = 0;
        if (Sides(a, b, side, cuts)) {
            visitor.Overlap(a, b, side, cuts);
        }
    });
}

}  // namespace geom
