// CProfileTracer: traces profiles (trace_profile.h) along many lines over one welded surface,
// so that what the lines share is found once.
//
// CProfileTracer(surface): lists the surface's boundary edges, where a line enters it.
// Trace(alignment, options, runs): appends the runs of one line's profile to runs, as
// TraceProfile describes. Throws std::bad_alloc when memory is short.
//
// The triangles a straight piece of the line meets are found by spreading from the triangle
// that holds its start, and from every boundary edge it meets, over the edges it meets; so the
// cost is that of the triangles along the line and the boundary's edges, besides a walk (or,
// where the walk fails, a search through the triangles) to a line's first point.
#pragma once

#include <cstdint>
#include <vector>

#include "geom/surface/trace_profile.h"

namespace geom {

class CProfileTracer {
public:
    explicit CProfileTracer(const WeldedSurface& surface);

    void Trace(const std::vector<PlanPoint>& alignment, const ProfileOptions& options,
               std::vector<ProfileRun>& runs);

private:
    struct Hit {
        double t;  // along the piece, 0 at its start, 1 at its end
        ProfilePoint point;
    };
    struct Span {
        double t0;
        double t1;
        std::int32_t triangle;
    };

    std::int32_t Locate(PlanPoint p) const;
    bool Holds(std::int32_t triangle, PlanPoint p) const;
    void Spread(PlanPoint a, PlanPoint b, std::int32_t start);
    void Collect(PlanPoint a, PlanPoint b, double station, double length);
    void AddIntervalStations(PlanPoint a, PlanPoint b, double station, double length,
                             double interval);
    double PlaneElevation(std::int32_t triangle, double x, double y) const;
    void Append(std::vector<ProfileRun>& runs, bool& open);

    const WeldedSurface& surface_;
    std::vector<std::int32_t> boundary_;  // triangle * 3 + corner of each boundary edge
    std::vector<std::int32_t> mark_;      // per triangle: the piece that last reached it
    std::int32_t piece_ = 0;
    std::vector<std::int32_t> met_;  // the triangles the piece at hand meets
    std::vector<Hit> hits_;
    std::vector<Span> spans_;
};

}  // namespace geom
