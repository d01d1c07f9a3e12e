#include "geom/surface/profile_tracer.h"

#include <algorithm>
#include <cmath>

#include "geom/kernel/plan_length.h"
#include "geom/kernel/predicates.h"

namespace geom {

namespace {

PlanPoint Plan(const SurfacePoint& p) {
    return {p.x, p.y};
}

PlanPoint Plan(PlanPoint p) {
    return {p.x, p.y};
}

// Whether the closed segments a-b and u-v share a point; decided exactly.
bool SegmentsMeet(PlanPoint a, PlanPoint b, PlanPoint u, PlanPoint v) {
    const int ou = Orient(a, b, u);
    const int ov = Orient(a, b, v);
    if (ou * ov > 0) {
        return false;
    }
    const int oa = Orient(u, v, a);
    const int ob = Orient(u, v, b);
    if (oa * ob > 0) {
        return false;
    }
    if (ou == 0 && ov == 0) {  // on one line: their extents must overlap
        return std::max(std::min(a.x, b.x), std::min(u.x, v.x)) <=
                   std::min(std::max(a.x, b.x), std::max(u.x, v.x)) &&
               std::max(std::min(a.y, b.y), std::min(u.y, v.y)) <=
                   std::min(std::max(a.y, b.y), std::max(u.y, v.y));
    }
    return true;
}

// Whether p, known to lie on the line through a and b, lies on the segment between them.
bool WithinSegment(PlanPoint a, PlanPoint b, PlanPoint p) {
    return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
           p.y <= std::max(a.y, b.y);
}

// The position of (x, y) along a-b: 0 at a, 1 at b, held within 0 ... 1.
double Along(PlanPoint a, PlanPoint b, double x, double y) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double t = ((x - a.x) * dx + (y - a.y) * dy) / (dx * dx + dy * dy);
    return std::min(1.0, std::max(0.0, t));
}

// Twice the signed area of a, b, p in floating point.
double Cross(PlanPoint a, PlanPoint b, const SurfacePoint& p) {
    return PlanCross(a, b, PlanOf(p));
}

}  // namespace

CProfileTracer::CProfileTracer(const WeldedSurface& surface)
    : surface_(surface), mark_(surface.triangles.size(), 0) {
    for (std::size_t t = 0; t < surface.triangles.size(); ++t) {
        for (int k = 0; k < 3; ++k) {
            if (surface.triangles[t].across[k] < 0) {
                boundary_.push_back(static_cast<std::int32_t>(t * 3 + k));
            }
        }
    }
}

bool CProfileTracer::Holds(std::int32_t triangle, PlanPoint p) const {
    const std::int32_t* c = surface_.triangles[triangle].corner;
    for (int k = 0; k < 3; ++k) {
        if (Orient(Plan(surface_.points[c[k]]), Plan(surface_.points[c[(k + 1) % 3]]), Plan(p)) <
            0) {
            return false;
        }
    }
    return true;
}

std::int32_t CProfileTracer::Locate(PlanPoint p) const {
    const std::int32_t count = static_cast<std::int32_t>(surface_.triangles.size());
    // First a walk from the first triangle towards the point, over the edges it lies beyond;
    // where the walk leaves the surface or takes too long, a search through all triangles.
    const double most = 4.0 * std::sqrt(static_cast<double>(count)) + 64.0;
    std::int32_t at = 0;
    for (int step = 0; at >= 0 && step < most; ++step) {
        const SurfaceTriangle& t = surface_.triangles[at];
        int beyond = -1;
        for (int i = 0; i < 3 && beyond < 0; ++i) {
            const int k = (i + step) % 3;  // turning the start breaks cycles
            if (Orient(Plan(surface_.points[t.corner[k]]),
                       Plan(surface_.points[t.corner[(k + 1) % 3]]), Plan(p)) < 0) {
                beyond = k;
            }
        }
        if (beyond < 0) {
            return at;
        }
        at = t.across[beyond];
    }
    for (std::int32_t t = 0; t < count; ++t) {
        const std::int32_t* c = surface_.triangles[t].corner;
        const SurfacePoint& p0 = surface_.points[c[0]];
        const SurfacePoint& p1 = surface_.points[c[1]];
        const SurfacePoint& p2 = surface_.points[c[2]];
        if (p.x < std::min({p0.x, p1.x, p2.x}) || p.x > std::max({p0.x, p1.x, p2.x}) ||
            p.y < std::min({p0.y, p1.y, p2.y}) || p.y > std::max({p0.y, p1.y, p2.y})) {
            continue;
        }
        if (Holds(t, p)) {
            return t;
        }
    }
    return -1;
}

