#include "geom/surface/isopach_walk.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "geom/kernel/large_allocation.h"
#include "geom/kernel/predicates.h"
#include "geom/surface/crossing_table.h"
#include "geom/surface/overlay_walk.h"
#include "geom/surface/seed_grid.h"
#include "geom/surface/triangle_grid.h"

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

// One design triangle met by the existing triangle at hand: the sides of the existing corners
// against its edges, side[k][i] (edge k, corner i), and the crossings found on its edges,
// crossing[k][m] (its edge k with existing edge m: a place in the list of crossings met, or -1).
// Made when the triangle is first reached; its sides are filled in when it is visited.
struct DesignVisit {
    std::int32_t triangle;
    std::int8_t side[3][3];
    std::int32_t crossing[3][3];
};

// The sides of a design point against the existing triangle's edges (m = 0, 1, 2).
struct PointSides {
    std::int32_t point;
    std::int8_t side[3];
};

// The cells of ByGrid's grid over the whole design; FromBoundary takes its order from the same.
constexpr double kDesignTrianglesPerCell = 4.0;

// The design's triangles with an edge on its boundary, each with corners of its own, in a grid
// of their own (none when there are no such triangles), and the cells ByGrid's grid over the
// whole design would have.
struct BoundaryTriangles {
    WeldedSurface corners;
    std::vector<std::int32_t> design;  // the design triangle of each
    std::unique_ptr<CTriangleGrid> grid;
    TriangleGridLayout designCells;
    std::vector<std::uint32_t> seen;  // per triangle: the last round it was looked at in
    std::uint32_t round = 0;

    explicit BoundaryTriangles(const WeldedSurface& surface)
        : designCells(LayOutTriangleGrid(surface, kDesignTrianglesPerCell)) {
        for (std::size_t t = 0; t < surface.triangles.size(); ++t) {
            const SurfaceTriangle& triangle = surface.triangles[t];
            if ((triangle.across[0] | triangle.across[1] | triangle.across[2]) >= 0) {
                continue;
            }
            const std::int32_t first = static_cast<std::int32_t>(corners.points.size());
            for (const std::int32_t c : triangle.corner) {
                corners.points.push_back(surface.points[static_cast<std::size_t>(c)]);
            }
            corners.triangles.push_back({{first, first + 1, first + 2}, {-1, -1, -1}});
            design.push_back(static_cast<std::int32_t>(t));
        }
        if (!design.empty()) {
            grid.reset(new CTriangleGrid(corners, 4.0));
        }
        seen.assign(design.size(), 0);
    }
};

// A design triangle and the grid cell (column, row) in which ByGrid comes to it.
struct GridPlace {
    std::size_t column;
    std::size_t row;
    std::int32_t triangle;
};

// Walks the design for each existing triangle in turn (both in plan order) and writes the map.
// A design point's sides against the existing triangle's edges are decided once for that
// triangle, however many design triangles share the point; a crossing is made once and taken over
// by the other design triangle on its edge and by the existing neighbour on its edge.
class CIsopachWalk {
public:
    CIsopachWalk(const WeldedSurface& existing, const WeldedSurface& design, IsopachMesh& out)
        : existing_(existing),
          design_(design),
          out_(out),
          existingVertex_(existing.points.size(), -1),
          designVertex_(design.points.size(), -1),
          seeds_(design),
          visitOf_(design.triangles.size(), 0),
          sidesOf_(design.points.size(), 0),
          crossings_(existing.triangles.size()) {}

    void Run(const SurfaceProgress& progress) {
        const std::size_t count = existing_.triangles.size();
        for (std::size_t t = 0; t < count; ++t) {
            if (progress && t % kProgressStride == 0) {
                progress(t, count);
            }
            if (!Load(static_cast<std::int32_t>(t))) {
                continue;
            }
            const std::int32_t seed = Locate();
            if (seed < 0 || !Spread(seed)) {
                Restart();
                if (!FromBoundary(seed)) {
                    ByGrid();
                }
            }
            Done();
        }
        if (progress) {
            progress(count, count);
        }
    }

private:
    // Takes existing triangle t as the one at hand; false when it has no plan area or plane.
    bool Load(std::int32_t t) {
        const std::int32_t* c = existing_.triangles[t].corner;
        const SurfacePoint& origin = existing_.points[c[0]];
        for (int i = 0; i < 3; ++i) {
            corner_[i] = Plan(existing_.points[c[i]]);
        }
        a_ = {t, origin, {}, {}, 0};
        for (int i = 0; i < 3; ++i) {
            a_.corner[i] = Relative(corner_[i]);
        }
        a_.slope =
            SlopeThrough(a_.corner[1].x, a_.corner[1].y, existing_.points[c[1]].z - origin.z,
                         a_.corner[2].x, a_.corner[2].y, existing_.points[c[2]].z - origin.z);
        a_.area = 0.5 * SideOf(a_.corner[0], a_.corner[1], a_.corner[2]);
        return a_.slope.Usable() && a_.area > 0;
    }

