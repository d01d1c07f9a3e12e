// CConstrainedDCT: constrained Delaunay triangulation of survey points with breaklines, an outer
// boundary, holes and a maximum edge length, built on CDCT.
//
// Use: construct; SetSnapTolerance when wanted; AddPoint(x, y, z) for every survey point;
// AddBreakline, SetOuterBoundary, AddHole and SetMaxEdgeLength as needed; Triangulate() once,
// then GetVertices() (and SnapCounts()).
//
// Input:
// - breaklines: polylines of 3D vertices. Their vertices become surface vertices and their
//   segments unions of triangle edges;
// - the outer boundary and the holes: closed polygons (the closing vertex may be repeated or
//   not), in either orientation, concave allowed. Their vertices become surface vertices, their
//   edges surface edges; nothing outside the outer boundary or inside a hole is triangulated.
//   A boundary's vertices keep their own z (CdtBoundaryElevation::Own), or clip only and take the
//   surface's (FromSurface): the elevation that the triangulation of the survey points and the
//   breaklines alone has there (CdtSurfaceElevations; outside it, that of its nearest outer
//   edge). When those make no triangle, such a boundary keeps its own z. A FromSurface boundary
//   gives no elevation to the other vertices on its edges;
// - the snap tolerance (0: none): near-duplicate survey points and line vertices are joined
//   first (CdtSnap: line vertices to earlier line vertices, survey points onto the lines, survey
//   points to earlier points); SnapCounts() gives what moved. Set it before the first AddPoint:
//   until then the points are kept for the snap, after that they go straight to CDCT;
// - the maximum edge length (0: none): triangles on the outside of the surface whose edge on the
//   outside is longer are removed, from the outside inwards, as long as that edge is no
//   breakline or boundary edge. Hole rims are not the outside: no hole is opened or widened.
//
// Output, as CDCT's: Triangulate() gives triangles indexing the list GetVertices() gives, each
// counter-clockwise and not flat, with i1 its lowest index, grouped by i1 in ascending order.
// The vertex list holds the vertices the triangles use, sorted by x, then y. Without lines,
// without a maximum edge length and without a snap tolerance, both lists are exactly CDCT's for
// the same points: such a run is CDCT's alone, at CDCT's cost.
//
// Guarantees: every breakline and boundary segment is a union of triangle edges; every other edge
// is locally Delaunay in the constrained sense (decided with exact predicates).
//
// How the hard cases are decided:
// - Breaklines that cross: the crossing becomes a vertex, its elevation the mean of the
//   breaklines' elevations there (each interpolated linearly along its segment by plan
//   distance): neither line is preferred, and the result does not depend on their order.
//   A crossing that rounds to within 2^-40 of the size of the crossing lines' end coordinates
//   (under a micrometre at survey coordinates) of a vertex is that vertex, so that nearly
//   concurrent lines settle.
// - A breakline vertex at the plan position of a survey point: one vertex, with the breakline's z
//   (lines are the surveyor's explicit statement of the surface there).
// - A survey point or a line vertex exactly on a breakline segment: the segment runs through it
//   and the vertex takes the breakline's elevation there (the mean with its own when it is a
//   vertex of another breakline).
// - Overlapping collinear breaklines: the overlap is one chain of edges; where they give
//   different elevations at a vertex, the mean.
// - Zero-length segments and repeated vertices: skipped; of one line's vertices at one plan
//   position with different z (a wall), the mean. A line giving the same elevation at a vertex
//   more than once counts once.
// - Breaklines and boundaries reaching outside the point cloud: their vertices join the surface.
// - Boundary elevations: boundary vertices keep their own z unless a breakline passes there;
//   they win over survey points. Where a breakline crosses a boundary, the crossing takes the
//   breakline's elevation.
// - Boundary segments that cross (of one boundary or of two) where no vertex is: refused, and
//   FailurePosition() gives the crossing. Boundaries that meet at vertices or share edges are
//   accepted; the surface is then where the outer boundary's winding number is not zero and
//   every hole's is.
// - A hole outside the outer boundary: accepted; it hides nothing, and its vertices are not in
//   the result.
// - A boundary with fewer than three distinct vertices, or all on one line: refused.
// - Coordinates (x, y or z of any point or line vertex), a maximum edge length or a snap
//   tolerance that are not finite, or a negative maximum edge length or snap tolerance: refused.
//
// Failures are thrown as a GeometryError (geometry_error.h), as CDCT's are; CDCT's own failures
// (kTooFewVertices, ...) pass through unchanged:
//   kNotFinite              coordinates or a maximum edge length that are not finite
//   kBadSnapTolerance       a snap tolerance that is not finite or is negative
//   kBadEdgeLength          a negative maximum edge length
//   kBadBoundary            a boundary with fewer than 3 distinct vertices, or all on one line
//   kBoundariesCross        boundaries crossing, with the crossing as the error's position
//   kNothingLeft            no triangle left inside the boundaries
//   kAllTrimmed             nothing left, without boundaries, after trimming long edges
//   kConstraintsUnresolved  a safeguard against rounding going round in circles (not met in
//                           the tests)
//   kTriangulatedOnce       AddPoint or Triangulate after a run: the points went to CDCT, whose
//                           work is done
//   kWorkspaceShort         memory short
#pragma once

