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
    const double half[2] = {3 - p, 1 + p};                  // chosen without a branch
    return half[static_cast<int>(dy < 0)];
}

// Puts into order[0 ... N - 1] the places of the N angles, smallest first and equal ones in
// their given order: each angle's place is counted at once, without a branch on the
// comparisons, which way each goes being unforeseeable. The angles must be numbers.
template <int N>
void OrderByRank(const double* angle, int* order) {
    for (int i = 0; i < N; ++i) {
        int rank = 0;
        for (int j = 0; j < N; ++j) {
            rank += static_cast<int>(angle[j] < angle[i]) +
                    static_cast<int>(j < i && angle[j] == angle[i]);
        }
        order[rank] = i;
    }
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

// The sides of points against lines: bit c (or, in a word, bit 3r + c for line r) of left
// (right) set when point c lies strictly left (right) of the line.
struct SideBits {
    std::uint32_t left;
    std::uint32_t right;
};

// The sides of three points against three lines are kept as 9-bit words, bit 3r + c for line
// (row) r and point (column) c: one word for "strictly left", one for "strictly right". The
// tests on them are then a few operations on the whole word instead of a branch per pair.

// The word with rows and columns exchanged: bit 3c + r takes bit 3r + c.
struct TransposeTable {
    std::uint16_t of[512] = {};

    constexpr TransposeTable() {
        for (int word = 0; word < 512; ++word) {
            for (int bit = 0; bit < 9; ++bit) {
                if ((word & (1 << bit)) != 0) {
                    of[word] = static_cast<std::uint16_t>(of[word] | 1 << (bit % 3 * 3 + bit / 3));
                }
            }
        }
    }
};

constexpr TransposeTable kTranspose;

// Row r of the word, as three bits.
std::uint32_t RowOf(std::uint32_t word, int r) {
    return word >> (3 * r) & 7u;
}

// The columns with a bit in some row, as three bits.
std::uint32_t ColumnsOf(std::uint32_t word) {
    return (word | word >> 3 | word >> 6) & 7u;
}

// Column c of the word, as a word with its bits in column 0.
std::uint32_t ColumnOf(std::uint32_t word, int c) {
    return word >> c & 0x49u;
}

// Whether every row has a bit.
bool EveryRowSet(std::uint32_t word) {
    return ((word | word >> 1 | word >> 2) & 0x49u) == 0x49u;
}

// The edge of triangle t that it shares with its neighbour n (t.across[k] == n for one k), found
// without a branch.
int EdgeTo(const SurfaceTriangle& t, std::int32_t n) {
    return static_cast<int>(t.across[1] == n) + 2 * static_cast<int>(t.across[2] == n);
}

// The number of the lowest bit set in a word that has one.
int LowestBit(std::uint32_t word) {
    int bit = 0;
    while ((word >> bit & 1u) == 0) {
        ++bit;
    }
    return bit;
}

// The sides as words, bit 3r + c for point c against the line from corner r of `lines` to the
// next, with those among `decided` that the floating-point filter left open decided exactly.
SideBits Settled(SideBits sides, std::uint32_t decided, const PlanPoint (&lines)[3],
                 const PlanPoint (&points)[3]) {
    for (std::uint32_t open = decided & ~(sides.left | sides.right); open != 0; open &= open - 1) {
        const int bit = LowestBit(open);
        const int r = bit / 3;
        const int side = Orient(lines[r], lines[r == 2 ? 0 : r + 1], points[bit % 3]);
        sides.left |= side > 0 ? 1u << bit : 0u;
        sides.right |= side < 0 ? 1u << bit : 0u;
    }
    return sides;
}

// Bit 3r + c set when points c and c + 1 (mod 3) lie strictly on opposite sides of line r.
std::uint32_t Straddles(std::uint32_t left, std::uint32_t right) {
    const auto next = [](std::uint32_t w) { return (w >> 1 & 0xDBu) | (w << 2 & 0x124u); };
    return (left & next(right)) | (right & next(left));
}

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

// No visit.
constexpr std::uint32_t kNoVisit = 0xFFFFFFFFu;

// One design triangle met by the existing triangle at hand: the sides of the existing corners
// against its edges, as words (row: its edge k, column: existing corner i), and the crossings
// found on its edges, crossing[k][m] (its edge k with existing edge m: a place in the list of
// crossings met, or -1). Made when the triangle is first reached, with the visit it was reached
// from across that one's edge `fromEdge` (whose sides are then known already), if any; its sides
// are filled in when it is visited.
struct DesignVisit {
    std::int32_t triangle;
    std::uint32_t from;
    std::int32_t fromEdge;
    SideBits edges;    // the existing corners' sides against its edges
    SideBits corners;  // its corners' sides against the existing edges, once decided
    std::int32_t crossing[3][3];
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
// A crossing is made once and taken over by the other design triangle on its edge and by the
// existing neighbour on its edge.
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
        for (int i = 0; i < 3; ++i) {
            const PlanPoint next = corner_[i == 2 ? 0 : i + 1];
            edge_[i] = {next.x - corner_[i].x, next.y - corner_[i].y};
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
        if (visits_.empty()) {
            return nullptr;
        }
        // Both tests are made, the record read at a place that is there either way, without a
        // branch on each: whether it was reached is unforeseeable.
        const std::uint32_t v = visitOf_[s];
        const std::size_t at = v < visits_.size() ? v : 0;
        const bool reached = (v < visits_.size()) & (visits_[at].triangle == s);
        return reached ? &visits_[at] : nullptr;
    }

    // Makes design triangle s's visit record: reached from visit `from` across its edge
    // `fromEdge`, or from no visit.
    std::uint32_t Reach(std::int32_t s, std::uint32_t from = kNoVisit, int fromEdge = 0) {
        visitOf_[s] = static_cast<std::uint32_t>(visits_.size());
        visits_.push_back(
            {s, from, fromEdge, {0, 0}, {0, 0}, {{-1, -1, -1}, {-1, -1, -1}, {-1, -1, -1}}});
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
                if (RowOf(visits_[v].edges.right, k) != 0) {
                    const std::int32_t n = design_.triangles[visits_[v].triangle].across[k];
                    if (n < 0) {
                        return false;
                    }
                    if (VisitOf(n) == nullptr) {
                        stack_.push_back(Reach(n, v, k));
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
        const auto reach = [this](std::int32_t s, std::uint32_t from, int fromEdge) {
            if (VisitOf(s) == nullptr) {
                stack_.push_back(Reach(s, from, fromEdge));
            }
        };
        if (seed >= 0) {
            reach(seed, kNoVisit, 0);
        }
        if (boundary.grid) {
            boundary.grid->ForEachNear(box.x0, box.y0, box.x1, box.y1, [&](std::int32_t i) {
                reach(boundary.design[i], kNoVisit, 0);
            });
        }
        overlapping_.clear();
        while (!stack_.empty()) {
            const std::uint32_t v = stack_.back();
            stack_.pop_back();
            std::uint32_t aLeft = 0;
            std::uint32_t aRight = 0;
            if (!Overlaps(v, aLeft, aRight)) {
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
                const std::int32_t n = design_.triangles[s].across[k];
                if (RowOf(visits_[v].edges.right, k) != 0 && n >= 0) {
                    reach(n, v, k);
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
        restarted_ = false;
    }

    // The sides of the existing corners against the edges of the visit's design triangle. Those
    // against the edge shared with the visit it was reached from are that one's, turned round;
    // the others are worked out together without branches, which way each goes being
    // unforeseeable, and only those the floating-point filter leaves open are decided again
    // exactly.
    void CornerSides(DesignVisit& visit, const PlanPoint (&q)[3], int shared) const {
        SideBits sides{0, 0};
        int first = 0;  // the rows worked out: all, or the two after the shared edge
        int rows = 3;
        if (shared >= 0) {
            const DesignVisit& from = visits_[visit.from];
            sides = {RowOf(from.edges.right, visit.fromEdge) << (3 * shared),
                     RowOf(from.edges.left, visit.fromEdge) << (3 * shared)};
            first = shared == 2 ? 0 : shared + 1;
            rows = 2;
        }
        std::uint32_t decided = 0;
        for (int r = 0; r < rows; ++r) {
            const int k = first + r < 3 ? first + r : first + r - 3;
            const SideBits row = SidesOfCorners(q[k], q[k == 2 ? 0 : k + 1]);
            sides.left |= row.left << (3 * k);
            sides.right |= row.right << (3 * k);
            decided |= 7u << (3 * k);
        }
        visit.edges = Settled(sides, decided, q, corner_);
    }

    // Bit i set when the existing triangle's corner i lies strictly left (right) of the line from
    // a to b as far as the floating-point filter settles it: neither bit set where it does not.
    SideBits SidesOfCorners(PlanPoint a, PlanPoint b) const {
        SideBits sides{0, 0};
        for (int i = 0; i < 3; ++i) {
            const OrientEstimate e = EstimateOrient(a, b, corner_[i]);
            sides.left |= static_cast<std::uint32_t>(e.det > e.bound) << i;
            sides.right |= static_cast<std::uint32_t>(-e.det > e.bound) << i;
        }
        return sides;
    }

    // The sides of the visit's design corners q against the existing triangle's edges, as words
    // (row: existing edge m, column: corner j), worked out as CornerSides does; the two corners
    // on the edge shared with the visit it was reached from take that one's.
    void DesignCornerSides(DesignVisit& visit, const PlanPoint (&q)[3], int shared) const {
        SideBits sides{0, 0};
        std::uint32_t decided = 0;
        const auto column = [&](int j) {
            for (int m = 0; m < 3; ++m) {
                const OrientEstimate e = EstimateOrientAlong(corner_[m], edge_[m], q[j]);
                sides.left |= static_cast<std::uint32_t>(e.det > e.bound) << (3 * m + j);
                sides.right |= static_cast<std::uint32_t>(-e.det > e.bound) << (3 * m + j);
            }
            decided |= 0x49u << j;
        };
        if (shared >= 0) {
            // The shared edge runs from corner `shared` to the next here, the other way round
            // from the visit it was reached from.
            const SideBits& from = visits_[visit.from].corners;
            const int k = visit.fromEdge;
            const int kNext = k == 2 ? 0 : k + 1;
            const int next = shared == 2 ? 0 : shared + 1;
            sides = {ColumnOf(from.left, kNext) << shared | ColumnOf(from.left, k) << next,
                     ColumnOf(from.right, kNext) << shared | ColumnOf(from.right, k) << next};
            column(next == 2 ? 0 : next + 1);
        } else {
            column(0);
            column(1);
            column(2);
        }
        visit.corners = Settled(sides, decided, corner_, q);
    }

    // Decides the sides of visit v's design triangle (CornerSides) and of its corners against the
    // existing triangle's edges (DesignCornerSides), the latter into aLeft and aRight; false when
    // an edge of either triangle has the other wholly on or beyond it: their interiors do not
    // overlap. A visit reached from another takes the sides that the two share from that one,
    // which its Overlaps decided in full.
    bool Overlaps(std::uint32_t v, std::uint32_t& aLeft, std::uint32_t& aRight) {
        DesignVisit& visit = visits_[v];
        const SurfaceTriangle& t = design_.triangles[visit.triangle];
        const PlanPoint q[3] = {DesignPlan(t.corner[0]), DesignPlan(t.corner[1]),
                                DesignPlan(t.corner[2])};
        int shared = -1;
        if (visit.from != kNoVisit) {
            const std::int32_t from = visits_[visit.from].triangle;
            shared = EdgeTo(t, from);
        }
        CornerSides(visit, q, shared);
        if (!EveryRowSet(visit.edges.left)) {
            return false;
        }
        DesignCornerSides(visit, q, shared);
        aLeft = visit.corners.left;
        aRight = visit.corners.right;
        return EveryRowSet(aLeft);
    }

    // Visits the design triangle of visit v: decides its sides and adds the faces of its
    // overlap with the existing triangle, whose area it adds to `area`. False when the two do not
    // overlap.
    bool Visit(std::uint32_t v, double& area) {
        std::uint32_t aLeft = 0;  // row: edge m of the existing triangle, column: design corner j
        std::uint32_t aRight = 0;
        if (!Overlaps(v, aLeft, aRight)) {
            return false;
        }
        const DesignVisit& visit = visits_[v];
        const std::uint32_t left = visit.edges.left;
        const std::uint32_t right = visit.edges.right;
        const SurfaceTriangle& b = design_.triangles[visit.triangle];
        const SurfacePoint* const designPoints = design_.points.data();
        const SurfacePoint q[3] = {designPoints[b.corner[0]], designPoints[b.corner[1]],
                                   designPoints[b.corner[2]]};
        const Slope slope = SlopeThrough(q[1].x - q[0].x, q[1].y - q[0].y, q[1].z - q[0].z,
                                         q[2].x - q[0].x, q[2].y - q[0].y, q[2].z - q[0].z);
        if (!slope.Usable()) {
            return true;  // as the volume does: too thin to have a plane
        }
        const std::int32_t* ia = existing_.triangles[a_.index].corner;
        PieceCorners corners;
        const std::uint32_t outsideDesign = ColumnsOf(right);
        for (int i = 0; i < 3; ++i) {
            if ((outsideDesign >> i & 1u) == 0) {
                corners.Add(ExistingVertex(ia[i], b.corner, slope), a_.corner[i]);
            }
        }
        const std::uint32_t outsideExisting = ColumnsOf(aRight);
        for (int j = 0; j < 3; ++j) {
            const PlanPoint at = PlanOf(q[j]);
            if ((outsideExisting >> j & 1u) == 0 && at != corner_[0] && at != corner_[1] &&
                at != corner_[2]) {
                corners.Add(DesignVertex(b.corner[j]), Relative(at));
            }
        }
        // Edge m of the existing triangle crosses edge k of the design one: bit 3m + k.
        const std::uint32_t crossing =
            kTranspose.of[Straddles(left, right)] & Straddles(aLeft, aRight);
        const SetBits& bits = kSetBits.of[crossing];
        for (int i = 0; i < bits.count; ++i) {
            const int m = bits.bit[i] / 3;
            const int k = bits.bit[i] % 3;
            const EdgeCrossing& c = current_[CrossingOf(v, b, m, k)];
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
    std::int32_t CrossingOf(std::uint32_t v, const SurfaceTriangle& d, int m, int k) {
        const std::int32_t d0 = d.corner[k];
        const std::int32_t d1 = d.corner[k == 2 ? 0 : k + 1];
        const DesignVisit* other = d.across[k] < 0 ? nullptr : VisitOf(d.across[k]);
        if (other != nullptr) {
            // The neighbour's edge with the same ends (the one edge two triangles share).
            const std::int32_t self = visits_[v].triangle;
            const int j = EdgeTo(design_.triangles[other->triangle], self);
            if (other->crossing[j][m] >= 0) {
                return visits_[v].crossing[k][m] = other->crossing[j][m];
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
        const bool numbers = angle[0] == angle[0] && angle[1] == angle[1] && angle[2] == angle[2] &&
                             (n == 3 || angle[3] == angle[3]);
        if (n == 3 && numbers) {
            OrderByRank<3>(angle, order);
        } else if (n == 4 && numbers) {
            OrderByRank<4>(angle, order);
        } else {
            for (int i = 0; i < n; ++i) {
                order[i] = i;
            }
            for (int i = 1; i < n; ++i) {  // insertion sort: a dozen corners at most
                for (int j = i; j > 0 && angle[order[j]] < angle[order[j - 1]]; --j) {
                    std::swap(order[j], order[j - 1]);
                }
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
    PlanPoint edge_[3]{};                       // its edges, corner_[m + 1] - corner_[m]
    std::vector<std::int32_t> existingVertex_;  // per existing point: its isopach vertex, or -1
    std::vector<std::int32_t> designVertex_;    // per design point
    CSeedGrid seeds_;
    std::int32_t lastSeed_ = -1;          // the design triangle of the last centroid found
    std::vector<std::uint32_t> visitOf_;  // per design triangle: its place in visits_ (if there)
    std::vector<DesignVisit> visits_;     // of the existing triangle at hand
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
