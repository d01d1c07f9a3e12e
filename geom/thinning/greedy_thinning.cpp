#include "geom/thinning/greedy_thinning.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <queue>
#include <utility>

#include "geom/kernel/geometry_error.h"
#include "geom/kernel/predicates.h"

namespace geom {

double VerticalErrorBound(const ThinPoint& a, const ThinPoint& b, const ThinPoint& c,
                          const ThinPoint& p, double& plane) {
    const double dxb = b.x - a.x, dyb = b.y - a.y;
    const double dxc = c.x - a.x, dyc = c.y - a.y;
    const double dxp = p.x - a.x, dyp = p.y - a.y;
    const double dzb = b.z - a.z, dzc = c.z - a.z;
    const double d = dxb * dyc - dyb * dxc;
    const double u = dxp * dyc - dyp * dxc;  // weight of b, times d
    const double v = dxb * dyp - dyb * dxp;  // weight of c, times d
    const double q = (u * dzb + v * dzc) / d;
    plane = a.z + q;
    const double dSize = std::fabs(dxb * dyc) + std::fabs(dyb * dxc);
    const double uSize = std::fabs(dxp * dyc) + std::fabs(dyp * dxc);
    const double vSize = std::fabs(dxb * dyp) + std::fabs(dyb * dxp);
    const double absD = std::fabs(d);
    // Each difference, product and sum is rounded once; the constants are generous multiples of
    // the first-order terms, so the bound also covers the rounding of |p.z - plane|.
    const double relative = std::fabs(a.z) + std::fabs(p.z) +
                            std::fabs(q) * (2.0 + 5.0 * dSize / absD) +
                            6.0 * (uSize * std::fabs(dzb) + vSize * std::fabs(dzc)) / absD;
    return 4.0 * std::numeric_limits<double>::epsilon() * relative +
           std::numeric_limits<double>::denorm_min() * 64.0;
}

namespace {

constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();

struct Triangle {
    std::uint32_t v[3];
    std::uint32_t n[3];  // the neighbour across the edge opposite v[i], kNone on the hull
    std::vector<std::uint32_t> candidates;
    std::uint32_t farthest = kNone;  // the candidate farthest from the plane, when queued
    std::uint32_t stamp = 0;
};

class GreedyThinning {
public:
    GreedyThinning(const std::vector<ThinPoint>& points, double tolerance)
        : points_(points), tolerance_(tolerance) {}

    ThinningResult Run();

private:
    PlanPoint Vertex(std::uint32_t i) const { return PlanPoint{points_[i].x, points_[i].y}; }
    int Orient(std::uint32_t a, std::uint32_t b, std::uint32_t c) const {
        return geom::Orient(Vertex(a), Vertex(b), Vertex(c));
    }
    bool SamePosition(std::uint32_t a, std::uint32_t b) const {
        return points_[a].x == points_[b].x && points_[a].y == points_[b].y;
    }
    bool Contains(const Triangle& t, std::uint32_t p) const {
        return Orient(t.v[0], t.v[1], p) >= 0 && Orient(t.v[1], t.v[2], p) >= 0 &&
               Orient(t.v[2], t.v[0], p) >= 0;
    }
    double Distance(const Triangle& t, std::uint32_t p) const {
        double plane = 0.0;
        const double bound = VerticalErrorBound(points_[t.v[0]], points_[t.v[1]], points_[t.v[2]],
                                                points_[p], plane);
        return std::fabs(points_[p].z - plane) + bound;
    }

    std::vector<std::uint32_t> MarkFirstAtEachPosition();
    std::vector<std::uint32_t> ConvexHull(const std::vector<std::uint32_t>& order) const;
    void TriangulateHull(const std::vector<std::uint32_t>& hull);
    void Distribute(std::vector<std::uint32_t>& pool, const std::uint32_t* targets, int count);
    void Refresh(std::uint32_t t);
    void Insert(std::uint32_t t, std::uint32_t p);
    void SplitInside(std::uint32_t t, std::uint32_t p);
    void SplitEdge(std::uint32_t t, int k, std::uint32_t p);
    bool Legalize(std::uint32_t t, std::uint32_t p);
    void SetNeighbour(std::uint32_t t, std::uint32_t from, std::uint32_t to);
    std::uint32_t NewTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c);
    void KeepVertex(std::uint32_t p);

