#include "geom/surface/compute_isopach.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <vector>

#include "geom/kernel/predicates.h"
#include "geom/surface/crossing_table.h"
#include "geom/surface/measurable_surface.h"
#include "geom/surface/order_spatially.h"
#include "geom/surface/overlay_walk.h"

namespace geom {

namespace {

PlanPoint Plan(const SurfacePoint& p) {
    return {p.x, p.y};
}

// The edge between points u and v, whichever way round: the higher number above the lower, chosen
// by value rather than by a branch, for the ends come either way round unforeseeably.
std::uint64_t EdgeKey(std::int32_t u, std::int32_t v) {
    const std::uint64_t a = static_cast<std::uint32_t>(u);
    const std::uint64_t b = static_cast<std::uint32_t>(v);
    const std::uint64_t lower = a < b ? a : b;
    return (a ^ b ^ lower) << 32 | lower;
}

// Twice the signed area of a, b, c, from differences to a.
double Cross(const SurfacePoint& a, const SurfacePoint& b, const SurfacePoint& c) {
    return PlanCross(PlanOf(a), PlanOf(b), PlanOf(c));
}

// Where the line through d0, d1 crosses the segment p-q, as the share of the way from p.
double CrossingShare(const SurfacePoint& p, const SurfacePoint& q, const SurfacePoint& d0,
                     const SurfacePoint& d1) {
    const double dp = Cross(d0, d1, p);
    const double dq = Cross(d0, d1, q);
    return dp != dq ? std::min(1.0, std::max(0.0, dp / (dp - dq))) : 0.5;
}

// A number that grows with the direction's angle from the negative x axis counter-clockwise
// round (0 to 4), without trigonometry: enough to sort directions by angle.
double PseudoAngle(double dx, double dy) {
    const double p = dx / (std::fabs(dx) + std::fabs(dy));  // -1 ... 1
    return dy < 0 ? 1 + p : 3 - p;
}

// The bits set in each 9-bit mask, lowest first: one loop over those that are set instead of a
// branch on every bit, which way each goes being unforeseeable.
struct SetBits {
    std::uint8_t count = 0;
    std::uint8_t bit[9] = {};
};

struct SetBitsTable {
    SetBits of[512] = {};

    constexpr SetBitsTable() {
        for (int mask = 0; mask < 512; ++mask) {
            SetBits& bits = of[mask];
            for (int bit = 0; bit < 9; ++bit) {
                if ((mask & (1 << bit)) != 0) {
                    bits.bit[bits.count++] = static_cast<std::uint8_t>(bit);
                }
            }
        }
    }
};

constexpr SetBitsTable kSetBits;

// The corners of a piece: their isopach vertices and their positions relative to the existing
// triangle's first corner, each kind in an array of its own so that their angles are worked out
// together.
struct PieceCorners {
    int n = 0;
    std::int32_t vertex[12];
    double x[12];
    double y[12];

    void Add(std::int32_t v, Local at) {
        vertex[n] = v;
        x[n] = at.x;
        y[n] = at.y;
        ++n;
    }
};

// side[k][i]: the side of edge k of triangle t on which corner i of triangle u lies. False when
// all of u lies on or beyond one edge of t. The nine are evaluated together without branches and
// only those the floating-point filter leaves open are decided again by Orient.
bool SidesOf(const PlanPoint (&t)[3], const PlanPoint (&u)[3], int (&side)[3][3]) {
    bool open = false;
    for (int k = 0; k < 3; ++k) {
        const PlanPoint a = t[k];
        const PlanPoint b = t[k == 2 ? 0 : k + 1];
        for (int i = 0; i < 3; ++i) {
            side[k][i] = OrientIfCertain(a, b, u[i]);
            open = open || side[k][i] == 0;
        }
    }
    if (open) {
        for (int k = 0; k < 3; ++k) {
            for (int i = 0; i < 3; ++i) {
                side[k][i] = side[k][i] != 0 ? side[k][i] : Orient(t[k], t[(k + 1) % 3], u[i]);
            }
        }
    }
    int parted = 0;  // without branches: which way this goes cannot be foreseen
    for (int k = 0; k < 3; ++k) {
        parted |= static_cast<int>(side[k][0] <= 0) & static_cast<int>(side[k][1] <= 0) &
                  static_cast<int>(side[k][2] <= 0);
    }
    return parted == 0;
}

class CIsopachVisitor : public COverlayVisitor {
public:
    CIsopachVisitor(const WeldedSurface& existing, const WeldedSurface& design, IsopachMesh& out)
        : existing_(existing),
          design_(design),
          out_(out),
          existingVertex_(existing.points.size(), -1),
          designVertex_(design.points.size(), -1),
          crossings_(existing.triangles.size()) {}

