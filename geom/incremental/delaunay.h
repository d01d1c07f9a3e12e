// CDelaunay: the incremental Delaunay triangulator behind the AutoLISP function `triangulate`.
//
// Use: construct, AddPoint(x, y, z) for every point, then Triangulate(). Only x and y enter the
// triangulation; z is carried into the corner copies.
//
// Triangulate() sorts the point store by x, then y (SortPoints), inserts the points one at a
// time into an enclosing triangle (of a run of equal plan positions only the last one) and gives
// the triangles that touch no corner of the enclosing triangle. Indices are positions in the
// sorted store; the corner order is (cavity edge start, cavity edge end, inserted point), without
// reorientation. Every decision is taken exactly (a point on a circle counts as inside it), so
// the triangles never overlap, all run counter-clockwise and none is flat, at any scale of the
// data. The three enclosing corners are appended to the store during the run, so PointCount()
// is then three higher. Points on one line or at one plan position give no triangles; so does a
// store with a coordinate that is not finite. Points so far out that the enclosing triangle
// overflows are triangulated as a copy scaled by a power of two (the same exact decisions; the
// store keeps the overflowed corners, the triangles carry no circles); when that scaling is not
// exact (a plan coordinate so small that dividing it by 16 rounds it), they give no triangles.
// Nothing is thrown or printed: a run that cannot get its working memory gives no triangles, and
// one that cannot get its sort scratch gives the previous run's result again.
#pragma once

#include <cstdint>
#include <vector>

#include "geom/kernel/triangle.h"
#include "geom/kernel/vertex.h"

namespace geom {

class CDelaunay {
public:
    // Room for this many points on construction; the store grows by the same step.
    static constexpr std::int32_t kStoreStep = 1000;

    CDelaunay();
    virtual ~CDelaunay();

    // Stores (x, y, z) with w zero and gives 1; gives 0 and stores nothing when the store cannot
    // grow.
    int AddPoint(double x, double y, double z);

    // A copy of the triangles of this run.
    std::vector<CTriangle> Triangulate();

    // The point store: its size is the room, the first PointCount() records are the points.
    const std::vector<CVertex>& PointStore() const { return pointStore; }
    std::int32_t PointCount() const { return pointCount; }
    double Tolerance() const { return tolerance; }

private:
    bool InsertPoints();
    bool MakeSuperTriangle();
    bool EnclosesAll() const;
    bool EnclosesOnlyBeyondOverflow() const;
    bool InsertScaledPoints();

    std::vector<CVertex> pointStore;
    std::vector<CTriangle> result;
    std::int32_t pointCount = 0;
    double tolerance = 1e-6;
};

}  // namespace geom
