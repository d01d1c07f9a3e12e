// ThinningTin: the working surface of the thinning, a triangulation of the points kept so far
// with the candidate points waiting in the triangles that hold them, refined by greedy insertion
// (after Garland and Heckbert): the candidate farthest above or below the surface is inserted, the
// triangulation kept Delaunay by flips (never across a constrained edge), until every candidate
// lies within the tolerance. A triangle's candidates lie in one block of a common store; an
// insertion moves those of the triangles it replaces to new blocks, one per triangle around the
// new vertex (found by turning about it), and the blocks left behind are reclaimed by compacting
// the store when it is full.
//
// Seed(vertices, ids, triangles, constrained, outside): the starting surface. vertices with their
// ids (a survey point's number, or kLineVertex for a vertex of a line); triangles
// counter-clockwise, sharing edges; constrained: the edges (vertex pairs) that are never flipped
// (breaklines, boundary edges) with their EdgeMark; outside: per triangle, whether it lies outside
// the boundaries.
// The triangles must cover every point offered later.
//
// Offer(p, id, mode): locates p (a walk from a grid of hints; decisions with the kernel's
// Orient) and measures its vertical distance to the surface (ThinPlane; beyond the tolerance or
// not decided exactly where the rounding allowance leaves it open: ThinBeyond, so a point at the
// tolerance is within). Gives
// - Outside: p lies in a triangle outside the boundaries (or beyond the triangulation);
// - Conflict: p is beyond the tolerance but cannot become a vertex: it lies at the plan position
//   of a vertex, or on a line's edge;
// - Within / Queued: otherwise. A point beyond the tolerance is queued; one within it is kept
//   waiting only with OfferMode::AttachAll (so that Refine checks it again), else forgotten.
//   OfferMode::Measure only tells, keeping nothing, and tells a point within the tolerance but
//   beyond half of it as Near. Offering points in the order of SpatialKey
//   keeps the candidates of a triangle close in memory: much faster than in the order read.
// SpatialKey(p): p's place on a Z-order curve over the starting surface's extent.
// ElevationAt(x, y): the surface's elevation there, interpolated in the triangle holding it (NaN
// beyond the triangulation).
// Reserve(n): room for n points about to be offered (optional; it saves the growing).
// ReleaseWaiting(): after the last Refine, the memory that held the candidates given back.
// Refine(tick): inserts the farthest candidate (to about 1 %: ThinQueue) until every waiting
// candidate is within the tolerance, then forgets them all; tick() is called every few thousand
// insertions. Inserted() counts insertions so far.
//
// Result(): the surface's vertices (those of triangles inside the boundaries), their ids, and
// its inside triangles as counter-clockwise index triples into them, in a fixed order.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "geom/kernel/predicates.h"
#include "geom/thinning/candidate_store.h"
#include "geom/thinning/thin_plane.h"
#include "geom/thinning/thin_point.h"
#include "geom/thinning/thin_queue.h"

namespace geom {

struct ThinSurface {
    std::vector<ThinPoint> vertices;
    std::vector<std::uint32_t> ids;
    std::vector<std::array<std::uint32_t, 3>> triangles;
};

class ThinningTin {
public:
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
    static constexpr std::uint32_t kLineVertex = 0xFFFFFFFFu;
    // What an edge is: free, a line (never flipped; a point on it is never inserted, the line
    // gives the surface there), or a clipping edge (a boundary drawn flat: never flipped, but a
    // point on it is inserted, splitting it into two clipping edges).
    enum EdgeMark : unsigned { kFree = 0, kLine = 1, kClip = 2 };

    enum class Offered { Within, Near, Queued, Conflict, Outside };
    enum class OfferMode { Measure, QueueBeyond, AttachAll };

    explicit ThinningTin(double tolerance) : tolerance_(tolerance), queue_(tolerance) {}

