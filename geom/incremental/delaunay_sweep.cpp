#include "geom/incremental/delaunay_sweep.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "geom/incremental/delaunay_circumcircle_inline.h"
#include "geom/kernel/edge.h"
#include "geom/kernel/predicates.h"

namespace geom {

namespace {

constexpr std::int32_t kNone = -1;

// A live triangle, its corners counter-clockwise. nb[k] is the triangle across the edge from
// v[k] to v[k + 1] (kNone on the enclosing triangle's outline). `born` numbers the insertion that
// made it (0: the enclosing triangle); `mark` tells whether the current cavity growth looked at it
// and took it in (see CSweep::Mark). The circle is the list walk's (ComputeCircumcircle): its
// decisions are replayed with it. `rr` holds the squared radius until the radius, its square
// root, is first needed (hasRadius), and the radius from then on: the squared radius is read only
// by the one test of the insertion right after the triangle's birth, which comes first. One record
// fills one cache line.
struct alignas(64) SweepTriangle {
    std::int32_t v[3];
    std::int32_t nb[3];
    std::int32_t pos;
    std::int32_t born;
    std::uint32_t mark;
    bool hasCircle;
    bool hasRadius;
    unsigned char shared;  // in a cavity: bit e set when the edge e joins another cavity triangle
    double xc;
    double yc;
    double rr;
};

// How the cavities are decided: by the list walk's floating-point circle test wherever that
// gives a star-shaped cavity, or by the exact in-circle test throughout.
enum class Decisions { kWalk, kExact };

int Next(int k) {
    return k == 2 ? 0 : k + 1;
}

// Equal bands of y over the points' range.
struct Rows {
    std::int32_t count;
    double ymin;
    double scale;  // rows per unit of y
    std::int32_t Of(double y) const {
        const double t = (y - ymin) * scale;
        if (!(t > 0.0)) {
            return 0;
        }
        return t < count - 1 ? static_cast<std::int32_t>(t) : count - 1;
    }
};

class CSweep {
public:
    CSweep(const CVertex* points, std::int32_t n, double tolerance, Decisions decisions)
        : decisions_(decisions),
          points_(points),
          n_(n),
          tolerance_(tolerance),
          rows_(MakeRows(points, n)),
          outsideByStart_(static_cast<std::size_t>(n) + 3, kNone),
          newByStart_(static_cast<std::size_t>(n) + 3, kNone),
          onOutline_(static_cast<std::size_t>(n) + 3, -1),
          rowPoint_(rows_.count, kNone),
          vertexTriangle_(static_cast<std::size_t>(n) + 3, kNone) {}

    // Inserts every point; false when a cavity is not a valid one to fill (the walk's decisions
    // only), after which the triangles are not to be used.
    bool Run() {
        // The n points and three corners make 2n + 1 triangles, and no cavity in flight more.
        triangles_.reserve(2 * static_cast<std::size_t>(n_) + 1024);
        live_.reserve(2 * static_cast<std::size_t>(n_) + 1024);
        const std::int32_t first = AddTriangle(n_, n_ + 1, n_ + 2);
        lastNew_ = first;
        for (std::int32_t i = 0; i < n_; ++i) {
            if (i < n_ - 1 && points_[i] == points_[i + 1]) {
                continue;
            }
            ++insertion_;
            const CVertex& p = points_[i];
            if (!GrowCavity(Locate(p), p)) {
                return false;
            }
            rowPoint_[rows_.Of(p.y)] = i;
            CarveCavity();
            FillCavity(i);
        }
        return true;
    }

