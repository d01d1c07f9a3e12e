#include "geom/surface/find_plan_overlap.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <set>
#include <vector>

#include "geom/surface/plan_orient_sign.h"

namespace geom {

namespace {

// An open edge from its lower point to its upper one in the sweep's order (the surface's points
// are sorted by x, then y, so that is the order of their numbers). `sign` is +1 when its
// triangle lies to the left of lo -> hi (above it), -1 when to the right: crossing the edge from
// right to left changes the number of triangles over a position by `sign`.
struct OpenEdge {
    std::int32_t lo;
    std::int32_t hi;
    std::int32_t triangle;
    int sign;
};

// The sweep point, for searching the edges through it.
struct SweepPoint {
    std::int32_t point;
};

class COverlapSweep {
public:
    explicit COverlapSweep(const WeldedSurface& surface)
        : points_(surface.points), status_(Below{this}) {
        CollectOpenEdges(surface);
    }

    std::int32_t Run() {
        std::vector<std::int32_t> events;
        events.reserve(edges_.size() * 2);
        for (const OpenEdge& e : edges_) {
            events.push_back(e.lo);
            events.push_back(e.hi);
        }
        std::sort(events.begin(), events.end());
        events.erase(std::unique(events.begin(), events.end()), events.end());
        through_.assign(edges_.size(), 0);
        above_.assign(edges_.size(), 0);
        std::size_t next = 0;  // first edge (ordered by lo) not yet in the sweep
        for (std::int32_t point : events) {
            const std::size_t first = next;
            while (next < edges_.size() && edges_[next].lo == point) {
                ++next;
            }
            const std::int32_t found = Visit(point, first, next);
            if (found >= 0) {
                return found;
            }
        }
        return -1;
    }

private:
    // Orders the edges in the sweep from bottom to top just right of the sweep point; edges
    // through the sweep point by their direction, ties (collinear edges) by number. Besides
    // comparisons with the sweep point, the set compares only an edge through it with another.
    struct Below {
        using is_transparent = void;
        const COverlapSweep* sweep;

        bool operator()(std::int32_t s, std::int32_t t) const { return sweep->IsBelow(s, t); }
        bool operator()(std::int32_t s, SweepPoint p) const { return sweep->Side(s, p.point) > 0; }
        bool operator()(SweepPoint p, std::int32_t t) const { return sweep->Side(t, p.point) < 0; }
    };
    using Status = std::set<std::int32_t, Below>;

    void CollectOpenEdges(const WeldedSurface& surface) {
        for (std::size_t t = 0; t < surface.triangles.size(); ++t) {
            const SurfaceTriangle& triangle = surface.triangles[t];
            for (int k = 0; k < 3; ++k) {
                if (triangle.across[k] >= 0) {
                    continue;
                }
                const std::int32_t a = triangle.corner[k];
                const std::int32_t b = triangle.corner[(k + 1) % 3];
                edges_.push_back(
                    {std::min(a, b), std::max(a, b), static_cast<std::int32_t>(t), a < b ? 1 : -1});
            }
        }
        std::sort(edges_.begin(), edges_.end(),
                  [](const OpenEdge& a, const OpenEdge& b) { return a.lo < b.lo; });
    }

    // Orientation of three surface points; two of them the same point (a welded surface has one
    // point per plan position) lie on one line with any third.
    int Orient(std::int32_t a, std::int32_t b, std::int32_t c) const {
        if (a == b || b == c || a == c) {
            return 0;
        }
        return PlanOrientSign(points_[static_cast<std::size_t>(a)],
                              points_[static_cast<std::size_t>(b)],
                              points_[static_cast<std::size_t>(c)]);
    }

    // Where `point` lies from edge s: 1 above (left of lo -> hi), -1 below, 0 on it.
    int Side(std::int32_t s, std::int32_t point) const {
        return Orient(edges_[s].lo, edges_[s].hi, point);
    }

    bool Contains(std::int32_t s) const { return edges_[s].lo == sweep_ || through_[s] != 0; }

    bool IsBelow(std::int32_t s, std::int32_t t) const {
        const bool hasS = Contains(s);
        const bool hasT = Contains(t);
        if (hasS && hasT) {
            const int turn = Orient(sweep_, edges_[s].hi, edges_[t].hi);
            return turn != 0 ? turn > 0 : s < t;
        }
        if (hasS) {
            return Side(t, sweep_) < 0;
        }
        if (hasT) {
            return Side(s, sweep_) > 0;
        }
        return false;  // not asked by the set: one of the two always runs through the sweep point
    }

    bool SameDirection(std::int32_t s, std::int32_t t) const {
        return Orient(sweep_, edges_[s].hi, edges_[t].hi) == 0;
    }