    double Overlap(const ExistingTriangle& a, const DesignTriangle& b, const double (&)[3][3],
                   int) override {
        if (!b.slope.Usable()) {
            return 0.0;  // as the volume does: too thin to have a plane
        }
        const std::int32_t* ia = existing_.triangles[a.index].corner;
        const std::int32_t* ib = design_.triangles[b.index].corner;
        PlanPoint pa[3];
        PlanPoint pb[3];
        for (int i = 0; i < 3; ++i) {
            pa[i] = Plan(existing_.points[ia[i]]);
            pb[i] = Plan(design_.points[ib[i]]);
        }
        // Two triangles whose insides meet are not parted by the line of any of their edges.
        int bSide[3][3];  // [edge k of b][corner i of a]
        int aSide[3][3];  // [edge m of a][corner j of b]
        if (!SidesOf(pb, pa, bSide) || !SidesOf(pa, pb, aSide)) {
            return 0.0;
        }
        PieceCorners corners;
        for (int i = 0; i < 3; ++i) {
            if ((bSide[0][i] | bSide[1][i] | bSide[2][i]) >= 0) {
                corners.Add(ExistingVertex(ia[i], a, b), Relative(existing_.points[ia[i]], a));
            }
        }
        for (int j = 0; j < 3; ++j) {
            if ((aSide[0][j] | aSide[1][j] | aSide[2][j]) >= 0 && pb[j] != pa[0] &&
                pb[j] != pa[1] && pb[j] != pa[2]) {
                corners.Add(DesignVertex(ib[j], a), Relative(design_.points[ib[j]], a));
            }
        }
        // Edge m of a crosses edge k of b: bit 3m + k, gathered without branches first.
        int crossing = 0;
        for (int m = 0; m < 3; ++m) {
            for (int k = 0; k < 3; ++k) {
                crossing |= (static_cast<int>(bSide[k][m] * bSide[k][(m + 1) % 3] < 0) &
                             static_cast<int>(aSide[m][k] * aSide[m][(k + 1) % 3] < 0))
                            << (3 * m + k);
            }
        }
        const SetBits& bits = kSetBits.of[crossing];
        for (int i = 0; i < bits.count; ++i) {
            const int m = bits.bit[i] / 3;
            const int k = bits.bit[i] % 3;
            const EdgeCrossing c = CrossingVertex(a, m, ib[k], ib[(k + 1) % 3]);
            corners.Add(c.vertex, {c.x - a.origin.x, c.y - a.origin.y});
        }
        return Fan(corners);
    }

    void Restart() override { out_.faces.resize(firstFace_); }

