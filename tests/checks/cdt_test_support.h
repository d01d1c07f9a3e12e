// Helpers shared by the constrained triangulator's tests.
//
// CdtInput: survey points, breaklines, outer boundary, holes (each keeping its own z or taking
// the surface's), maximum edge length, snap tolerance.
// RunCdt(input): feeds a CConstrainedDCT and gives the triangles, the vertex list, or the failure
// text thrown (lines given first, then the points, with dropRepeats those at an earlier point's
// position then dropped). CheckCdt(run, segments): the faults of a result (hardgeom::MeshFaults),
// all zero for a valid constrained Delaunay triangulation of the listed constraint segments: a
// piece of a triangulation (hardgeom::CheckPiece) in the sorted triangulators' order, every
// constraint segment a chain of edges through the vertices exactly on it (where a triangle lies
// on either side of the piece), and every edge shared by
// two triangles and lying on no constraint locally Delaunay (exact).
#pragma once

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "dct_test_support.h"
#include "exact_predicates.h"
#include "geom/cdt/cdt.h"
#include "geom/kernel/geometry_error.h"
#include "hard_geometry_checks.h"

namespace cdttest {

using geom::CVertex;
using Polyline = std::vector<CVertex>;

struct CdtInput {
    std::vector<CVertex> points;
    std::vector<Polyline> breaklines;
    Polyline outer;
    std::vector<Polyline> holes;
    double maxEdgeLength = 0.0;
    geom::CdtBoundaryElevation boundaryElevation = geom::CdtBoundaryElevation::Own;
    double snapTolerance = 0.0;
    bool dropRepeats = false;  // points at an earlier point's position dropped before the run
};

struct CdtRun {
    std::vector<geom::CTriangle> triangles;
    std::vector<CVertex> vertices;
    std::string failure;
    geom::CdtSnapCounts snapped;
    std::size_t dropped = 0;  // repeats dropped
};

inline CdtRun RunCdt(const CdtInput& input) {
    CdtRun run;
    geom::CConstrainedDCT cdt;
    cdt.SetSnapTolerance(input.snapTolerance);
    for (const Polyline& line : input.breaklines) {
        cdt.AddBreakline(line);
    }
    if (!input.outer.empty()) {
        cdt.SetOuterBoundary(input.outer, input.boundaryElevation);
    }
    for (const Polyline& hole : input.holes) {
        cdt.AddHole(hole, input.boundaryElevation);
    }
    cdt.SetMaxEdgeLength(input.maxEdgeLength);
    for (const CVertex& p : input.points) {
        cdt.AddPoint(p.x, p.y, p.z);
    }
    try {
        run.dropped = input.dropRepeats ? cdt.DropRepeatedPoints() : 0;
        run.triangles = cdt.Triangulate();
    } catch (const geom::GeometryError& error) {
        run.failure = error.what();
        return run;
    }
    run.vertices = cdt.GetVertices();
    run.snapped = cdt.SnapCounts();
    return run;
}

using hardgeom::At;
using hardgeom::MeshFaults;

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

// Whether some triangle's interior meets the open segment from vertex a to vertex b (exact): a
// piece of a line that is not an edge is missing only then; with no triangle on either side
// (a hole's edge along the hull, say) no triangle has it, and none needs to.
inline bool SomeTriangleMeets(const CdtRun& run, int a, int b) {
    const exact::Point p = At(run.vertices[a]);
    const exact::Point q = At(run.vertices[b]);
    for (const geom::CTriangle& t : run.triangles) {
        const exact::Point c[3] = {At(run.vertices[t.i1]), At(run.vertices[t.i2]),
                                   At(run.vertices[t.i3])};
        // Apart when a line through an edge of either leaves the other wholly on one side.
        int above = 0;
        int below = 0;
        for (const exact::Point& corner : c) {
            const int side = exact::ExactOrient(p, q, corner);
            above += side > 0 ? 1 : 0;
            below += side < 0 ? 1 : 0;
        }
        bool apart = above == 0 || below == 0;
        for (int k = 0; k < 3 && !apart; ++k) {
            const exact::Point& u = c[k];
            const exact::Point& v = c[(k + 1) % 3];
            apart = exact::ExactOrient(u, v, p) <= 0 && exact::ExactOrient(u, v, q) <= 0;
        }
        if (!apart) {
            return true;
        }
    }
    return false;
}

inline hardgeom::MeshFaults CheckCdt(const CdtRun& run, const std::vector<Segment>& segments) {
    const int n = static_cast<int>(run.vertices.size());
    std::set<std::pair<int, int>> edges;  // lower index first
    for (const geom::CTriangle& t : run.triangles) {
        edges.emplace(std::minmax(t.i1, t.i2));
        edges.emplace(std::minmax(t.i2, t.i3));
        edges.emplace(std::minmax(t.i3, t.i1));
    }
    // Constraint edges: between consecutive vertices exactly on each segment.
    std::set<std::pair<int, int>> fixed;
    std::size_t missing = 0;
    for (const Segment& s : segments) {
        std::vector<std::pair<double, int>> on;
        for (int k = 0; k < n; ++k) {
            const CVertex& v = run.vertices[k];
            if (exact::ExactOrient(At(s.p), At(s.q), At(v)) == 0 && std::min(s.p.x, s.q.x) <= v.x &&
                v.x <= std::max(s.p.x, s.q.x) && std::min(s.p.y, s.q.y) <= v.y &&
                v.y <= std::max(s.p.y, s.q.y)) {
                // The order along the segment, exactly: by x, or by y on an upright segment
                // (a product of differences would round vertices a hair apart together).
                const double along =
                    s.p.x != s.q.x ? (s.p.x < s.q.x ? v.x : -v.x) : (s.p.y < s.q.y ? v.y : -v.y);
                on.emplace_back(along, k);
            }
        }
        std::sort(on.begin(), on.end());
        for (std::size_t k = 0; k + 1 < on.size(); ++k) {
            const std::pair<int, int> piece = std::minmax(on[k].second, on[k + 1].second);
            fixed.insert(piece);
            const bool cut =
                edges.count(piece) == 0 && SomeTriangleMeets(run, on[k].second, on[k + 1].second);
            missing += cut ? 1 : 0;
        }
    }
    const std::vector<hardgeom::Corners> corners = dcttest::IndexTriples(run.triangles);
    hardgeom::MeshFaults faults = hardgeom::CheckPiece(run.vertices, corners, fixed);
    faults.badOrder = hardgeom::CountBadOrder(corners);
    faults.constraintMissing = missing;
    return faults;
}

}  // namespace cdttest