    void Seed(const std::vector<ThinPoint>& vertices, const std::vector<std::uint32_t>& ids,
              const std::vector<std::array<std::uint32_t, 3>>& triangles,
              const std::vector<std::array<std::uint32_t, 3>>& constrained,
              const std::vector<char>& outside);
    Offered Offer(const ThinPoint& p, std::uint32_t id, OfferMode mode);
    std::uint64_t SpatialKey(const ThinPoint& p) const;
    // The surface's elevation at (x, y); NaN beyond the triangulation.
    double ElevationAt(double x, double y);
    void Refine(const std::function<void()>& tick);
    // Gives back the memory of the candidates and the queue (nothing waits after Refine).
    void ReleaseWaiting();
    std::size_t Waiting() const { return live_ + staged_.size(); }
    void Reserve(std::size_t n);
    std::uint64_t Inserted() const { return inserted_; }
    // Candidates beyond the tolerance that Refine found unable to become vertices, so far.
    std::uint64_t Blocked() const { return blocked_; }
    ThinSurface Result() const;

private:
    // A triangle's candidates are the block [begin, begin + count) of candidates_.
    struct Triangle {
        std::uint32_t v[3];
        std::uint32_t n[3];  // the neighbour across the edge opposite v[i], or kNone
        std::uint32_t begin = 0;
        std::uint32_t count = 0;
        std::uint32_t worst = kNone;  // the farthest candidate
        double worstDistance = 0.0;
        std::uint8_t marks = 0;  // bits 2i, 2i + 1: the edge opposite v[i] (EdgeMark)
        bool outside = false;
    };
    struct Block {
        std::uint32_t begin;
        std::uint32_t count;
    };

    static unsigned Mark(const Triangle& t, int k) { return (t.marks >> (2 * k)) & 3u; }
    static std::uint8_t Marks(unsigned m0, unsigned m1, unsigned m2) {
        return static_cast<std::uint8_t>(m0 | (m1 << 2) | (m2 << 4));
    }
    ThinPlane Plane(const Triangle& t) const {
        return ThinPlane(vertices_[t.v[0]], vertices_[t.v[1]], vertices_[t.v[2]]);
    }
    int Orient(std::uint32_t a, std::uint32_t b, const ThinPoint& p) const {
        return geom::Orient(PlanPoint{vertices_[a].x, vertices_[a].y},
                            PlanPoint{vertices_[b].x, vertices_[b].y}, PlanPoint{p.x, p.y});
    }
    bool Beyond(const Triangle& t, const ThinPlane& plane, double distance,
                const ThinPoint& p) const;
    std::uint32_t FarthestBeyond(const Triangle& t, const ThinPlane& plane, double& distance) const;
    std::uint32_t Locate(const ThinPoint& p);
    std::uint32_t Walk(std::uint32_t t, const ThinPoint& p);
    void BuildHints();
    std::uint32_t NewTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c);
    void SetNeighbour(std::uint32_t t, std::uint32_t from, std::uint32_t to);
    std::uint32_t StarWalk(std::uint32_t t, std::uint32_t p, const ThinPoint& q) const;
    void Settle();
    void Compact();
    void Gather(std::uint32_t t);
    void Redistribute(std::uint32_t c, std::uint32_t vertex);
    void Refresh(std::uint32_t t);
    void Insert(std::uint32_t t);
    void SplitInside(std::uint32_t t, std::uint32_t p);
    void SplitEdge(std::uint32_t t, int k, std::uint32_t p);
    void Legalize(std::uint32_t t, std::uint32_t p);

    double tolerance_;
    std::vector<ThinPoint> vertices_;
    std::vector<std::uint32_t> ids_;
    std::vector<Triangle> triangles_;
    // The candidates in blocks, one per triangle; blocks left behind by insertions are reclaimed
    // by Compact when the storage is full. Offered candidates first wait in the order offered,
    // with their triangles in staged_, until Settle sorts them into blocks.
    CandidateStore candidates_;
    std::vector<std::uint32_t> staged_;
    std::size_t live_ = 0;
    ThinQueue queue_;
    std::vector<std::uint32_t> touched_;
    std::vector<Block> sources_;          // the blocks of the triangles an insertion replaced
    std::vector<std::uint32_t> targets_;  // the new triangle of each of their candidates
    struct Slot {
        ThinPlane plane;
        std::uint32_t next;
        std::uint32_t worst;
        double distance;
    };
    std::vector<Slot> slots_;                // per new triangle while its candidates are written
    std::vector<std::uint32_t> legalizing_;  // the triangles Legalize has still to check
    // The grid of hints: a triangle near each cell, where walks start.
    std::vector<std::uint32_t> hints_;
    double gridX_ = 0.0, gridY_ = 0.0, cellsPerX_ = 0.0, cellsPerY_ = 0.0;
    std::uint32_t columns_ = 1, rows_ = 1;
    std::size_t hintedTriangles_ = 0;
    std::uint32_t last_ = 0;
    std::uint32_t walkRandom_ = 2463534242u;
    std::uint64_t inserted_ = 0;
    std::uint64_t blocked_ = 0;
};

}  // namespace geom