    const std::vector<ThinPoint>& points_;
    double tolerance_;
    std::vector<std::uint32_t> first_;  // for each point, the first point at its plan position
    std::vector<Triangle> triangles_;
    std::priority_queue<std::pair<double, std::pair<std::uint32_t, std::uint32_t>>> queue_;
    std::vector<std::uint32_t> touched_;  // triangles changed by the current insertion
    ThinningResult result_;
};

std::vector<std::uint32_t> GreedyThinning::MarkFirstAtEachPosition() {
    std::vector<std::uint32_t> order(points_.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [this](std::uint32_t a, std::uint32_t b) {
        return points_[a].x < points_[b].x ||
               (points_[a].x == points_[b].x && points_[a].y < points_[b].y);
    });
    first_.assign(points_.size(), 0);
    std::vector<std::uint32_t> unique;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const bool same = i > 0 && SamePosition(order[i], order[i - 1]);
        first_[order[i]] = same ? first_[order[i - 1]] : order[i];
        if (!same) {
            unique.push_back(order[i]);
        }
    }
    return unique;
}

// Andrew's monotone chain over the plan positions sorted by x then y: the strictly convex
// corners, counter-clockwise.
std::vector<std::uint32_t> GreedyThinning::ConvexHull(
    const std::vector<std::uint32_t>& order) const {
    std::vector<std::uint32_t> hull;
    if (order.size() < 3) {
        return hull;
    }
    const auto chain = [&](auto first, auto last) {
        const std::size_t start = hull.size();
        for (auto it = first; it != last; ++it) {
            while (hull.size() >= start + 2 &&
                   Orient(hull[hull.size() - 2], hull.back(), *it) <= 0) {
                hull.pop_back();
            }
            hull.push_back(*it);
        }
        hull.pop_back();
    };
    chain(order.begin(), order.end());
    chain(order.rbegin(), order.rend());
    return hull;
}

std::uint32_t GreedyThinning::NewTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    Triangle t;
    t.v[0] = a;
    t.v[1] = b;
    t.v[2] = c;
    t.n[0] = t.n[1] = t.n[2] = kNone;
    triangles_.push_back(std::move(t));
    return static_cast<std::uint32_t>(triangles_.size() - 1);
}

void GreedyThinning::SetNeighbour(std::uint32_t t, std::uint32_t from, std::uint32_t to) {
    if (t == kNone) {
        return;
    }
    for (std::uint32_t& n : triangles_[t].n) {
        if (n == from) {
            n = to;
            return;
        }
    }
}

// The first point at a position becomes a vertex; later points there are served by it or listed
// as conflicts.
void GreedyThinning::KeepVertex(std::uint32_t p) {
    result_.kept.push_back(p);
}

// A fan from the first corner, candidates found by a binary search over its wedges, then made
// Delaunay by flips.
void GreedyThinning::TriangulateHull(const std::vector<std::uint32_t>& hull) {
    const std::size_t m = hull.size();
    for (std::size_t i = 1; i + 1 < m; ++i) {
        const std::uint32_t t = NewTriangle(hull[0], hull[i], hull[i + 1]);
        if (i > 1) {
            triangles_[t].n[2] = t - 1;  // across hull[0]-hull[i]
            triangles_[t - 1].n[1] = t;
        }
    }
    for (const std::uint32_t corner : hull) {
        KeepVertex(corner);
    }
    std::vector<char> isCorner(points_.size(), 0);
    for (const std::uint32_t corner : hull) {
        isCorner[corner] = 1;
    }
    for (std::uint32_t p = 0; p < points_.size(); ++p) {
        if (isCorner[p]) {
            continue;
        }
        if (isCorner[first_[p]]) {
            if (!(std::fabs(points_[p].z - points_[first_[p]].z) <= tolerance_)) {
                result_.conflicts.push_back(p);
            }
            continue;
        }
        std::size_t lo = 1;
        std::size_t hi = m - 1;
        while (hi - lo > 1) {
            const std::size_t mid = (lo + hi) / 2;
            (Orient(hull[0], hull[mid], p) >= 0 ? lo : hi) = mid;
        }
        triangles_[lo - 1].candidates.push_back(p);
    }
    for (bool flipped = true; flipped;) {
        flipped = false;
        for (std::uint32_t t = 0; t < triangles_.size(); ++t) {
            for (int k = 0; k < 3; ++k) {
                flipped = Legalize(t, triangles_[t].v[k]) || flipped;
            }
        }
    }
    touched_.clear();
    for (std::uint32_t t = 0; t < triangles_.size(); ++t) {
        Refresh(t);
    }
}

void GreedyThinning::Distribute(std::vector<std::uint32_t>& pool, const std::uint32_t* targets,
                                int count) {
    for (const std::uint32_t p : pool) {
        for (int i = 0; i < count; ++i) {
            if (i + 1 == count || Contains(triangles_[targets[i]], p)) {
                triangles_[targets[i]].candidates.push_back(p);
                break;
            }
        }
    }
    pool.clear();
}