    Local Relative(PlanPoint p) const { return {p.x - a_.origin.x, p.y - a_.origin.y}; }

    PlanPoint Centroid() const {
        return {a_.origin.x + (a_.corner[1].x + a_.corner[2].x) / 3,
                a_.origin.y + (a_.corner[1].y + a_.corner[2].y) / 3};
    }

    // The design triangle that holds the existing triangle's centroid, walked to from the one
    // that held the last centroid, or else from the seed grid's; -1 when both walks leave the
    // design or go on too long.
    std::int32_t Locate() {
        const PlanPoint centroid = Centroid();
        std::int32_t s = lastSeed_ < 0 ? -1 : WalkTo(centroid, lastSeed_);
        s = s < 0 ? WalkTo(centroid, seeds_.Near(centroid.x, centroid.y)) : s;
        lastSeed_ = s < 0 ? lastSeed_ : s;
        return s;
    }

    // Walks over the design's neighbours from triangle s to the one that holds `target`; -1 when
    // the walk leaves the design or goes on too long.
    std::int32_t WalkTo(PlanPoint target, std::int32_t s) const {
        for (int step = 0; s >= 0 && step < 64; ++step) {
            const std::int32_t* d = design_.triangles[s].corner;
            int beyond = -1;
            for (int i = 0; i < 3 && beyond < 0; ++i) {
                const int k = (i + step) % 3;  // turning the start breaks cycles
                if (Orient(DesignPlan(d[k]), DesignPlan(d[k == 2 ? 0 : k + 1]), target) < 0) {
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

    PlanPoint DesignPlan(std::int32_t j) const { return Plan(design_.points[j]); }

    // The design triangle's visit record, or null when it has not been reached for this
    // existing triangle.
    DesignVisit* VisitOf(std::int32_t s) {
        const std::uint32_t v = visitOf_[s];
        return v < visits_.size() && visits_[v].triangle == s ? &visits_[v] : nullptr;
    }

    std::uint32_t Reach(std::int32_t s) {
        visitOf_[s] = static_cast<std::uint32_t>(visits_.size());
        visits_.push_back({s, {}, {{-1, -1, -1}, {-1, -1, -1}, {-1, -1, -1}}});
        return visitOf_[s];
    }

    // Visits the design triangles that overlap the existing one, spreading over neighbours from
    // the seed. False, and stops, where the existing triangle reaches over the design's boundary
    // (beyond it the design may come back in parts that no neighbour leads to) or when the
    // overlaps do not add up to its area: then the grid decides.
    bool Spread(std::int32_t seed) {
        double area = 0.0;
        stack_.clear();
        stack_.push_back(Reach(seed));
        while (!stack_.empty()) {
            const std::uint32_t v = stack_.back();
            stack_.pop_back();
            if (!Visit(v, area)) {
                continue;
            }
            for (int k = 0; k < 3; ++k) {
                const std::int8_t* side = visits_[v].side[k];
                if ((side[0] | side[1] | side[2]) < 0) {
                    const std::int32_t n = design_.triangles[visits_[v].triangle].across[k];
                    if (n < 0) {
                        return false;
                    }
                    if (VisitOf(n) == nullptr) {
                        stack_.push_back(Reach(n));
                    }
                }
            }
        }
        return std::fabs(area - a_.area) <= 1e-9 * a_.area;
    }

    // Visits the design triangles that overlap the existing one in the order ByGrid would visit
    // them, without a grid over the whole design: they are found by spreading over neighbours (as
    // Spread does) from the one under the centroid (seed, when found) and from the design's
    // boundary triangles near the existing one. That finds them all, for the overlap's parts that
    // the centroid's part does not hold reach the design's boundary inside the existing triangle.
    // False, having visited none, when nothing was found and the centroid, not located, lies
    // inside the design (or the design has no boundary triangles to tell it by).
    bool FromBoundary(std::int32_t seed) {
        if (!boundary_) {
            boundary_.reset(new BoundaryTriangles(design_));
        }
        BoundaryTriangles& boundary = *boundary_;
        const PlanBox box = BoxOf(a_);
        stack_.clear();
        const auto reach = [this](std::int32_t s) {
            if (VisitOf(s) == nullptr) {
                stack_.push_back(Reach(s));
            }
        };
        if (seed >= 0) {
            reach(seed);
        }
        if (boundary.grid) {
            boundary.grid->ForEachNear(box.x0, box.y0, box.x1, box.y1,
                                       [&](std::int32_t i) { reach(boundary.design[i]); });
        }
        overlapping_.clear();
        while (!stack_.empty()) {
            const std::uint32_t v = stack_.back();
            stack_.pop_back();
            int aSide[3][3];
            if (!Overlaps(v, aSide)) {
                continue;
            }
            const std::int32_t s = visits_[v].triangle;
            // ByGrid comes to it in the first of its cells within the box, column by column,
            // and there in the order of the design's triangles.
            const std::int32_t* d = design_.triangles[s].corner;
            const SurfacePoint& p0 = design_.points[d[0]];
            const SurfacePoint& p1 = design_.points[d[1]];
            const SurfacePoint& p2 = design_.points[d[2]];
            const TriangleGridLayout& cells = boundary.designCells;
            overlapping_.push_back(
                {std::max(cells.Column(std::min(p0.x, std::min(p1.x, p2.x))), cells.Column(box.x0)),
                 std::max(cells.Row(std::min(p0.y, std::min(p1.y, p2.y))), cells.Row(box.y0)), s});
            for (int k = 0; k < 3; ++k) {
                const std::int8_t* side = visits_[v].side[k];
                const std::int32_t n = design_.triangles[s].across[k];
                if ((side[0] | side[1] | side[2]) < 0 && n >= 0) {
                    reach(n);
                }
            }
        }
        if (overlapping_.empty() && seed < 0 && (!boundary.grid || InsideDesign(Centroid()))) {
            // No design triangle at the boundary meets it, so it lies wholly inside the design
            // or wholly outside (its centroid then on no boundary edge); inside, with the walk to
            // the centroid given up, only the grid finds what it overlaps.
            visits_.clear();
            return false;
        }
        std::sort(overlapping_.begin(), overlapping_.end(),
                  [](const GridPlace& a, const GridPlace& b) {
                      return a.column != b.column ? a.column < b.column
                             : a.row != b.row     ? a.row < b.row
                                                  : a.triangle < b.triangle;
                  });
        visits_.clear();
        double area = 0.0;
        for (const GridPlace& place : overlapping_) {
            Visit(Reach(place.triangle), area);
        }
        return true;
    }

    // Whether plan position c, on none of the design's boundary edges, lies inside the design:
    // whether a ray from it to the right crosses the boundary an odd number of times (an edge
    // counts when one end lies above c and the other not, and it passes right of c).
    bool InsideDesign(PlanPoint c) {
        BoundaryTriangles& boundary = *boundary_;
        ++boundary.round;
        bool inside = false;
        boundary.grid->ForEachNear(
            c.x, c.y, std::numeric_limits<double>::infinity(), c.y, [&](std::int32_t i) {
                if (boundary.seen[i] == boundary.round) {
                    return;
                }
                boundary.seen[i] = boundary.round;
                const SurfaceTriangle& t = design_.triangles[boundary.design[i]];
                for (int k = 0; k < 3; ++k) {
                    const PlanPoint p = DesignPlan(t.corner[k]);
                    const PlanPoint q = DesignPlan(t.corner[k == 2 ? 0 : k + 1]);
                    if (t.across[k] < 0 && (p.y > c.y) != (q.y > c.y) &&
                        (q.y > p.y) == (Orient(p, q, c) > 0)) {
                        inside = !inside;
                    }
                }
            });
        return inside;
    }

    // Visits every design triangle whose box meets the existing triangle's box.
    void ByGrid() {
        if (!grid_) {
            grid_.reset(new CTriangleGrid(design_, kDesignTrianglesPerCell));
        }
        double area = 0.0;
        ForEachNearTriangle(*grid_, a_, [&](std::int32_t s) {
            if (VisitOf(s) == nullptr) {
                Visit(Reach(s), area);
            }
        });
    }

    // Forgets the faces made for the existing triangle at hand; the vertices stay, and so do
    // the crossings met, which are looked up among those from now on.
    void Restart() {
        out_.faces.resize(firstFace_);
        visits_.clear();
        restarted_ = true;
    }

    void Done() {
        const std::size_t done = static_cast<std::size_t>(a_.index) + 1;
        if (done % kProgressStride == 0) {
            ReserveAhead(out_.vertices, done);
            ReserveAhead(out_.faces, done);
        }
        firstFace_ = out_.faces.size();
        current_.clear();
        visits_.clear();
        points_.clear();
        restarted_ = false;
    }

    // The sides of the existing corners against the edges of the visit's design triangle. The
    // nine are worked out together without branches, which way each goes being unforeseeable;
    // only those the floating-point filter leaves open are decided again exactly.
    void CornerSides(DesignVisit& visit) const {
        const std::int32_t* d = design_.triangles[visit.triangle].corner;
        const PlanPoint q[3] = {DesignPlan(d[0]), DesignPlan(d[1]), DesignPlan(d[2])};
        int open = 0;
        for (int k = 0; k < 3; ++k) {
            for (int i = 0; i < 3; ++i) {
                const int side = OrientIfCertain(q[k], q[k == 2 ? 0 : k + 1], corner_[i]);
                visit.side[k][i] = static_cast<std::int8_t>(side);
                open |= static_cast<int>(side == 0);
            }
        }
        if (open != 0) {
            for (int k = 0; k < 3; ++k) {
                for (int i = 0; i < 3; ++i) {
                    if (visit.side[k][i] == 0) {
                        visit.side[k][i] =
                            static_cast<std::int8_t>(Orient(q[k], q[(k + 1) % 3], corner_[i]));
                    }
                }
            }
        }
    }

    // The sides of design point j against the existing triangle's edges, decided once for it.
    const std::int8_t* PointSidesOf(std::int32_t j) {
        const std::uint32_t v = sidesOf_[j];
        if (v < points_.size() && points_[v].point == j) {
            return points_[v].side;
        }
        sidesOf_[j] = static_cast<std::uint32_t>(points_.size());
        const PlanPoint q = DesignPlan(j);
        PointSides sides{j, {}};
        int open = 0;
        for (int m = 0; m < 3; ++m) {
            const int side = OrientIfCertain(corner_[m], corner_[m == 2 ? 0 : m + 1], q);
            sides.side[m] = static_cast<std::int8_t>(side);
            open |= static_cast<int>(side == 0);
        }
        if (open != 0) {
            for (int m = 0; m < 3; ++m) {
                sides.side[m] =
                    static_cast<std::int8_t>(Orient(corner_[m], corner_[(m + 1) % 3], q));
            }
        }
        points_.push_back(sides);
        return points_.back().side;
    }

    // Decides the sides of visit v's design triangle (CornerSides) and of its corners against the
    // existing triangle's edges, aSide[m][j] (edge m, corner j); false when an edge of either
    // triangle has the other wholly on or beyond it: their interiors do not overlap.
    bool Overlaps(std::uint32_t v, int (&aSide)[3][3]) {
        CornerSides(visits_[v]);
        const DesignVisit& visit = visits_[v];
        const std::int8_t(&bSide)[3][3] = visit.side;
        int parted = 0;
        for (int k = 0; k < 3; ++k) {
            parted |= static_cast<int>(bSide[k][0] <= 0) & static_cast<int>(bSide[k][1] <= 0) &
                      static_cast<int>(bSide[k][2] <= 0);
        }
        if (parted != 0) {
            return false;
        }
        const std::int32_t* ib = design_.triangles[visit.triangle].corner;
        for (int j = 0; j < 3; ++j) {
            const std::int8_t* sides = PointSidesOf(ib[j]);
            for (int m = 0; m < 3; ++m) {
                aSide[m][j] = sides[m];
            }
        }
        for (int m = 0; m < 3; ++m) {
            parted |= static_cast<int>(aSide[m][0] <= 0) & static_cast<int>(aSide[m][1] <= 0) &
                      static_cast<int>(aSide[m][2] <= 0);
        }
        return parted == 0;
    }

    // Visits the design triangle of visit v: decides its sides and adds the faces of its
    // overlap with the existing triangle, whose area it adds to `area`. False when the two do not
    // overlap.
    bool Visit(std::uint32_t v, double& area) {
        int aSide[3][3];  // [edge m of the existing triangle][corner j of the design one]
        if (!Overlaps(v, aSide)) {
            return false;
        }
        const DesignVisit& visit = visits_[v];
        const std::int8_t(&bSide)[3][3] = visit.side;
        const std::int32_t* ib = design_.triangles[visit.triangle].corner;
        const SurfacePoint& q0 = design_.points[ib[0]];
        const SurfacePoint& q1 = design_.points[ib[1]];
        const SurfacePoint& q2 = design_.points[ib[2]];
        const Slope slope = SlopeThrough(q1.x - q0.x, q1.y - q0.y, q1.z - q0.z, q2.x - q0.x,
                                         q2.y - q0.y, q2.z - q0.z);
        if (!slope.Usable()) {
            return true;  // as the volume does: too thin to have a plane
        }
        const std::int32_t* ia = existing_.triangles[a_.index].corner;
        PieceCorners corners;
        for (int i = 0; i < 3; ++i) {
            if ((bSide[0][i] | bSide[1][i] | bSide[2][i]) >= 0) {
                corners.Add(ExistingVertex(ia[i], ib, slope), Relative(corner_[i]));
            }
        }
        for (int j = 0; j < 3; ++j) {
            const PlanPoint q = DesignPlan(ib[j]);
            if ((aSide[0][j] | aSide[1][j] | aSide[2][j]) >= 0 && q != corner_[0] &&
                q != corner_[1] && q != corner_[2]) {
                corners.Add(DesignVertex(ib[j]), Relative(q));
            }
        }
        // Edge m of the existing triangle crosses edge k of the design one: bit 3m + k.
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
            const EdgeCrossing& c = current_[CrossingOf(v, m, k)];
            corners.Add(c.vertex, {c.x - a_.origin.x, c.y - a_.origin.y});
        }
        area += Fan(corners);
        return true;
    }

    // Makes room at once for what the triangles to come will add at the rate of the first `done`,
    // so that the large arrays are copied in a few steps rather than at every doubling; new room
    // is advised huge pages before anything is copied into it. Then makes present the pages that
    // the next stride of triangles is expected to write, in one call rather than a fault per page
    // (large_allocation.h). Room reserved and not used costs no memory until it is written.
    template <typename T>
    void ReserveAhead(std::vector<T>& items, std::size_t done) const {
        const std::size_t total = existing_.triangles.size();
        const double rate = static_cast<double>(items.size()) / static_cast<double>(done);
        const std::size_t expected = static_cast<std::size_t>(rate * static_cast<double>(total));
        if (expected + expected / 8 > items.capacity()) {
            std::vector<T> room;
            room.reserve(std::max(expected + expected / 4, 2 * items.size()));
            AdviseHugePages(room.data(), room.capacity() * sizeof(T));
            room.insert(room.end(), items.begin(), items.end());
            items.swap(room);
        }
        const std::size_t ahead = static_cast<std::size_t>(2 * rate * kProgressStride);
        PrepareForWriting(items.data() + items.size(),
                          std::min(ahead, items.capacity() - items.size()) * sizeof(T));
    }

    std::int32_t NewVertex(double x, double y, double z) {
        out_.vertices.push_back({x, y, z});
        return static_cast<std::int32_t>(out_.vertices.size() - 1);
    }

    // An existing vertex inside the design triangle with corners ib: the design's elevation
    // from that triangle's plane, or its corner's own where they are one point.
    std::int32_t ExistingVertex(std::int32_t i, const std::int32_t* ib, const Slope& slope) {
        if (existingVertex_[i] < 0) {
            const SurfacePoint& p = existing_.points[i];
            const SurfacePoint& q0 = design_.points[ib[0]];
            double design = q0.z + slope.gx * (p.x - q0.x) + slope.gy * (p.y - q0.y);
            for (int j = 0; j < 3; ++j) {
                const SurfacePoint& q = design_.points[ib[j]];
                if (q.x == p.x && q.y == p.y) {
                    design = q.z;
                }
            }
            existingVertex_[i] = NewVertex(p.x, p.y, p.z - design);
        }
        return existingVertex_[i];
    }

    // A design vertex inside the existing triangle: the existing elevation from its plane.
    std::int32_t DesignVertex(std::int32_t j) {
        if (designVertex_[j] < 0) {
            const SurfacePoint& q = design_.points[j];
            const Local at = Relative(Plan(q));
            const double existing = a_.origin.z + a_.slope.gx * at.x + a_.slope.gy * at.y;
            designVertex_[j] = NewVertex(q.x, q.y, existing - q.z);
        }
        return designVertex_[j];
    }

    // The crossing of existing edge m with edge k of visit v's design triangle, as a place in
    // current_: taken over from the design neighbour across that edge when it met it, or after
    // a restart from those met before; otherwise from the existing neighbour across edge m when
    // that one, done before, made it; otherwise made, its position and both elevations taken
    // along the two edges from their lower-numbered ends, and handed over to the existing
    // neighbour when that one comes later.
    std::int32_t CrossingOf(std::uint32_t v, int m, int k) {
        const SurfaceTriangle& d = design_.triangles[visits_[v].triangle];
        const std::int32_t d0 = d.corner[k];
        const std::int32_t d1 = d.corner[k == 2 ? 0 : k + 1];
        const DesignVisit* other = d.across[k] < 0 ? nullptr : VisitOf(d.across[k]);
        if (other != nullptr) {
            const SurfaceTriangle& n = design_.triangles[other->triangle];
            for (int j = 0; j < 3; ++j) {
                if (n.corner[j] == d1 && n.corner[j == 2 ? 0 : j + 1] == d0 &&
                    other->crossing[j][m] >= 0) {
                    return visits_[v].crossing[k][m] = other->crossing[j][m];
                }
            }
        }
        const SurfaceTriangle& t = existing_.triangles[a_.index];
        const std::int32_t e0 = t.corner[m];
        const std::int32_t e1 = t.corner[m == 2 ? 0 : m + 1];
        const std::uint64_t existingEdge = EdgeKey(e0, e1);
        const std::uint64_t designEdge = EdgeKey(d0, d1);
        if (restarted_) {
            for (std::size_t i = 0; i < current_.size(); ++i) {
                if (current_[i].existingEdge == existingEdge &&
                    current_[i].designEdge == designEdge) {
                    return visits_[v].crossing[k][m] = static_cast<std::int32_t>(i);
                }
            }
        }
        const std::int32_t neighbour = t.across[m];
        EdgeCrossing crossing{};
        if (neighbour < 0 || neighbour > a_.index ||
            !crossings_.Take(a_.index, existingEdge, designEdge, crossing)) {
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
            if (neighbour > a_.index) {
                crossings_.Add(neighbour, crossing);
            }
        }
        current_.push_back(crossing);
        return visits_[v].crossing[k][m] = static_cast<std::int32_t>(current_.size() - 1);
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
    ExistingTriangle a_{};                      // the existing triangle at hand
    PlanPoint corner_[3]{};                     // its corners' plan positions
    std::vector<std::int32_t> existingVertex_;  // per existing point: its isopach vertex, or -1
    std::vector<std::int32_t> designVertex_;    // per design point
    CSeedGrid seeds_;
    std::int32_t lastSeed_ = -1;          // the design triangle of the last centroid found
    std::vector<std::uint32_t> visitOf_;  // per design triangle: its place in visits_ (if there)
    std::vector<DesignVisit> visits_;     // of the existing triangle at hand
    std::vector<std::uint32_t> sidesOf_;  // per design point: its place in points_ (if there)
    std::vector<PointSides> points_;      // decided for the existing triangle at hand
    std::vector<std::uint32_t> stack_;
    std::unique_ptr<CTriangleGrid> grid_;          // made when first needed
    std::unique_ptr<BoundaryTriangles> boundary_;  // made when first needed
    std::vector<GridPlace> overlapping_;           // found by FromBoundary
    std::size_t firstFace_ = 0;                    // of the existing triangle at hand, in out_
    bool restarted_ = false;                       // the existing triangle at hand is done again
    std::vector<EdgeCrossing> current_;            // met on the existing triangle at hand
    CCrossingTable crossings_;                     // for neighbours still to come
};

}  // namespace

void WalkIsopach(const WeldedSurface& existing, const WeldedSurface& design, IsopachMesh& out,
                 const SurfaceProgress& progress) {
    CIsopachWalk(existing, design, out).Run(progress);
}

}  // namespace geom