    void CollectResult(std::vector<CTriangle>& result) const {
        const double lastX = points_[n_ - 1].x;
        result.reserve(result.size() + live_.size());
        for (const std::int32_t id : live_) {
            const SweepTriangle& t = triangles_[id];
            if (t.v[0] >= n_ || t.v[1] >= n_ || t.v[2] >= n_) {
                continue;
            }
            result.emplace_back();
            CTriangle& out = result.back();
            out.i1 = t.v[0];
            out.i2 = t.v[1];
            out.i3 = t.v[2];
            out.p1 = points_[t.v[0]];
            out.p2 = points_[t.v[1]];
            out.p3 = points_[t.v[2]];
            // Looked at by at least one later insertion, the list walk has cached its circle, and
            // marked it complete when the last (rightmost) point lies right of that circle.
            if (t.hasCircle && t.born < insertion_) {
                out.circleKnown = 1;
                out.xc = t.xc;
                out.yc = t.yc;
                out.r = t.hasRadius ? t.rr : std::sqrt(t.rr);
                out.complete = lastX > t.xc + out.r ? 1 : 0;
            }
        }
    }

    // Flips every edge between two live triangles that is not locally Delaunay (a corner
    // opposite it strictly inside the other triangle's circle), decided exactly, until none is
    // left: the triangulation is then a Delaunay one. A flipped pair keeps its two list
    // positions; each of its triangles takes its latest inserted corner last, as a fan triangle
    // has, and counts as made after the last insertion.
    void MakeDelaunay() {
        if (IsDelaunay()) {
            return;
        }
        std::vector<std::int32_t> pending(live_.rbegin(), live_.rend());
        while (!pending.empty()) {
            const std::int32_t id = pending.back();
            pending.pop_back();
            for (int e = 0; e < 3; ++e) {
                const std::int32_t across = triangles_[id].nb[e];
                if (across != kNone && !EdgeIsDelaunay(id, e)) {
                    Flip(id, e);
                    pending.push_back(across);
                    pending.push_back(id);
                    break;
                }
            }
        }
    }

private:
    // Whether every edge between two live triangles is locally Delaunay. The test gives the same
    // answer from either side of an edge, so each edge is looked at once.
    bool IsDelaunay() const {
        for (std::int32_t id = 0; id < static_cast<std::int32_t>(triangles_.size()); ++id) {
            const SweepTriangle& t = triangles_[id];
            if (static_cast<std::size_t>(t.pos) >= live_.size() || live_[t.pos] != id) {
                continue;  // removed
            }
            for (int e = 0; e < 3; ++e) {
                if (t.nb[e] != kNone && t.nb[e] > id && !EdgeIsDelaunay(id, e)) {
                    return false;
                }
            }
        }
        return true;
    }

    // Rows of about one point spacing along the sweep front.
    static Rows MakeRows(const CVertex* points, std::int32_t n) {
        double ymin = points[0].y, ymax = ymin;
        for (std::int32_t i = 1; i < n; ++i) {
            ymin = std::min(ymin, points[i].y);
            ymax = std::max(ymax, points[i].y);
        }
        const double width = points[n - 1].x - points[0].x, height = ymax - ymin;
        double count = width > 0.0 ? std::sqrt(n * (height / width)) : n;
        if (!(count >= 1.0) || !(height > 0.0) || !std::isfinite(height)) {
            count = 1.0;
        }
        Rows rows;
        rows.count = static_cast<std::int32_t>(std::min(count, static_cast<double>(n)));
        rows.ymin = ymin;
        rows.scale = rows.count > 1 ? rows.count / height : 0.0;
        return rows;
    }

    // The position in `o` of its edge to triangle `id`.
    int EdgeTo(const SweepTriangle& o, std::int32_t id) const {
        return o.nb[0] == id ? 0 : (o.nb[1] == id ? 1 : 2);
    }

    bool EdgeIsDelaunay(std::int32_t id, int e) const {
        const SweepTriangle& t = triangles_[id];
        const SweepTriangle& o = triangles_[t.nb[e]];
        const CVertex& opposite = points_[o.v[Next(Next(EdgeTo(o, id)))]];
        return InCircle(PlanOf(points_[t.v[0]]), PlanOf(points_[t.v[1]]), PlanOf(points_[t.v[2]]),
                        PlanOf(opposite)) <= 0;
    }