// Queues the triangle's farthest candidate when it is beyond the tolerance.
void GreedyThinning::Refresh(std::uint32_t t) {
    Triangle& triangle = triangles_[t];
    ++triangle.stamp;
    double worst = -1.0;
    for (const std::uint32_t p : triangle.candidates) {
        const double distance = Distance(triangle, p);
        if (!(distance <= worst)) {
            worst = distance;
            triangle.farthest = p;
        }
    }
    if (!(worst <= tolerance_)) {
        queue_.push({std::isnan(worst) ? std::numeric_limits<double>::infinity() : worst,
                     {t, triangle.stamp}});
    }
}

// Flips the edge opposite p in t while it is not locally Delaunay, the candidates of the two
// triangles shared out again.
bool GreedyThinning::Legalize(std::uint32_t t, std::uint32_t p) {
    Triangle& a = triangles_[t];
    const int k = static_cast<int>(std::find(a.v, a.v + 3, p) - a.v);
    const std::uint32_t u = a.n[k];
    if (u == kNone) {
        return false;
    }
    const std::uint32_t b = a.v[(k + 1) % 3];
    const std::uint32_t c = a.v[(k + 2) % 3];
    Triangle& other = triangles_[u];
    const int j = static_cast<int>(std::find(other.n, other.n + 3, t) - other.n);
    const std::uint32_t q = other.v[j];
    if (InCircle(Vertex(p), Vertex(b), Vertex(c), Vertex(q)) <= 0) {
        return false;
    }
    // t: (p, b, c) and u: (q, c, b) become t: (p, b, q) and u: (p, q, c).
    const std::uint32_t nbq = other.n[(j + 1) % 3];  // across b-q: opposite c in u
    const std::uint32_t nqc = other.n[(j + 2) % 3];  // across q-c: opposite b in u
    const std::uint32_t npb = a.n[(k + 2) % 3];      // opposite c in t
    const std::uint32_t ncp = a.n[(k + 1) % 3];      // opposite b in t
    std::vector<std::uint32_t> pool;
    pool.swap(a.candidates);
    pool.insert(pool.end(), other.candidates.begin(), other.candidates.end());
    other.candidates.clear();
    a.v[0] = p, a.v[1] = b, a.v[2] = q;
    a.n[0] = nbq, a.n[1] = u, a.n[2] = npb;
    other.v[0] = p, other.v[1] = q, other.v[2] = c;
    other.n[0] = nqc, other.n[1] = ncp, other.n[2] = t;
    SetNeighbour(nqc, u, u);
    SetNeighbour(nbq, u, t);
    SetNeighbour(ncp, t, u);
    const std::uint32_t targets[2] = {t, u};
    Distribute(pool, targets, 2);
    touched_.push_back(t);
    touched_.push_back(u);
    Legalize(t, p);
    Legalize(u, p);
    return true;
}

// t = (a, b, c) becomes (a, b, p), (b, c, p), (c, a, p).
void GreedyThinning::SplitInside(std::uint32_t t, std::uint32_t p) {
    const std::uint32_t a = triangles_[t].v[0], b = triangles_[t].v[1], c = triangles_[t].v[2];
    const std::uint32_t na = triangles_[t].n[0], nb = triangles_[t].n[1];
    const std::uint32_t t1 = NewTriangle(b, c, p);
    const std::uint32_t t2 = NewTriangle(c, a, p);
    Triangle& first = triangles_[t];
    first.v[2] = p;
    first.n[0] = t1;
    first.n[1] = t2;
    triangles_[t1].n[0] = t2, triangles_[t1].n[1] = t, triangles_[t1].n[2] = na;
    triangles_[t2].n[0] = t, triangles_[t2].n[1] = t1, triangles_[t2].n[2] = nb;
    SetNeighbour(na, t, t1);
    SetNeighbour(nb, t, t2);
    std::vector<std::uint32_t> pool;
    pool.swap(first.candidates);
    const std::uint32_t targets[3] = {t, t1, t2};
    Distribute(pool, targets, 3);
    touched_.insert(touched_.end(), targets, targets + 3);
    for (const std::uint32_t target : targets) {
        Legalize(target, p);
    }
}