    void Done(const ExistingTriangle& a) override {
        const std::size_t done = static_cast<std::size_t>(a.index) + 1;
        if (done % kProgressStride == 0) {
            ReserveAhead(out_.vertices, done);
            ReserveAhead(out_.faces, done);
        }
        firstFace_ = out_.faces.size();
        current_.clear();
    }

private:
    // Makes room at once for what the triangles to come will add at the rate of the first `done`,
    // so that the large arrays are copied in a few steps rather than at every doubling. Room
    // reserved and not used costs no memory until it is written.
    template <typename T>
    void ReserveAhead(std::vector<T>& items, std::size_t done) const {
        const std::size_t total = existing_.triangles.size();
        const double rate = static_cast<double>(items.size()) / static_cast<double>(done);
        const std::size_t expected = static_cast<std::size_t>(rate * static_cast<double>(total));
        if (expected + expected / 8 > items.capacity()) {
            items.reserve(std::max(expected + expected / 4, 2 * items.size()));
        }
    }

    static Local Relative(const SurfacePoint& p, const ExistingTriangle& a) {
        return {p.x - a.origin.x, p.y - a.origin.y};
    }

    std::int32_t NewVertex(double x, double y, double z) {
        out_.vertices.push_back({x, y, z});
        return static_cast<std::int32_t>(out_.vertices.size() - 1);
    }

    // An existing vertex inside design triangle b: the design's elevation from b's plane, or
    // b's corner's own where they are one point.
    std::int32_t ExistingVertex(std::int32_t i, const ExistingTriangle& a,
                                const DesignTriangle& b) {
        if (existingVertex_[i] < 0) {
            const SurfacePoint& p = existing_.points[i];
            double design = DesignPlane(b, Relative(p, a));
            for (const std::int32_t j : design_.triangles[b.index].corner) {
                const SurfacePoint& q = design_.points[j];
                if (q.x == p.x && q.y == p.y) {
                    design = q.z;
                }
            }
            existingVertex_[i] = NewVertex(p.x, p.y, p.z - design);
        }
        return existingVertex_[i];
    }

    // A design vertex inside the existing triangle a: the existing elevation from a's plane.
    std::int32_t DesignVertex(std::int32_t j, const ExistingTriangle& a) {
        if (designVertex_[j] < 0) {
            const SurfacePoint& q = design_.points[j];
            const Local at = Relative(q, a);
            const double existing = a.origin.z + a.slope.gx * at.x + a.slope.gy * at.y;
            designVertex_[j] = NewVertex(q.x, q.y, existing - q.z);
        }
        return designVertex_[j];
    }

    static double DesignPlane(const DesignTriangle& b, Local at) {
        return b.z0 + b.slope.gx * (at.x - b.corner[0].x) + b.slope.gy * (at.y - b.corner[0].y);
    }

    // The crossing of edge m of the existing triangle with the design edge d0-d1: found again
    // when this triangle met it before, or taken over from the neighbour across the edge when
    // that one, done before, made it; otherwise made, its position and both elevations taken
    // along the two edges from their lower-numbered ends, and handed over to the neighbour when
    // that one comes later.
    EdgeCrossing CrossingVertex(const ExistingTriangle& a, int m, std::int32_t d0,
                                std::int32_t d1) {
        const SurfaceTriangle& t = existing_.triangles[a.index];
        const std::int32_t e0 = t.corner[m];
        const std::int32_t e1 = t.corner[(m + 1) % 3];
        const std::uint64_t existingEdge = EdgeKey(e0, e1);
        const std::uint64_t designEdge = EdgeKey(d0, d1);
        // Looked through to the end without branching on each, which could not be foreseen.
        std::size_t met = current_.size();
        for (std::size_t i = 0; i < current_.size(); ++i) {
            const bool same = static_cast<int>(current_[i].existingEdge == existingEdge) &
                              static_cast<int>(current_[i].designEdge == designEdge);
            met = same ? i : met;
        }
        if (met < current_.size()) {
            return current_[met];
        }
        const std::int32_t neighbour = t.across[m];
        EdgeCrossing crossing{};
        if (neighbour < 0 || neighbour > a.index ||
            !crossings_.Take(a.index, existingEdge, designEdge, crossing)) {
            const SurfacePoint& p = existing_.points[std::min(e0, e1)];
            const SurfacePoint& q = existing_.points[std::max(e0, e1)];
            const SurfacePoint& r = design_.points[std::min(d0, d1)];
            const SurfacePoint& s = design_.points[std::max(d0, d1)];
            const double along = CrossingShare(p, q, r, s);
            const double across = CrossingShare(r, s, p, q);
            const double existing = p.z + along * (q.z - p.z);
            const double design = r.z + across * (s.z - r.z);
            const double x = p.x + along * (q.x - p.x);
            const double y = p.y + along * (q.y - p.y);
            crossing = {existingEdge, designEdge, NewVertex(x, y, existing - design), x, y};
            if (neighbour > a.index) {
                crossings_.Add(neighbour, crossing);
            }
        }
        current_.push_back(crossing);
        return crossing;
    }

