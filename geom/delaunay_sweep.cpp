#include "geom/delaunay_sweep.h"

#include <algorithm>
#include <cmath>

#include "geom/delaunay_cancel_shared_edges.h"
#include "geom/delaunay_circle_index.h"
#include "geom/delaunay_circumcircle.h"
#include "geom/edge.h"

namespace geom {

namespace {

// A live triangle. `born` numbers the insertion that made it (0: the enclosing triangle). Its
// circle is computed when it is made; the list walk would compute it at the next insertion and
// compare against the squared radius there, and against r * r at every later one.
struct SweepTriangle {
    std::int32_t i1;
    std::int32_t i2;
    std::int32_t i3;
    std::int32_t pos;
    std::int32_t born;
    bool hasCircle;
    CCircleIndex::Cells cells;
    double xc;
    double yc;
    double r;
    double rsqr;
};

class CSweep {
public:
    CSweep(const CVertex* points, std::int32_t n, double tolerance)
        : points_(points), n_(n), tolerance_(tolerance), index_(MakeIndex(points, n)) {}

    void Run() {
        AddTriangle(n_, n_ + 1, n_ + 2, points_[0].x);
        for (std::int32_t i = 0; i < n_; ++i) {
            if (i < n_ - 1 && points_[i] == points_[i + 1]) {
                continue;
            }
            ++insertion_;
            FindCavity(points_[i]);
            CarveCavity();
            CancelSharedEdges(edges_);
            FillCavity(i);
        }
    }

    void CollectResult(std::vector<CTriangle>& result) const {
        const double lastX = points_[n_ - 1].x;
        result.reserve(result.size() + live_.size());
        for (const std::int32_t id : live_) {
            const SweepTriangle& t = triangles_[id];
            if (t.i1 >= n_ || t.i2 >= n_ || t.i3 >= n_) {
                continue;
            }
            result.emplace_back();
            CTriangle& out = result.back();
            out.i1 = t.i1;
            out.i2 = t.i2;
            out.i3 = t.i3;
            out.p1 = points_[t.i1];
            out.p2 = points_[t.i2];
            out.p3 = points_[t.i3];
            // Looked at by at least one later insertion: its circle is cached, and it is complete
            // when the last (rightmost) point lies right of the circle.
            if (t.hasCircle && t.born < insertion_) {
                out.circleKnown = 1;
                out.xc = t.xc;
                out.yc = t.yc;
                out.r = t.r;
                out.complete = lastX > t.xc + t.r ? 1 : 0;
            }
        }
    }

private:
    static CCircleIndex MakeIndex(const CVertex* points, std::int32_t n) {
        double ymin = points[0].y, ymax = ymin;
        for (std::int32_t i = 1; i < n; ++i) {
            ymin = std::min(ymin, points[i].y);
            ymax = std::max(ymax, points[i].y);
        }
        const double xmin = points[0].x, xmax = points[n - 1].x;
        // About one finest cell per point spacing along the sweep front.
        const double width = xmax - xmin, height = ymax - ymin;
        const double hint = width > 0.0 ? std::sqrt(n * (height / width)) : n;
        return CCircleIndex(ymin, ymax, xmax, hint);
    }

    // Collects, sorted, the positions of the triangles the point takes out. Triangles found to be
    // complete leave the index: no later point can reach their circle.
    void FindCavity(const CVertex& p) {
        cavity_.clear();
        index_.Query(
            p.x, p.y,
            [&](std::int32_t id) {
                const SweepTriangle& t = triangles_[id];
                const double rr = t.born == insertion_ - 1 ? t.rsqr : t.r * t.r;
                if (CircleHolds(p, t.xc, t.yc, rr)) {
                    cavity_.push_back(t.pos);
                }
            },
            [&](std::int32_t id) { triangles_[id].cells = CCircleIndex::Cells(); });
        std::sort(cavity_.begin(), cavity_.end());
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

    void RemoveTriangle(std::int32_t id) {
        const SweepTriangle& t = triangles_[id];
        edges_.emplace_back(t.i1, t.i2);
        edges_.emplace_back(t.i2, t.i3);
        edges_.emplace_back(t.i3, t.i1);
        if (t.cells.Filed()) {
            index_.Erase(id, t.cells);
        }
        free_.push_back(id);
    }

    void FillCavity(std::int32_t i) {
        for (const CEdge& edge : edges_) {
            if (edge.i1 != -1 && edge.i2 != -1) {
                AddTriangle(edge.i1, edge.i2, i, points_[i].x);
            }
        }
    }

    void AddTriangle(std::int32_t a, std::int32_t b, std::int32_t c, double xFrom) {
        std::int32_t id;
        if (free_.empty()) {
            id = static_cast<std::int32_t>(triangles_.size());
            triangles_.emplace_back();
        } else {
            id = free_.back();
            free_.pop_back();
        }
        SweepTriangle& t = triangles_[id];
        t.i1 = a;
        t.i2 = b;
        t.i3 = c;
        t.pos = static_cast<std::int32_t>(live_.size());
        t.born = insertion_;
        t.xc = t.yc = t.r = t.rsqr = 0.0;
        t.hasCircle =
            ComputeCircumcircle(points_[a], points_[b], points_[c], tolerance_, t.xc, t.yc, t.rsqr);
        t.cells = CCircleIndex::Cells();
        if (t.hasCircle) {
            t.r = std::sqrt(t.rsqr);
            t.cells = index_.Place(t.xc, t.yc, t.r, xFrom);
            if (t.cells.Filed()) {
                index_.Insert(id, t.cells, t.xc, t.yc, t.r);
            }
        }
        live_.push_back(id);
    }

    const CVertex* points_;
    const std::int32_t n_;
    const double tolerance_;
    CCircleIndex index_;
    std::int32_t insertion_ = 0;
    std::vector<SweepTriangle> triangles_;  // by id
    std::vector<std::int32_t> free_;        // ids of removed triangles
    std::vector<std::int32_t> live_;        // ids by list position
    std::vector<std::int32_t> cavity_;      // positions of the triangles one point takes out
    std::vector<CEdge> edges_;              // cavity edges of one point
};

}  // namespace

void SweepInsertPoints(const CVertex* points, std::int32_t n, double tolerance,
                       std::vector<CTriangle>& result) {
    CSweep sweep(points, n, tolerance);
    sweep.Run();
    sweep.CollectResult(result);
}

}  // namespace geom