#include <memory>
#include <vector>

#include "geom/cdt/cdt_constraints.h"
#include "geom/cdt/cdt_elevations.h"
#include "geom/cdt/cdt_mesh.h"
#include "geom/cdt/cdt_snap.h"
#include "geom/dct/dct.h"
#include "geom/kernel/triangle.h"
#include "geom/kernel/vertex.h"

namespace geom {

enum class CdtBoundaryElevation { Own, FromSurface };

class CConstrainedDCT {
public:
    CConstrainedDCT();
    virtual ~CConstrainedDCT();
    CConstrainedDCT(const CConstrainedDCT&) = delete;
    CConstrainedDCT& operator=(const CConstrainedDCT&) = delete;

    // Stores the survey point; gives 1. Points with a coordinate that is no finite number are not
    // stored (Triangulate() then fails).
    int AddPoint(double x, double y, double z);
    // The points stored so far, and the n-th of them (from 0, n below that), before
    // Triangulate().
    std::size_t StoredCount() const { return pointCount_; }
    CVertex StoredPoint(std::size_t n) const;
    // Leaves out every point stored so far at the plan position of an earlier one, keeping the
    // first (the rest keep their order, as if the others had not been added); gives how many it
    // left out. Without a snap tolerance this is CDCT's sort of the points, which Triangulate()
    // then takes on: add the lines first, so that their vertices are merged into it.
    std::size_t DropRepeatedPoints();
    void AddBreakline(const std::vector<CVertex>& vertices);
    void SetOuterBoundary(const std::vector<CVertex>& vertices,
                          CdtBoundaryElevation elevation = CdtBoundaryElevation::Own);
    void AddHole(const std::vector<CVertex>& vertices,
                 CdtBoundaryElevation elevation = CdtBoundaryElevation::Own);
    void SetMaxEdgeLength(double length);
    void SetSnapTolerance(double tolerance) { snapTolerance_ = tolerance; }
    const CdtSnapCounts& SnapCounts() const { return snapCounts_; }

    std::vector<CTriangle> Triangulate();
    const std::vector<CVertex>& GetVertices() const { return vertices_; }

    // Where the last failure happened, when it has a place (crossing boundaries).
    bool FailurePosition(double& x, double& y) const;

private:
    enum class LineKind { Breakline, Outer, Hole };
    struct Line {
        LineKind kind;
        std::vector<CVertex> vertices;
        bool fromSurface = false;
    };
    // The lines' vertices as mesh vertices, their segments, and each segment's two mesh vertices.
    struct LineSegments {
        std::vector<CdtLineVertex> vertices;
        std::vector<CdtLineSegment> segments;
        std::vector<std::uint32_t> ends;
    };

    std::vector<CTriangle> TriangulatePlain();
    void GatherPoints();
    void SnapInput(std::vector<Line>& lines);
    void TakeSurfaceElevations(std::vector<Line>& lines) const;
    using LineOrder = std::vector<const Line*>;
    static LineOrder LinesInOrder(const std::vector<Line>& source, std::vector<Line>& closed,
                                  bool& hasHoles);
    void TriangulatePoints(const LineOrder& lines, CdtMesh& mesh, std::vector<CTriangle>& room);
    static LineSegments SplitLines(const LineOrder& lines, const CdtLentArray<PlanPoint>& points,
                                   std::uint32_t sortedCount);
    void InsertLines(const LineOrder& lines, const LineSegments& split, const CdtMesh& mesh,
                     CdtConstraints& constraints);

    std::unique_ptr<CDCT> dct_;
    std::vector<CVertex> points_;  // the survey points, while a snap needs them together
    std::vector<Line> lines_;
    std::size_t pointCount_ = 0;
    double maxEdgeLength_ = 0.0;
    double snapTolerance_ = 0.0;
    CdtSnapCounts snapCounts_;
    bool hasOuter_ = false;
    bool notFinite_ = false;
    bool failed_ = false;
    double failureX_ = 0.0;
    double failureY_ = 0.0;
    std::vector<CVertex> vertices_;
};

}  // namespace geom