    // Fans the convex piece out from one corner, its corners sorted counter-clockwise around
    // their centroid; faces that rounding left without a plan area are dropped. Gives the
    // piece's area.
    double Fan(const PieceCorners& corners) {
        const int n = corners.n;
        if (n < 3) {
            return 0.0;
        }
        // The directions from the centroid, n times as long: the same angles, no divisions.
        double sx = 0.0;
        double sy = 0.0;
        for (int i = 0; i < n; ++i) {
            sx += corners.x[i];
            sy += corners.y[i];
        }
        double angle[12];
        for (int i = 0; i < n; ++i) {
            angle[i] = PseudoAngle(n * corners.x[i] - sx, n * corners.y[i] - sy);
        }
        int order[12];
        for (int i = 0; i < n; ++i) {
            order[i] = i;
        }
        for (int i = 1; i < n; ++i) {  // insertion sort: a dozen corners at most
            for (int j = i; j > 0 && angle[order[j]] < angle[order[j - 1]]; --j) {
                std::swap(order[j], order[j - 1]);
            }
        }
        const Local first = {corners.x[order[0]], corners.y[order[0]]};
        double area = 0.0;
        for (int i = 2; i < n; ++i) {
            const int u = order[i - 1];
            const int v = order[i];
            const double twice =
                SideOf(first, {corners.x[u], corners.y[u]}, {corners.x[v], corners.y[v]});
            if (twice > 0) {
                area += twice / 2;
                out_.faces.push_back(
                    {corners.vertex[order[0]], corners.vertex[u], corners.vertex[v]});
            }
        }
        return area;
    }

    const WeldedSurface& existing_;
    const WeldedSurface& design_;
    IsopachMesh& out_;
    std::vector<std::int32_t> existingVertex_;  // per existing point: its isopach vertex, or -1
    std::vector<std::int32_t> designVertex_;    // per design point
    std::size_t firstFace_ = 0;                 // of the existing triangle at hand, in out_
    std::vector<EdgeCrossing> current_;         // met on the existing triangle at hand
    CCrossingTable crossings_;                  // for neighbours still to come
};

}  // namespace

SurfaceStatus ComputeIsopach(const WeldedSurface& existing, const WeldedSurface& design,
                             IsopachMesh& isopach, const SurfaceProgress& progress) {
    isopach = IsopachMesh();
    if (!IsMeasurable(existing) || !IsMeasurable(design)) {
        return SurfaceStatus::CoordinatesTooLarge;
    }
    if (existing.triangles.empty() || design.triangles.empty()) {
        return SurfaceStatus::Ok;
    }
    try {
        // The welded order follows the meshes' faces, which may jump about the plan.
        const WeldedSurface orderedExisting = OrderSpatially(existing);
        const WeldedSurface orderedDesign = OrderSpatially(design);
        CIsopachVisitor visitor(orderedExisting, orderedDesign, isopach);
        COverlayWalk(orderedExisting, orderedDesign).Run(visitor, progress);
    } catch (const std::bad_alloc&) {
        isopach = IsopachMesh();
        return SurfaceStatus::OutOfMemory;
    }
    return SurfaceStatus::Ok;
}

}  // namespace geom