    // Whether s and t cross at a point inside both, not lying on one line.
    bool Cross(std::int32_t s, std::int32_t t) const {
        const OpenEdge& a = edges_[s];
        const OpenEdge& b = edges_[t];
        const auto at = [this](std::int32_t v) {
            return PlanOf(points_[static_cast<std::size_t>(v)]);
        };
        return SegmentsCross(at(a.lo), at(a.hi), at(b.lo), at(b.hi));
    }

    std::int32_t Later(std::int32_t s, std::int32_t t) const {
        return std::max(edges_[s].triangle, edges_[t].triangle);
    }

    // Two open edges that cross have their triangles on overlapping sides: a triangle of the
    // later one, or -1.
    std::int32_t CheckAdjacent(Status::iterator lower, Status::iterator upper) const {
        if (lower == status_.end() || upper == status_.end()) {
            return -1;
        }
        return Cross(*lower, *upper) ? Later(*lower, *upper) : -1;
    }

    // The sweep reaches `point`, where edges_[first, last) start: the edges through it leave the
    // set, those going on to the right come back in their order there, and the numbers of
    // triangles between them (the sectors right of the point) must be 0 or 1.
    std::int32_t Visit(std::int32_t point, std::size_t first, std::size_t last) {
        sweep_ = point;
        Status::iterator it = status_.lower_bound(SweepPoint{point});
        const Status::iterator below = it == status_.begin() ? status_.end() : std::prev(it);
        outgoing_.clear();
        std::int32_t passing = -1;
        while (it != status_.end() && Side(*it, point) == 0) {
            const std::int32_t s = *it;
            if (edges_[s].hi != point) {
                // Two edges crossing inside both at this point: their triangles overlap.
                if (passing >= 0 && !SameDirectionThrough(passing, s)) {
                    return Later(passing, s);
                }
                passing = s;
                through_[s] = 1;
                outgoing_.push_back(s);
            }
            it = status_.erase(it);
        }
        for (std::size_t e = first; e < last; ++e) {
            outgoing_.push_back(static_cast<std::int32_t>(e));
        }
        const std::int32_t found = CountSectors(below);
        if (found < 0) {
            Insert(below, it);
        }
        for (std::int32_t s : outgoing_) {
            through_[s] = 0;
        }
        return found >= 0 ? found : crossing_;
    }

    bool SameDirectionThrough(std::int32_t s, std::int32_t t) const {
        return Orient(edges_[s].lo, edges_[s].hi, edges_[t].hi) == 0;
    }

    // Sorts the outgoing edges around the sweep point and counts the triangles above each
    // direction, starting from the count above the edge below; a triangle of a sector counted
    // other than 0 or 1, or -1.
    std::int32_t CountSectors(Status::iterator below) {
        std::sort(outgoing_.begin(), outgoing_.end(),
                  [this](std::int32_t s, std::int32_t t) { return IsBelow(s, t); });
        int count = below == status_.end() ? 0 : above_[*below];
        std::size_t group = 0;
        for (std::size_t k = 0; k < outgoing_.size(); ++k) {
            count += edges_[outgoing_[k]].sign;
            if (k + 1 < outgoing_.size() && SameDirection(outgoing_[k], outgoing_[k + 1])) {
                continue;
            }
            std::int32_t latest = -1;
            for (std::size_t g = group; g <= k; ++g) {
                above_[outgoing_[g]] = count;
                latest = std::max(latest, edges_[outgoing_[g]].triangle);
            }
            if (count != 0 && count != 1) {
                return latest;
            }
            group = k + 1;
        }
        return -1;
    }

    // Puts the outgoing edges into the set between `below` and `above` and checks the edges
    // that became neighbours there for crossings (into crossing_).
    void Insert(Status::iterator below, Status::iterator above) {
        crossing_ = -1;
        if (outgoing_.empty()) {
            crossing_ = CheckAdjacent(below, above);
            return;
        }
        Status::iterator lowest = status_.end();
        Status::iterator highest = status_.end();
        for (std::int32_t s : outgoing_) {
            const Status::iterator at = status_.insert(above, s);
            if (lowest == status_.end()) {
                lowest = at;
            }
            highest = at;
        }
        crossing_ = CheckAdjacent(below, lowest);
        if (crossing_ < 0) {
            crossing_ = CheckAdjacent(highest, std::next(highest));
        }
    }

    const std::vector<SurfacePoint>& points_;
    std::vector<OpenEdge> edges_;  // ordered by lo
    Status status_;
    std::int32_t sweep_ = -1;
    std::vector<char> through_;           // per edge: runs through the sweep point, not ending
    std::vector<int> above_;              // per edge: triangles over the plan just above it
    std::vector<std::int32_t> outgoing_;  // edges leaving the sweep point to the right
    std::int32_t crossing_ = -1;
};

}  // namespace

std::int32_t FindPlanOverlap(const WeldedSurface& surface) {
    COverlapSweep sweep(surface);
    return sweep.Run();
}

}  // namespace geom