// Gathers in met_ every triangle the segment a-b meets, spreading across the edges it meets
// from the triangle `start` (which holds a, or -1) and from the boundary edges it meets.
void CProfileTracer::Spread(PlanPoint a, PlanPoint b, std::int32_t start) {
    const PlanPoint pa = Plan(a);
    const PlanPoint pb = Plan(b);
    const auto reach = [&](std::int32_t t) {
        if (mark_[t] != piece_) {
            mark_[t] = piece_;
            met_.push_back(t);
        }
    };
    if (start >= 0) {
        reach(start);
    }
    for (const std::int32_t edge : boundary_) {
        const std::int32_t* c = surface_.triangles[edge / 3].corner;
        const int k = edge % 3;
        if (SegmentsMeet(pa, pb, Plan(surface_.points[c[k]]),
                         Plan(surface_.points[c[(k + 1) % 3]]))) {
            reach(edge / 3);
        }
    }
    for (std::size_t i = 0; i < met_.size(); ++i) {
        const SurfaceTriangle& t = surface_.triangles[met_[i]];
        for (int k = 0; k < 3; ++k) {
            if (t.across[k] >= 0 && mark_[t.across[k]] != piece_ &&
                SegmentsMeet(pa, pb, Plan(surface_.points[t.corner[k]]),
                             Plan(surface_.points[t.corner[(k + 1) % 3]]))) {
                reach(t.across[k]);
            }
        }
    }
}

double CProfileTracer::PlaneElevation(std::int32_t triangle, double x, double y) const {
    const std::int32_t* c = surface_.triangles[triangle].corner;
    const SurfacePoint& q0 = surface_.points[c[0]];
    const SurfacePoint& q1 = surface_.points[c[1]];
    const SurfacePoint& q2 = surface_.points[c[2]];
    for (const SurfacePoint* q : {&q0, &q1, &q2}) {
        if (q->x == x && q->y == y) {
            return q->z;
        }
    }
    const double e1x = q1.x - q0.x, e1y = q1.y - q0.y, d1 = q1.z - q0.z;
    const double e2x = q2.x - q0.x, e2y = q2.y - q0.y, d2 = q2.z - q0.z;
    const double det = e1x * e2y - e1y * e2x;
    const double gx = (d1 * e2y - d2 * e1y) / det;
    const double gy = (e1x * d2 - e2x * d1) / det;
    return q0.z + gx * (x - q0.x) + gy * (y - q0.y);
}

// The points of the segment a-b on each triangle it meets (hits_) and the stretch of the
// segment each triangle covers (spans_, sorted by start).
void CProfileTracer::Collect(PlanPoint a, PlanPoint b, double station, double length) {
    const PlanPoint pa = Plan(a);
    const PlanPoint pb = Plan(b);
    for (const std::int32_t triangle : met_) {
        const std::int32_t* c = surface_.triangles[triangle].corner;
        int side[3];
        for (int k = 0; k < 3; ++k) {
            side[k] = Orient(pa, pb, Plan(surface_.points[c[k]]));
        }
        Span span{2.0, -1.0, triangle};
        const auto hit = [&](double t, double x, double y, double z) {
            hits_.push_back(Hit{t, ProfilePoint{station + t * length, x, y, z}});
            span.t0 = std::min(span.t0, t);
            span.t1 = std::max(span.t1, t);
        };
        for (int k = 0; k < 3; ++k) {
            const SurfacePoint& u = surface_.points[c[k]];
            if (side[k] == 0 && WithinSegment(pa, pb, Plan(u))) {
                hit(Along(a, b, u.x, u.y), u.x, u.y, u.z);
            }
            const int j = (k + 1) % 3;
            if (side[k] * side[j] >= 0) {
                continue;
            }
            // The edge crosses the line; it crosses the segment where a and b lie on its two
            // sides (an end on the edge is taken below, as a point the triangle holds).
            const SurfacePoint& v = surface_.points[c[j]];
            if (Orient(Plan(u), Plan(v), pa) * Orient(Plan(u), Plan(v), pb) >= 0) {
                continue;
            }
            // From the end with the lower index, so that both triangles of the edge agree.
            const SurfacePoint& p = c[k] < c[j] ? u : v;
            const SurfacePoint& q = c[k] < c[j] ? v : u;
            const double dp = Cross(a, b, p);
            const double dq = Cross(a, b, q);
            const double lambda = dp != dq ? std::min(1.0, std::max(0.0, dp / (dp - dq))) : 0.5;
            const double x = p.x + lambda * (q.x - p.x);
            const double y = p.y + lambda * (q.y - p.y);
            hit(Along(a, b, x, y), x, y, p.z + lambda * (q.z - p.z));
        }
        if (Holds(triangle, a)) {
            hit(0.0, a.x, a.y, PlaneElevation(triangle, a.x, a.y));
        }
        if (Holds(triangle, b)) {
            hit(1.0, b.x, b.y, PlaneElevation(triangle, b.x, b.y));
        }
        if (span.t0 <= span.t1) {
            spans_.push_back(span);
        }
    }
    std::sort(spans_.begin(), spans_.end(),
              [](const Span& l, const Span& r) { return l.t0 < r.t0; });
}

