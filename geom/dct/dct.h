// CDCT: divide-and-conquer Delaunay triangulation of survey points over their plan positions.
//
// Use: construct, AddPoint(x, y, z) for every point, Triangulate() once, then GetVertices().
// Only x and y enter the triangulation; z is carried through.
//
// Triangulate() gives the triangles as indices into the list GetVertices() gives, each
// counter-clockwise with i1 its lowest index, grouped by i1 in ascending order and, within one
// i1, in counter-clockwise order around that vertex starting from the vertex's entry edge. The
// points are sorted by x, then y (SortPoints); of several points at one plan position only the
// last of their run in the sorted store survives, with its z. Points all on one line give no
// triangles.
//
// Failures are thrown as a GeometryError (geometry_error.h), by the constructor too:
//   kStoreShort        the point store or the sort scratch is short
//   kWorkspaceShort    the triangulation workspace cannot be had
//   kTooFewVertices    fewer than three distinct plan positions
//   kEdgesShort        the spare edge records ran out
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "geom/dct/dct_mesh.h"
#include "geom/dct/dct_point_store.h"
#include "geom/dct/dct_records.h"
#include "geom/dct/dct_sort_order.h"
#include "geom/kernel/large_allocation.h"
#include "geom/kernel/merge_predicates.h"
#include "geom/kernel/triangle.h"
#include "geom/kernel/vertex.h"

namespace geom {

class CDCT {
public:
    CDCT();
    virtual ~CDCT();
    CDCT(const CDCT&) = delete;
    CDCT& operator=(const CDCT&) = delete;

    // Stores the point at the end of the point store; gives 1.
    int AddPoint(double x, double y, double z);

    // The i-th point added (from 0; after DropRepeatedPositions, of those kept), i below the
    // points added, before Triangulate().
    const DctStoredPoint& AddedPoint(std::uint32_t i) const { return pointStore[i]; }

    // Leaves out every point added so far at the plan position of an earlier one, keeping the
    // first point at each position: the store then holds the rest in the order they were added,
    // as if the others had never been added. Gives how many it left out. For callers that report
    // repeated positions: it sorts the points as Triangulate() does, and Triangulate() takes that
    // order on, merging in the points added after it, when they are no more than `morePoints`
    // (no second sort). Leaves out nothing, and gives 0, when a coordinate is not finite.
    std::uint32_t DropRepeatedPositions(std::uint32_t morePoints);

    // Sorts the point store in place and triangulates the distinct plan positions.
    std::vector<CTriangle> Triangulate();

    // The stored points in store order, each run of equal plan positions given once by its last
    // point (w = 0). After Triangulate() this is the vertex list the triangles refer to.
    std::vector<CVertex> GetVertices() const;

    // For engines built on this triangulation: when set, Triangulate() hands the finished edge
    // rings (DctRings: the distinct vertices in sorted order and the edge ends, in the run's own
    // arrays, valid during the call) to the reader in place of listing triangles, and gives an
    // empty list.
    using RingReader = std::function<void(const DctRings& rings)>;
    void SetRingReader(RingReader reader) { ringReader = std::move(reader); }

private:
    // Hull edge ends of a triangulated range: the counter-clockwise hull edge at the first
    // (leftmost) vertex and the clockwise hull edge at the last (rightmost) vertex.
    // yMin and yMax: the range of y over the range's vertices.
    struct HullEnds {
        std::uint32_t first;
        std::uint32_t last;
        double yMin;
        double yMax;
    };

    void PutStoreInOrder();
    void SortKeys(SortedKey* keys, std::uint32_t sortedCount);
    bool MergeAddedKeys(SortedKey* keys, std::uint32_t sortedCount);
    void KeepFirstKeys(SortedKey* keys, const std::vector<std::uint64_t>& dropped);
    std::uint32_t CollectVertices(const SortedKey* keys);
    void ReleaseVertices();
    void PlaceWorkspace();
    std::size_t RoomWritten() const;
    void FreeWorkspace();
    DctMesh Mesh() { return DctMesh(points, entries, edges, spare); }

    HullEnds DivideRange(std::uint32_t l, std::uint32_t r);
    HullEnds TriangulateSmallRange(std::uint32_t l, std::uint32_t r);
    static void FindLowerTangent(const DctMesh& mesh, std::uint32_t& l, std::uint32_t& r,
                                 double bound);
    std::uint32_t MergeHalves(std::uint32_t lr, std::uint32_t rl, const MergeBounds& bounds);
    std::size_t ListTriangles(double bound, bool exact);
    void ExtractTriangles(std::size_t count);
    void ReadRings();

    DctPointStore pointStore;
    std::vector<CTriangle> result;
    std::uint32_t pointCount = 0;
    // The store in sorted order: position k holds store record sortedOrder[k]. Empty when the
    // records themselves are in order. The records are moved only when the store is needed again.
    std::vector<std::uint32_t> sortedOrder;
    // Keys of the first `presorted` points, sorted by DropRepeatedPositions at the start of the
    // result's room (0: none).
    std::uint32_t presorted = 0;
    // The vertices of the last run: the distinct plan positions in sorted order, and their
    // elevations.
    std::uint32_t vertexCount = 0;
    bool finite = false;  // every coordinate of the last run's points is finite
    LargeBlock pointBlock;
    LargeBlock elevationBlock;
    PlanPoint* points = nullptr;
    double* elevations = nullptr;
    // Workspace of one run, placed in the room reserved for the result list (PlaceWorkspace):
    // each vertex's entry end, the edge ends (two per edge record), the spare edge records, and
    // the triangles found, as vertex numbers.
    std::uint32_t* entries = nullptr;
    DctEdgeEnd* edges = nullptr;
    DctSpareEdges spare{kDctNone};
    DctTriangleCorners* corners = nullptr;
    RingReader ringReader;
};

}  // namespace geom