    // Replaces the triangles (a, b, c) and (b, a, d) on the edge e = (a, b) of triangle `id` by
    // (a, d, c) and (d, b, c).
    void Flip(std::int32_t id, int e) {
        SweepTriangle& t = triangles_[id];
        const std::int32_t otherId = t.nb[e];
        SweepTriangle& o = triangles_[otherId];
        const int k = EdgeTo(o, id);
        const std::int32_t a = t.v[e], b = t.v[Next(e)], c = t.v[Next(Next(e))];
        const std::int32_t d = o.v[Next(Next(k))];
        const std::int32_t bc = t.nb[Next(e)], ca = t.nb[Next(Next(e))];
        const std::int32_t ad = o.nb[Next(k)], db = o.nb[Next(Next(k))];
        SetCorners(t, {a, d, c}, {ad, otherId, ca});
        SetCorners(o, {d, b, c}, {db, bc, id});
        if (ad != kNone) {
            SweepTriangle& n = triangles_[ad];
            n.nb[EdgeTo(n, otherId)] = id;
        }
        if (bc != kNone) {
            SweepTriangle& n = triangles_[bc];
            n.nb[EdgeTo(n, id)] = otherId;
        }
    }

    // Sets the corners, latest inserted last, and the neighbours with them.
    void SetCorners(SweepTriangle& t, const std::array<std::int32_t, 3>& v,
                    const std::array<std::int32_t, 3>& nb) {
        int last = 0;
        for (int k = 1; k < 3; ++k) {
            if (v[k] > v[last]) {
                last = k;
            }
        }
        for (int k = 0; k < 3; ++k) {
            const int from = (last + 1 + k) % 3;
            t.v[k] = v[from];
            t.nb[k] = nb[from];
        }
        t.born = insertion_;
        t.hasCircle = false;
    }

    bool Holds(const SweepTriangle& t, const CVertex& p) const {
        const CVertex& a = points_[t.v[0]];
        const CVertex& b = points_[t.v[1]];
        const CVertex& c = points_[t.v[2]];
        return Orient(PlanOf(a), PlanOf(b), PlanOf(p)) >= 0 &&
               Orient(PlanOf(b), PlanOf(c), PlanOf(p)) >= 0 &&
               Orient(PlanOf(c), PlanOf(a), PlanOf(p)) >= 0;
    }

    // A live triangle that holds p, in its inside or on its outline: found by a walk from a
    // triangle at the point last inserted in p's row or from the newest fan, whichever point is
    // nearer to p. Points come in ascending x, so p lies right of both; the newest fan is entered
    // on its side towards the enclosing triangle, where p lies when it follows the last point
    // closely (as on a grid, where that fan may be long).
    std::int32_t Locate(const CVertex& p) {
        const std::int32_t near = rowPoint_[rows_.Of(p.y)];
        if (near == kNone || lastPoint_ == kNone ||
            SquaredDistance(p, points_[lastPoint_]) <= SquaredDistance(p, points_[near])) {
            return Walk(p, lastNew_);
        }
        return Walk(p, vertexTriangle_[near]);
    }

    static double SquaredDistance(const CVertex& a, const CVertex& b) {
        return (a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y);
    }

    // Steps from the triangle `id` across an edge that has p strictly on its outer side until no
    // edge has. The walk ends on a Delaunay triangulation; a bound on its steps, with a look at
    // every triangle behind it, keeps that from being taken on trust.
    std::int32_t Walk(const CVertex& p, std::int32_t id) {
        std::size_t steps = 0;
        int from = 0;
        while (steps++ <= live_.size()) {
            const SweepTriangle& t = triangles_[id];
            int k = 0;
            for (; k < 3; ++k) {
                const int e = (from + k) % 3;
                if (t.nb[e] != kNone &&
                    Orient(PlanOf(points_[t.v[e]]), PlanOf(points_[t.v[Next(e)]]), PlanOf(p)) < 0) {
                    id = t.nb[e];
                    from = static_cast<int>(steps % 3);
                    break;
                }
            }
            if (k == 3) {
                return id;
            }
        }
        for (const std::int32_t live : live_) {
            if (Holds(triangles_[live], p)) {
                return live;
            }
        }
        return lastNew_;
    }