void CProfileTracer::AddIntervalStations(PlanPoint a, PlanPoint b, double station, double length,
                                         double interval) {
    const double first = std::ceil(station / interval);
    const double last = std::floor((station + length) / interval);
    std::size_t next = 0;
    std::int32_t reaching = -1;  // of the spans begun, the one reaching furthest
    double reach = -1.0;
    for (double k = first; k <= last; k += 1.0) {
        const double t = std::min(1.0, std::max(0.0, (k * interval - station) / length));
        while (next < spans_.size() && spans_[next].t0 <= t) {
            if (spans_[next].t1 > reach) {
                reach = spans_[next].t1;
                reaching = spans_[next].triangle;
            }
            ++next;
        }
        if (reaching >= 0 && reach >= t) {
            const double x = a.x + t * (b.x - a.x);
            const double y = a.y + t * (b.y - a.y);
            hits_.push_back(
                Hit{t, ProfilePoint{k * interval, x, y, PlaneElevation(reaching, x, y)}});
        }
    }
}

// Turns the hits of the piece at hand into runs: one per stretch the spans cover without a
// gap. A stretch from the piece's start continues the last run when that one was left open at
// the previous piece's end. `open` tells whether the piece ends on the surface.
void CProfileTracer::Append(std::vector<ProfileRun>& runs, bool& open) {
    std::stable_sort(hits_.begin(), hits_.end(),
                     [](const Hit& l, const Hit& r) { return l.t < r.t; });
    std::size_t h = 0;
    std::size_t s = 0;
    bool continuing = open;
    open = false;
    while (s < spans_.size()) {
        const double t0 = spans_[s].t0;
        double t1 = spans_[s].t1;
        for (++s; s < spans_.size() && spans_[s].t0 <= t1; ++s) {
            t1 = std::max(t1, spans_[s].t1);
        }
        if (!(continuing && t0 == 0.0)) {
            runs.emplace_back();
        }
        continuing = false;
        std::vector<ProfilePoint>& points = runs.back().points;
        for (; h < hits_.size() && hits_[h].t <= t1; ++h) {
            if (points.empty() || hits_[h].point.station > points.back().station) {
                points.push_back(hits_[h].point);
            }
        }
        open = t1 == 1.0;
    }
}

void CProfileTracer::Trace(const std::vector<PlanPoint>& alignment, const ProfileOptions& options,
                           std::vector<ProfileRun>& runs) {
    if (surface_.triangles.empty()) {
        return;
    }
    double station = options.startStation;
    bool open = false;
    bool located = false;     // whether `start` is known for the piece at hand
    std::int32_t start = -1;  // the triangle holding the piece's start, or -1: off the surface
    for (std::size_t i = 0; i + 1 < alignment.size(); ++i) {
        const PlanPoint a = alignment[i];
        const PlanPoint b = alignment[i + 1];
        if (a.x == b.x && a.y == b.y) {
            continue;
        }
        const double length = PlanLength(b.x - a.x, b.y - a.y);
        if (!located) {
            start = Locate(a);
            located = true;
        }
        ++piece_;
        met_.clear();
        hits_.clear();
        spans_.clear();
        Spread(a, b, start);
        Collect(a, b, station, length);
        if (options.interval > 0) {
            AddIntervalStations(a, b, station, length, options.interval);
        }
        Append(runs, open);
        start = -1;
        for (const std::int32_t t : met_) {
            if (Holds(t, b)) {
                start = t;
                break;
            }
        }
        station += length;
    }
}

}  // namespace geom
