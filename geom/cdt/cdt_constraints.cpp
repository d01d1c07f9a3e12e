#include "geom/cdt/cdt_constraints.h"

#include <algorithm>
#include <cmath>

#include "geom/kernel/geometry_error.h"
#include "geom/kernel/predicates.h"

namespace geom {

namespace {

// The point where the line through a and b crosses the line through p and q, rounded.
PlanPoint Crossing(const PlanPoint& a, const PlanPoint& b, const PlanPoint& p, const PlanPoint& q) {
    const double da = PlanCross(p, q, a);
    const double db = PlanCross(p, q, b);
    const double t = da / (da - db);
    return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
}

CdtConstraint Reversed(CdtConstraint record) {
    record.outer = -record.outer;
    record.hole = -record.hole;
    return record;
}

}  // namespace

CdtConstraints::CdtConstraints(CdtMesh& mesh, const std::vector<CdtLineSegment>& segments)
    : mesh_(mesh), segments_(segments) {
    // n segments cross each other at most n (n - 1) / 2 times; beyond that (and a margin for
    // crossings met again after rounding) the insertion has gone round in circles.
    const std::uint64_t n = segments.size();
    crossingsLeft_ = n * (n + 1) / 2 + 64;
    // Mostly one constraint edge per segment, and a few more where vertices split them.
    records.reserve(n + n / 4);
}

void CdtConstraints::Insert(std::uint32_t a, std::uint32_t b, std::uint32_t segment, int outer,
                            int hole) {
    work_.clear();
    work_.push_back(Piece{a, b, CdtConstraint{outer, hole, {segment}}});
    while (!work_.empty()) {
        const Piece piece = std::move(work_.back());
        work_.pop_back();
        InsertPiece(piece);
    }
}

void CdtConstraints::InsertPiece(const Piece& piece) {
    const std::uint32_t b = piece.b;
    std::uint32_t a = piece.a;
    std::vector<CdtEdgeName>& crossed = crossed_;
    while (a != b) {
        std::uint32_t along = kCdtNone;
        CdtEdge e{};
        if (!FirstStep(a, b, along, e)) {
            throw GeometryError(GeometryFailure::kConstraintsUnresolved);
        }
        if (along != kCdtNone) {
            Fix(a, along, piece.record);
            a = along;
            continue;
        }
        // Walk through the triangles the way crosses; every crossed edge runs from its end on the
        // right of a -> b to its end on the left.
        crossed.clear();
        std::uint32_t end = kCdtNone;
        while (end == kCdtNone) {
            if (mesh_.IsFixed(e)) {
                SplitAtCrossing(Piece{a, b, piece.record}, e);
                return;
            }
            const CdtVertexPair ends = mesh_.Ends(e);
            crossed.push_back({ends.first, ends.second, e.t});
            const std::uint32_t n = mesh_.triangles[e.t].n[e.i];
            const std::uint32_t t2 = n >> 2;
            const int j = static_cast<int>(n & 3u);
            const std::uint32_t s = mesh_.triangles[t2].v[j];
            const int side = s == b ? 0 : mesh_.Orient(a, b, s);
            if (side == 0) {
                end = s;
            } else {
                e = CdtEdge{t2, side > 0 ? CdtNext(j) : CdtPrev(j)};
            }
        }
        FlipAway(a, end, crossed);
        Fix(a, end, piece.record);
        mesh_.MakeDelaunay(crossed);
        a = end;
    }
}

// From vertex a towards b: either an edge a - along on the way (along being b or a vertex
// exactly on the way), or the edge `crossed` of a triangle at a that the way leaves it through.
bool CdtConstraints::FirstStep(std::uint32_t a, std::uint32_t b, std::uint32_t& along,
                               CdtEdge& crossed) const {
    const PlanPoint& pa = mesh_.points[a];
    const PlanPoint& pb = mesh_.points[b];
    return mesh_.AroundVertex(a, [&](std::uint32_t t, int i) {
        const std::uint32_t p = mesh_.triangles[t].v[CdtNext(i)];
        const std::uint32_t q = mesh_.triangles[t].v[CdtPrev(i)];
        if (p == b || q == b) {
            along = b;
            return true;
        }
        const int sideP = mesh_.Orient(a, b, p);
        if (sideP == 0 && InBox(pa, pb, mesh_.points[p])) {
            along = p;
            return true;
        }
        const int sideQ = mesh_.Orient(a, b, q);
        if (sideQ == 0 && InBox(pa, pb, mesh_.points[q])) {
            along = q;
            return true;
        }
        if (sideP < 0 && sideQ > 0) {
            crossed = CdtEdge{t, i};
            return true;
        }
        return false;
    });
}

// Flips the crossed edges until none crosses the way from a to end (Sloan); the list then holds
// the edges the flips made.
void CdtConstraints::FlipAway(std::uint32_t a, std::uint32_t end,
                              std::vector<CdtEdgeName>& crossed) {
    // A first-in first-out queue: the names from `head` on are waiting.
    std::vector<CdtEdgeName>& queue = queue_;
    queue.assign(crossed.begin(), crossed.end());
    crossed.clear();
    std::size_t head = 0;
    std::size_t idle = 0;
    while (head < queue.size()) {
        if (head >= 4096 && 2 * head >= queue.size()) {
            queue.erase(queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(head));
            head = 0;
        }
        const CdtEdgeName name = queue[head++];
        CdtEdge e{};
        if (!mesh_.FindEdge(name, e)) {
            throw GeometryError(GeometryFailure::kConstraintsUnresolved);
        }
        const CdtTriangle& tri = mesh_.triangles[e.t];
        const std::uint32_t n = tri.n[e.i];
        const std::uint32_t x = tri.v[e.i];
        const std::uint32_t d = mesh_.triangles[n >> 2].v[n & 3u];
        const std::uint32_t right = tri.v[CdtNext(e.i)];
        const std::uint32_t left = tri.v[CdtPrev(e.i)];
        // Only the diagonal of a strictly convex quadrilateral can be flipped.
        if (mesh_.Orient(x, right, d) <= 0 || mesh_.Orient(x, d, left) <= 0) {
            queue.push_back({name.u, name.w, e.t});
            if (++idle > queue.size() - head) {
                throw GeometryError(GeometryFailure::kConstraintsUnresolved);
            }
            continue;
        }
        idle = 0;
        mesh_.Flip(e.t, e.i);
        // An end of the way is on it (the first flip's apex is often a): no predicate needed.
        const int sideX = x == a || x == end ? 0 : mesh_.Orient(a, end, x);
        const int sideD = d == a || d == end ? 0 : mesh_.Orient(a, end, d);
        if (sideX * sideD < 0) {
            queue.push_back({x, d, e.t});
        } else {
            crossed.push_back({x, d, e.t});
        }
    }
}

void CdtConstraints::Fix(std::uint32_t a, std::uint32_t w, const CdtConstraint& record) {
    CdtEdge e{};
    if (!mesh_.FindEdge(a, w, e)) {
        throw GeometryError(GeometryFailure::kConstraintsUnresolved);
    }
    CdtConstraint& stored = records[CdtEdgeKey(a, w)];
    const int sign = a < w ? 1 : -1;
    stored.outer += sign * record.outer;
    stored.hole += sign * record.hole;
    for (const std::uint32_t owner : record.owners) {
        if (std::find(stored.owners.begin(), stored.owners.end(), owner) == stored.owners.end()) {
            stored.owners.push_back(owner);
        }
    }
    mesh_.SetFixed(e, true);
}

// Takes the constraint off edge e (from p to q) and gives its record oriented from p to q.
CdtConstraint CdtConstraints::Unfix(const CdtEdge& e, std::uint32_t p, std::uint32_t q) {
    mesh_.SetFixed(e, false);
    return TakeRecord(p, q);
}

// Takes the record of the constraint from p to q out of the table, oriented from p to q.
CdtConstraint CdtConstraints::TakeRecord(std::uint32_t p, std::uint32_t q) {
    CdtConstraint record = records.Take(CdtEdgeKey(p, q));
    return p < q ? record : Reversed(std::move(record));
}

bool CdtConstraints::OnBoundary(const CdtConstraint& record) const {
    return std::any_of(record.owners.begin(), record.owners.end(),
                       [&](std::uint32_t owner) { return segments_[owner].boundary; });
}

// The way from piece.a to piece.b crosses the constraint edge e: both are split at a vertex at
// the crossing, and the four parts are put on the work list.
void CdtConstraints::SplitAtCrossing(const Piece& piece, const CdtEdge& e) {
    const CdtVertexPair ends = mesh_.Ends(e);
    const std::uint32_t p = ends.first;
    const std::uint32_t q = ends.second;
    const PlanPoint at =
        Crossing(mesh_.points[piece.a], mesh_.points[piece.b], mesh_.points[p], mesh_.points[q]);
    CdtConstraint other = mesh_.IsFixed(e) ? Unfix(e, p, q) : CdtConstraint{};
    if (OnBoundary(other) && OnBoundary(piece.record)) {
        throw GeometryError(GeometryFailure::kBoundariesCross, at);
    }
    if (crossingsLeft_-- == 0) {
        throw GeometryError(GeometryFailure::kConstraintsUnresolved);
    }
    // A crossing within a hair's breadth of a vertex is that vertex: otherwise the rounding of
    // nearly concurrent lines could keep making new crossings ever closer to each other.
    const std::uint32_t ends4[4] = {piece.a, piece.b, p, q};
    double scale = 0.0;
    std::uint32_t nearest = piece.a;
    double nearestDistance = HUGE_VAL;
    for (const std::uint32_t c : ends4) {
        const PlanPoint& pc = mesh_.points[c];
        scale = std::max({scale, std::fabs(pc.x), std::fabs(pc.y)});
        const double distance = std::max(std::fabs(pc.x - at.x), std::fabs(pc.y - at.y));
        if (distance < nearestDistance) {
            nearestDistance = distance;
            nearest = c;
        }
    }
    const double snap = scale * 0x1p-40;
    CdtVertexPair split{kCdtNone, kCdtNone};
    std::uint32_t v = nearestDistance <= snap ? nearest : mesh_.InsertVertex(at, e.t, snap, &split);
    if (v == kCdtNone) {
        v = nearest;  // the rounded crossing fell outside the triangulation
    }
    if (split.first != kCdtNone) {
        // The rounded crossing fell exactly on another constraint edge, which the vertex split:
        // its record goes to both halves.
        const CdtConstraint record = TakeRecord(split.first, split.second);
        Fix(split.first, v, record);
        Fix(v, split.second, record);
    }
    work_.push_back(Piece{v, piece.b, piece.record});
    work_.push_back(Piece{piece.a, v, piece.record});
    work_.push_back(Piece{v, q, other});
    work_.push_back(Piece{p, v, std::move(other)});
}

}  // namespace geom