    // The list walk's test: the triangle's circle holds p (its squared radius as computed at the
    // first insertion after the triangle's birth, r * r later), a flat triangle never holds a
    // point, and one whose circle lies left of p is complete and stays. A circle that holds p
    // and whose centre is not left of p cannot lie left of it, since xc + r >= xc.
    bool WalkTakesIn(SweepTriangle& t, const CVertex& p) {
        if (!t.hasCircle) {
            return false;
        }
        if (t.born == insertion_ - 1) {
            if (!circle_inline::CircleHolds(p, t.xc, t.yc, t.rr)) {
                return false;
            }
            return !(p.x > t.xc) || !(p.x > t.xc + Radius(t));
        }
        // The cheaper half first: on a sweep most older triangles tested lie complete left of p.
        const double r = Radius(t);
        return !(p.x > t.xc + r) && circle_inline::CircleHolds(p, t.xc, t.yc, r * r);
    }

    static double Radius(SweepTriangle& t) {
        if (!t.hasRadius) {
            t.rr = std::sqrt(t.rr);
            t.hasRadius = true;
        }
        return t.rr;
    }

    // The exact test, with the list walk's answer where p lies exactly on the circle. Either
    // answer keeps the cavity star-shaped around p, since the triangle is reached across an edge
    // that p sees from inside.
    bool ExactTakesIn(SweepTriangle& t, const CVertex& p) {
        const int sign = InCircle(PlanOf(points_[t.v[0]]), PlanOf(points_[t.v[1]]),
                                  PlanOf(points_[t.v[2]]), PlanOf(p));
        return sign != 0 ? sign > 0 : WalkTakesIn(t, p);
    }

    // A triangle's mark for the current growth: looked at, and taken in or not. Marks of earlier
    // growths are lower (growth_ < 2^31), and a new triangle's mark, 0, is lower than all.
    std::uint32_t Mark(bool taken) const {
        return 2u * static_cast<std::uint32_t>(growth_) + (taken ? 1u : 0u);
    }

    // Grows the cavity from the triangle that holds p across edges to every triangle whose
    // circle holds p. Notes, for the fan, the triangle outside each outline edge under the
    // edge's first corner, marks in each cavity triangle the edges it shares with another one,
    // and gives the cavity's list positions in ascending order.
    //
    // Gives whether the fan from p over the cavity's outline is a valid triangulation of it: p
    // sees every outline edge strictly from inside, and every corner of the cavity lies on the
    // outline (none would be lost). Cavities decided exactly on a Delaunay triangulation always
    // are; the walk's decisions may give others.
    bool GrowCavity(std::int32_t seed, const CVertex& p) {
        ++growth_;
        taken_.clear();
        triangles_[seed].mark = Mark(true);
        taken_.push_back(seed);
        for (std::size_t k = 0; k < taken_.size(); ++k) {
            const SweepTriangle& t = triangles_[taken_[k]];
            for (const std::int32_t id : t.nb) {
                if (id == kNone || triangles_[id].mark >= Mark(false)) {
                    continue;
                }
                SweepTriangle& next = triangles_[id];
                next.mark = Mark(false);
                if (decisions_ == Decisions::kWalk ? WalkTakesIn(next, p) : ExactTakesIn(next, p)) {
                    next.mark = Mark(true);
                    taken_.push_back(id);
                }
            }
        }
        cavity_.clear();
        bool fillable = true;
        for (const std::int32_t id : taken_) {
            SweepTriangle& t = triangles_[id];
            t.shared = 0;
            for (int e = 0; e < 3; ++e) {
                const std::int32_t across = t.nb[e];
                if (across != kNone && triangles_[across].mark == Mark(true)) {
                    t.shared |= 1 << e;
                    continue;
                }
                outsideByStart_[t.v[e]] = across;
                onOutline_[t.v[e]] = growth_;
                if (Orient(PlanOf(points_[t.v[e]]), PlanOf(points_[t.v[Next(e)]]), PlanOf(p)) <=
                    0) {
                    fillable = false;
                }
            }
            cavity_.push_back(t.pos);
        }
        for (const std::int32_t id : taken_) {
            for (const std::int32_t corner : triangles_[id].v) {
                if (onOutline_[corner] != growth_) {
                    fillable = false;
                }
            }
        }
        SortCavity();
        return fillable;
    }

