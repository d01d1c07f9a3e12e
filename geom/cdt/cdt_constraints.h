// CdtConstraints: puts constraint segments into a CdtMesh as unions of its edges, keeping the
// triangulation constrained Delaunay, and keeps a record of every constraint edge.
//
// Input: the mesh and the table of the lines' segments (CdtLineSegment: plan ends, elevations,
// line number, whether the line is a boundary, whether it only clips). Insert(a, b, segment, outer,
// hole) makes the straight way from vertex a to vertex b a chain of constraint edges:
// - a vertex that lies exactly on the way splits it there;
// - unconstrained edges that cross the way are flipped away (Sloan), and the edges made by the
//   flips are then made constrained Delaunay by further flips;
// - a constraint edge that crosses the way gets a new vertex at the crossing (computed in floating
//   point and inserted into the mesh); both constraints then run through that vertex. When both
//   belong to boundaries, Insert throws a GeometryError kBoundariesCross with the crossing as its
//   position.
// `outer` and `hole` are the steps of the outer-boundary and hole winding numbers met when
// crossing the way from its right to its left side.
//
// Output: records, keyed by CdtEdgeKey(lower vertex, higher vertex): the winding steps for
// crossing the edge from the right to the left of lower -> higher, and the segments (owners) the
// edge lies on.
#pragma once

#include <cstdint>
#include <vector>

#include "geom/cdt/cdt_constraint_table.h"
#include "geom/cdt/cdt_mesh.h"

namespace geom {

struct CdtLineSegment {
    PlanPoint p;
    PlanPoint q;
    double zp;
    double zq;
    std::uint32_t line;
    bool boundary;
    bool clipOnly;  // a boundary that gives no elevations along its segments
};

class CdtConstraints {
public:
    CdtConstraints(CdtMesh& mesh, const std::vector<CdtLineSegment>& segments);

    void Insert(std::uint32_t a, std::uint32_t b, std::uint32_t segment, int outer, int hole);

    CdtConstraintTable records;

private:
    // A stretch still to be made constrained, with its record oriented from a to b.
    struct Piece {
        std::uint32_t a;
        std::uint32_t b;
        CdtConstraint record;
    };

    void InsertPiece(const Piece& piece);
    bool FirstStep(std::uint32_t a, std::uint32_t b, std::uint32_t& along, CdtEdge& crossed) const;
    void Fix(std::uint32_t a, std::uint32_t w, const CdtConstraint& record);
    CdtConstraint Unfix(const CdtEdge& e, std::uint32_t p, std::uint32_t q);
    CdtConstraint TakeRecord(std::uint32_t p, std::uint32_t q);
    bool OnBoundary(const CdtConstraint& record) const;
    void SplitAtCrossing(const Piece& piece, const CdtEdge& e);
    void FlipAway(std::uint32_t a, std::uint32_t end, std::vector<CdtEdgeName>& crossed);

    CdtMesh& mesh_;
    const std::vector<CdtLineSegment>& segments_;
    std::uint64_t crossingsLeft_;
    // Working lists, kept between pieces so that their room is had once.
    std::vector<Piece> work_;
    std::vector<CdtEdgeName> crossed_;
    std::vector<CdtEdgeName> queue_;
};

}  // namespace geom
