// Thinning a stream of survey points to a vertical tolerance, in memory for the points kept and a
// bounded number of points read at once; the points are read as often as needed.
//
// ThinStream(read, options): read(sink) hands every point, in the same order each time, to
// sink(x, y, z) and gives false when it fails (the run then ends, status ReadFailed); it is
// called once per pass.
// 1. The first pass counts the points, finds the corners of their convex hull and draws a sample
//    of options.budget / 4 of them (ThinFirstPass); while they number no more than
//    options.budget, it also keeps them all.
// 2. The starting surface is the constrained Delaunay triangulation of the hull's corners and the
//    lines' vertices (SeedThinning, ThinningTin). Flat boundaries and holes first take the
//    elevations of a rough surface: the hull's corners and the sample, thinned (beyond it, the
//    elevation of the nearest corner).
// 3. Points kept all: every point waits in the surface, and one greedy refinement leaves every
//    point within the tolerance (or in conflict): done, the points were read once.
// 4. Otherwise the sample refines the surface first. The sample's places on a Z-order curve over
//    the starting surface (ThinningTin::SpatialKey) cut the curve into bands of about three
//    quarters of options.budget points each; one pass per band keeps waiting every point of the
//    band, within the tolerance or not, and refines the surface with them as in step 3 (refining
//    early whenever options.budget points wait), then drops them.
// 5. Then checking passes: each offers every point as it is read. A point within half the
//    tolerance of the surface as it then is is dropped at once; the others wait. When
//    options.budget points wait, and at the end of the pass, the surface is refined until none of
//    them is beyond the tolerance, and they are dropped. A pass in which nothing was inserted has
//    checked every point against the final surface: every point was within the tolerance of it
//    (or in conflict) when it was dropped, and nothing changed after. Otherwise another pass
//    follows. Each pass must deliver as many points as the first (status Changed otherwise).
// Points that are every node of a regular grid (FindGridLattice), with no lines, are thinned on
// the grid instead (ThinGridLattice), read once, under the same claim.
// So the claim is exact: every point not kept lies within the tolerance of the resulting surface
// (ThinPlane), except the conflicts (points beyond it at the plan position of a kept point or on
// a line) and the points outside the boundaries, which the surface does not cover: both counted.
// The surface's breaklines and boundary edges are chains of its edges; nothing is flipped across
// them, and a point on one is never inserted (the line gives the surface there).
//
// Points with a coordinate that is not a finite number, or a tolerance that is negative or not
// finite: GeometryError kThinningBadInput. Points that span no area: kThinningNoArea. More than
// 2^32 - 2 points: kThinningBadInput. Boundaries refused as CConstrainedDCT refuses them: its
// GeometryError; nothing inside the boundaries: kNothingLeft.
#pragma once

#include <cstdint>
#include <functional>

#include "geom/thinning/thin_seed.h"
#include "geom/thinning/thinning_tin.h"

namespace geom {

using ThinPointSink = std::function<void(double x, double y, double z)>;
using ThinPointPass = std::function<bool(const ThinPointSink& sink)>;

struct ThinOptions {
    double tolerance = 0.0;
    // Points waiting at once: 2^24, 512 MiB of candidate records (a cloud of 10 million is
    // thinned in one go; one of 100 million streams).
    std::size_t budget = std::size_t{1} << 24;
    std::function<void()> tick;  // called now and then during refinement
    ThinLines lines;             // breaklines and boundaries
};

struct ThinStreamResult {
    enum class Status { Done, ReadFailed, Changed } status = Status::Done;
    ThinSurface surface;
    std::uint64_t read = 0;       // the points of one pass
    std::uint64_t kept = 0;       // the survey points among the surface's vertices
    std::uint64_t conflicts = 0;  // points beyond the tolerance at a kept point's position
    std::uint64_t outside = 0;    // points outside the boundaries
    int passes = 0;
    bool grid = false;  // the points were a whole regular grid, thinned on it (ThinGridLattice)
};

ThinStreamResult ThinStream(const ThinPointPass& read, const ThinOptions& options);

}  // namespace geom