    // Sorts the cavity's list positions. Most of a large cavity lies in the list's tail, where the
    // newest triangles are: those positions are marked in a table and read back in order, and
    // only the rest is sorted by comparison.
    void SortCavity() {
        const std::size_t count = cavity_.size();
        const std::size_t span = count + count / 2;
        if (count <= 16 || live_.size() < span) {
            std::sort(cavity_.begin(), cavity_.end());
            return;
        }
        const std::int32_t tail = static_cast<std::int32_t>(live_.size() - span);
        inTail_.assign(span, 0);
        std::size_t low = 0;
        for (const std::int32_t pos : cavity_) {
            if (pos >= tail) {
                inTail_[pos - tail] = 1;
            } else {
                cavity_[low++] = pos;
            }
        }
        std::sort(cavity_.begin(), cavity_.begin() + low);
        for (std::size_t k = 0; k < span; ++k) {
            if (inTail_[k]) {
                cavity_[low++] = tail + static_cast<std::int32_t>(k);
            }
        }
    }

    // Removes the cavity triangles in the order of the list walk: the lowest position first;
    // the last live triangle moves into the freed position and, when it belongs to the cavity
    // as well, is taken out next.
    void CarveCavity() {
        edges_.clear();
        std::size_t front = 0, back = cavity_.size();
        while (front < back) {
            const std::int32_t pos = cavity_[front];
            RemoveTriangle(live_[pos]);
            const std::int32_t last = static_cast<std::int32_t>(live_.size()) - 1;
            const bool lastInCavity = cavity_[back - 1] == last;
            if (pos != last) {
                live_[pos] = live_[last];
                triangles_[live_[pos]].pos = pos;
            }
            live_.pop_back();
            if (lastInCavity && pos != last) {
                --back;
            } else {
                ++front;
            }
        }
    }

    // Lists the triangle's edges as cavity edges but those it shares with another triangle of
    // the cavity: in a triangulation those are the edges that occur twice in the cavity's list,
    // which the list walk cancels in pairs. What is listed is the cavity's outline in the order
    // the list walk leaves it.
    void RemoveTriangle(std::int32_t id) {
        const SweepTriangle& t = triangles_[id];
        for (int e = 0; e < 3; ++e) {
            if (!(t.shared & (1 << e))) {
                edges_.emplace_back(t.v[e], t.v[Next(e)]);
            }
        }
        free_.push_back(id);
    }