// p on the edge opposite v[k] of t: t and its neighbour across that edge (if any) are halved.
void GreedyThinning::SplitEdge(std::uint32_t t, int k, std::uint32_t p) {
    const std::uint32_t a = triangles_[t].v[k];
    const std::uint32_t b = triangles_[t].v[(k + 1) % 3];
    const std::uint32_t c = triangles_[t].v[(k + 2) % 3];
    const std::uint32_t u = triangles_[t].n[k];
    const std::uint32_t nab = triangles_[t].n[(k + 2) % 3];
    const std::uint32_t nca = triangles_[t].n[(k + 1) % 3];
    // t: (a, b, c) becomes t: (a, b, p) and t1: (a, p, c).
    const std::uint32_t t1 = NewTriangle(a, p, c);
    std::vector<std::uint32_t> pool;
    pool.swap(triangles_[t].candidates);
    Triangle& first = triangles_[t];
    first.v[0] = a, first.v[1] = b, first.v[2] = p;
    first.n[0] = kNone, first.n[1] = t1, first.n[2] = nab;
    triangles_[t1].n[0] = kNone, triangles_[t1].n[1] = nca, triangles_[t1].n[2] = t;
    SetNeighbour(nca, t, t1);
    std::vector<std::uint32_t> targets = {t, t1};
    if (u != kNone) {
        // u: (d, c, b) becomes u: (d, c, p) and u1: (d, p, b).
        Triangle& other = triangles_[u];
        const int j = static_cast<int>(std::find(other.n, other.n + 3, t) - other.n);
        const std::uint32_t d = other.v[j];
        const std::uint32_t ndc = other.n[(j + 2) % 3];
        const std::uint32_t nbd = other.n[(j + 1) % 3];
        pool.insert(pool.end(), other.candidates.begin(), other.candidates.end());
        other.candidates.clear();
        const std::uint32_t u1 = NewTriangle(d, p, b);
        Triangle& second = triangles_[u];
        second.v[0] = d, second.v[1] = c, second.v[2] = p;
        second.n[0] = t1, second.n[1] = u1, second.n[2] = ndc;
        triangles_[u1].n[0] = t, triangles_[u1].n[1] = nbd, triangles_[u1].n[2] = u;
        SetNeighbour(nbd, u, u1);
        triangles_[t].n[0] = u1;
        triangles_[t1].n[0] = u;
        targets.push_back(u);
        targets.push_back(u1);
    }
    Distribute(pool, targets.data(), static_cast<int>(targets.size()));
    touched_.insert(touched_.end(), targets.begin(), targets.end());
    for (const std::uint32_t target : targets) {
        Legalize(target, p);
    }
}

// Inserts candidate p of t: later points at p's position are served by it or listed as
// conflicts; the triangles changed are queued again.
void GreedyThinning::Insert(std::uint32_t t, std::uint32_t p) {
    std::vector<std::uint32_t>& candidates = triangles_[t].candidates;
    candidates.erase(
        std::remove_if(candidates.begin(), candidates.end(),
                       [&](std::uint32_t other) {
                           if (other == p || !SamePosition(other, p)) {
                               return false;
                           }
                           if (!(std::fabs(points_[other].z - points_[p].z) <= tolerance_)) {
                               result_.conflicts.push_back(other);
                           }
                           return true;
                       }),
        candidates.end());
    candidates.erase(std::find(candidates.begin(), candidates.end(), p));
    KeepVertex(p);
    touched_.clear();
    const Triangle& triangle = triangles_[t];
    int onEdge = -1;
    for (int k = 0; k < 3; ++k) {
        if (Orient(triangle.v[(k + 1) % 3], triangle.v[(k + 2) % 3], p) == 0) {
            onEdge = k;
        }
    }
    if (onEdge < 0) {
        SplitInside(t, p);
    } else {
        SplitEdge(t, onEdge, p);
    }
    std::sort(touched_.begin(), touched_.end());
    touched_.erase(std::unique(touched_.begin(), touched_.end()), touched_.end());
    for (const std::uint32_t changed : touched_) {
        Refresh(changed);
    }
}

ThinningResult GreedyThinning::Run() {
    if (!(tolerance_ >= 0.0) || !std::isfinite(tolerance_) ||
        points_.size() >= static_cast<std::size_t>(kNone) / 2) {
        throw GeometryError(GeometryFailure::kThinningBadInput);
    }
    for (const ThinPoint& point : points_) {
        if (!std::isfinite(point.x) || !std::isfinite(point.y) || !std::isfinite(point.z)) {
            throw GeometryError(GeometryFailure::kThinningBadInput);
        }
    }
    const std::vector<std::uint32_t> hull = ConvexHull(MarkFirstAtEachPosition());
    if (hull.size() < 3) {
        throw GeometryError(GeometryFailure::kThinningNoArea);
    }
    TriangulateHull(hull);
    while (!queue_.empty()) {
        const auto top = queue_.top();
        queue_.pop();
        const std::uint32_t t = top.second.first;
        if (triangles_[t].stamp != top.second.second) {
            continue;
        }
        // At a position shared with earlier points, the first of them is inserted.
        const std::uint32_t farthest = triangles_[t].farthest;
        Insert(t, first_[farthest]);
    }
    for (const Triangle& triangle : triangles_) {
        result_.triangles.push_back({triangle.v[0], triangle.v[1], triangle.v[2]});
    }
    std::sort(result_.conflicts.begin(), result_.conflicts.end());
    return std::move(result_);
}

}  // namespace

ThinningResult ThinToVerticalTolerance(const std::vector<ThinPoint>& points, double tolerance) {
    return GreedyThinning(points, tolerance).Run();
}

}  // namespace geom
