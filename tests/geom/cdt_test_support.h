// Helpers shared by the constrained triangulator's tests.
//
// CdtInput: survey points, breaklines, outer boundary, holes, maximum edge length.
// RunCdt(input): feeds a CConstrainedDCT and gives the triangles, the vertex list, or the failure
// text thrown. CheckCdt(run, segments): the faults of a result, counted by kind, all zero for a
// valid constrained Delaunay triangulation of the listed constraint segments: triangles
// counter-clockwise and not flat, indices in range, i1 lowest and grouping by i1, each directed
// edge used once, every constraint segment a chain of edges through the vertices exactly on it,
// and every edge shared by two triangles and lying on no constraint locally Delaunay (exact).
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "exact_predicates.h"
#include "geom/cdt.h"

namespace cdttest {

using geom::CVertex;
using Polyline = std::vector<CVertex>;

struct CdtInput {
    std::vector<CVertex> points;
    std::vector<Polyline> breaklines;
    Polyline outer;
    std::vector<Polyline> holes;
    double maxEdgeLength = 0.0;
};

struct CdtRun {
    std::vector<geom::CTriangle> triangles;
    std::vector<CVertex> vertices;
    std::string failure;
};

inline CdtRun RunCdt(const CdtInput& input) {
    CdtRun run;
    geom::CConstrainedDCT cdt;
    for (const CVertex& p : input.points) {
        cdt.AddPoint(p.x, p.y, p.z);
    }
    for (const Polyline& line : input.breaklines) {
        cdt.AddBreakline(line);
    }
    if (!input.outer.empty()) {
        cdt.SetOuterBoundary(input.outer);
    }
    for (const Polyline& hole : input.holes) {
        cdt.AddHole(hole);
    }
    cdt.SetMaxEdgeLength(input.maxEdgeLength);
    try {
        run.triangles = cdt.Triangulate();
    } catch (const char* text) {
        run.failure = text;
        return run;
    }
    run.vertices = cdt.GetVertices();
    return run;
}

inline exact::Point At(const CVertex& v) {
    return {v.x, v.y};
}

struct Segment {
    CVertex p;
    CVertex q;
};

// The segments of the input's lines (boundaries closed), zero-length ones left out.
inline std::vector<Segment> SegmentsOf(const CdtInput& input) {
    std::vector<Segment> segments;
    const auto add = [&](const Polyline& line, bool closed) {
        const std::size_t n = line.size();
        for (std::size_t k = 0; k + 1 < n + (closed ? 1 : 0); ++k) {
            const CVertex& p = line[k];
            const CVertex& q = line[(k + 1) % n];
            if (!(p == q)) {
                segments.push_back({p, q});
            }
        }
    };
    for (const Polyline& line : input.breaklines) {
        add(line, false);
    }
    add(input.outer, true);
    for (const Polyline& hole : input.holes) {
        add(hole, true);
    }
    return segments;
}

struct CdtFaults {
    int badIndex = 0;
    int notCounterClockwise = 0;
    int badOrder = 0;
    int edgeTwice = 0;
    int constraintMissing = 0;
    int notDelaunay = 0;
    bool operator==(const CdtFaults& o) const {
        return badIndex == o.badIndex && notCounterClockwise == o.notCounterClockwise &&
               badOrder == o.badOrder && edgeTwice == o.edgeTwice &&
               constraintMissing == o.constraintMissing && notDelaunay == o.notDelaunay;
    }
};

inline std::ostream& operator<<(std::ostream& out, const CdtFaults& f) {
    return out << "index " << f.badIndex << ", orientation " << f.notCounterClockwise << ", order "
               << f.badOrder << ", edge twice " << f.edgeTwice << ", constraint missing "
               << f.constraintMissing << ", not Delaunay " << f.notDelaunay;
}

inline CdtFaults CheckCdt(const CdtRun& run, const std::vector<Segment>& segments) {
    CdtFaults faults;
    const int n = static_cast<int>(run.vertices.size());
    std::map<std::pair<int, int>, int> opposite;  // directed edge -> third corner
    int previous = 0;
    for (const geom::CTriangle& t : run.triangles) {
        const int c[3] = {t.i1, t.i2, t.i3};
        if (std::any_of(c, c + 3, [&](int i) { return i < 0 || i >= n; })) {
            ++faults.badIndex;
            continue;
        }
        if (!(t.i1 < t.i2 && t.i1 < t.i3) || t.i1 < previous) {
            ++faults.badOrder;
        }
        previous = t.i1;
        if (exact::ExactOrient(At(run.vertices[t.i1]), At(run.vertices[t.i2]),
                               At(run.vertices[t.i3])) <= 0) {
            ++faults.notCounterClockwise;
        }
        for (int i = 0; i < 3; ++i) {
            if (!opposite.emplace(std::make_pair(c[(i + 1) % 3], c[(i + 2) % 3]), c[i]).second) {
                ++faults.edgeTwice;
            }
        }
    }
    // Constraint edges: between consecutive vertices exactly on each segment.
    std::set<std::pair<int, int>> fixed;
    for (const Segment& s : segments) {
        std::vector<std::pair<double, int>> on;
        for (int k = 0; k < n; ++k) {
            const CVertex& v = run.vertices[k];
            if (exact::ExactOrient(At(s.p), At(s.q), At(v)) == 0 && std::min(s.p.x, s.q.x) <= v.x &&
                v.x <= std::max(s.p.x, s.q.x) && std::min(s.p.y, s.q.y) <= v.y &&
                v.y <= std::max(s.p.y, s.q.y)) {
                const double along =
                    (v.x - s.p.x) * (s.q.x - s.p.x) + (v.y - s.p.y) * (s.q.y - s.p.y);
                on.emplace_back(along, k);
            }
        }
        std::sort(on.begin(), on.end());
        for (std::size_t k = 0; k + 1 < on.size(); ++k) {
            const int a = on[k].second;
            const int b = on[k + 1].second;
            fixed.emplace(std::min(a, b), std::max(a, b));
            if (!opposite.count({a, b}) && !opposite.count({b, a})) {
                ++faults.constraintMissing;
            }
        }
    }
    for (const auto& entry : opposite) {
        const int a = entry.first.first;
        const int b = entry.first.second;
        const auto twin = opposite.find({b, a});
        if (a > b || twin == opposite.end() || fixed.count({a, b})) {
            continue;
        }
        if (exact::ExactInCircle(At(run.vertices[a]), At(run.vertices[b]),
                                 At(run.vertices[entry.second]),
                                 At(run.vertices[twin->second])) > 0) {
            ++faults.notDelaunay;
        }
    }
    return faults;
}

}  // namespace cdttest