    // One new triangle (a, b, i) per outline edge (a, b), in list order, linked to the triangle
    // outside the edge and to its two neighbours in the fan.
    void FillCavity(std::int32_t i) {
        fan_.clear();
        for (const CEdge& edge : edges_) {
            const std::int32_t id = AddTriangle(edge.i1, edge.i2, i);
            newByStart_[edge.i1] = id;
            fan_.push_back(id);
            const std::int32_t outside = outsideByStart_[edge.i1];
            triangles_[id].nb[0] = outside;
            if (outside != kNone) {
                SweepTriangle& o = triangles_[outside];
                for (int e = 0; e < 3; ++e) {
                    if (o.v[e] == edge.i2 && o.v[Next(e)] == edge.i1) {
                        o.nb[e] = id;
                    }
                }
            }
        }
        for (const std::int32_t id : fan_) {
            SweepTriangle& t = triangles_[id];
            const std::int32_t following = newByStart_[t.v[1]];
            t.nb[1] = following;
            triangles_[following].nb[2] = id;
        }
        if (!fan_.empty()) {
            vertexTriangle_[i] = fan_.front();
            lastNew_ = fan_.back();
            for (const std::int32_t id : fan_) {
                if (triangles_[id].v[0] >= n_ || triangles_[id].v[1] >= n_) {
                    lastNew_ = id;
                    break;
                }
            }
        }
        lastPoint_ = i;
    }

    std::int32_t AddTriangle(std::int32_t a, std::int32_t b, std::int32_t c) {
        std::int32_t id;
        if (free_.empty()) {
            id = static_cast<std::int32_t>(triangles_.size());
            triangles_.emplace_back();
        } else {
            id = free_.back();
            free_.pop_back();
        }
        SweepTriangle& t = triangles_[id];
        t.v[0] = a;
        t.v[1] = b;
        t.v[2] = c;
        t.nb[0] = t.nb[1] = t.nb[2] = kNone;
        t.pos = static_cast<std::int32_t>(live_.size());
        t.born = insertion_;
        t.mark = 0;
        // The circle fields are read only when hasCircle is set, which is when they are written.
        t.hasCircle = circle_inline::ComputeCircumcircle(points_[a], points_[b], points_[c],
                                                         tolerance_, t.xc, t.yc, t.rr);
        t.hasRadius = false;
        // Each corner of a cavity starts one edge of its outline, so this keeps a live triangle
        // for every corner but the newest point, which FillCavity notes.
        vertexTriangle_[a] = id;
        live_.push_back(id);
        return id;
    }

    const Decisions decisions_;
    const CVertex* points_;
    const std::int32_t n_;
    const double tolerance_;
    const Rows rows_;
    std::int32_t insertion_ = 0;
    std::int32_t growth_ = 0;                   // numbers the cavity growths and their checks
    std::int32_t lastNew_ = kNone;              // a triangle of the newest fan
    std::int32_t lastPoint_ = kNone;            // the point last inserted
    std::vector<SweepTriangle> triangles_;      // by id
    std::vector<std::int32_t> free_;            // ids of removed triangles
    std::vector<std::int32_t> live_;            // ids by list position
    std::vector<std::int32_t> taken_;           // ids of one point's cavity
    std::vector<std::int32_t> cavity_;          // their list positions, ascending
    std::vector<char> inTail_;                  // marks of cavity positions in the list's tail
    std::vector<CEdge> edges_;                  // cavity edges of one point
    std::vector<std::int32_t> fan_;             // ids of one point's new triangles
    std::vector<std::int32_t> outsideByStart_;  // by point: triangle outside its outline edge
    std::vector<std::int32_t> newByStart_;      // by point: new triangle on its outline edge
    std::vector<std::int32_t> onOutline_;       // by point: the check that found it on an outline
    std::vector<std::int32_t> rowPoint_;        // by row: the point last inserted in it
    std::vector<std::int32_t> vertexTriangle_;  // by point: a live triangle with that corner
};

}  // namespace

void SweepInsertPoints(const CVertex* points, std::int32_t n, double tolerance,
                       std::vector<CTriangle>& result) {
    {
        CSweep walk(points, n, tolerance, Decisions::kWalk);
        if (walk.Run()) {
            walk.MakeDelaunay();
            walk.CollectResult(result);
            return;
        }
    }
    CSweep exact(points, n, tolerance, Decisions::kExact);
    if (exact.Run()) {
        exact.CollectResult(result);
    }
}

}  // namespace geom
