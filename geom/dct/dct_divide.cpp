// The divide-and-conquer part of CDCT::Triangulate. DivideRange triangulates a range of the
// sorted vertices: two or three vertices directly, more by splitting the range in two halves,
// triangulating each and merging them with MergeHalves, which starts at the lower common
// tangent of the halves (FindLowerTangent) and zips them together upwards, deleting the edges of
// either half that are no longer Delaunay.
//
// The loops work on a local copy of the edge rings (DctMesh) and hand the count of spare edges
// back when done.
#include "geom/dct/dct.h"
#include "geom/kernel/merge_predicates.h"

namespace geom {

CDCT::HullEnds CDCT::DivideRange(std::uint32_t l, std::uint32_t r) {
    if (r - l < 3) {
        return TriangulateSmallRange(l, r);
    }
    const std::uint32_t mid = (l + r) / 2;
    HullEnds left = DivideRange(l, mid);
    HullEnds right = DivideRange(mid + 1, r);
    const double yMin = left.yMin < right.yMin ? left.yMin : right.yMin;
    const double yMax = left.yMax > right.yMax ? left.yMax : right.yMax;
    // The vertices are sorted by x, so x spans from the first vertex to the last.
    const MergeBounds bounds = BoundsOfSpan(points[r].x - points[l].x, yMax - yMin);
    const std::uint32_t t = MergeHalves(left.last, right.first, bounds);
    if (edges[DctOriginEnd(t)].vertex == l) {
        left.first = DctOriginEnd(t);
    }
    if (edges[DctDestinationEnd(t)].vertex == r) {
        right.last = DctDestinationEnd(t);
    }
    return {left.first, right.last, yMin, yMax};
}

// Two vertices: one edge. Three: a chain, closed to a triangle unless the three lie on a line.
CDCT::HullEnds CDCT::TriangulateSmallRange(std::uint32_t l, std::uint32_t r) {
    DctMesh mesh = Mesh();
    HullEnds hull;
    double yMin = points[l].y;
    double yMax = yMin;
    for (std::uint32_t k = l + 1; k <= r; ++k) {
        yMin = points[k].y < yMin ? points[k].y : yMin;
        yMax = points[k].y > yMax ? points[k].y : yMax;
    }
    if (r - l == 1) {
        const std::uint32_t e = mesh.MakeEdge(l, r);
        hull = {DctOriginEnd(e), DctDestinationEnd(e), yMin, yMax};
    } else {
        const std::uint32_t a = mesh.MakeEdge(l, l + 1);
        const std::uint32_t b = mesh.MakeEdge(l + 1, r);
        mesh.SpliceEdge(DctDestinationEnd(a), DctOriginEnd(b));
        const int c = Orient(mesh.Point(l), mesh.Point(l + 1), mesh.Point(r));
        hull = {DctOriginEnd(a), DctDestinationEnd(b), yMin, yMax};
        if (c > 0) {
            mesh.ConnectEdges(DctOriginEnd(a), DctDestinationEnd(b), DctMesh::Right);
        } else if (c < 0) {
            const std::uint32_t e =
                mesh.ConnectEdges(DctOriginEnd(a), DctDestinationEnd(b), DctMesh::Left);
            hull = {DctOriginEnd(e), DctDestinationEnd(e), yMin, yMax};
        }
    }
    spare = mesh.Spare();
    return hull;
}

// l: end at lo of the left half's clockwise hull edge; r: end at ro of the right half's
// counter-clockwise hull edge. Both walk down their hulls until the line lo-ro has no vertex
// of either hull edge below it.
inline void CDCT::FindLowerTangent(const DctMesh& mesh, std::uint32_t& l, std::uint32_t& r,
                                   double bound) {
    std::uint32_t lo = mesh.VertexOf(l);
    std::uint32_t ld = mesh.VertexOf(l ^ 1u);
    std::uint32_t ro = mesh.VertexOf(r);
    std::uint32_t rd = mesh.VertexOf(r ^ 1u);
    for (;;) {
        if (OrientWithin(mesh.Point(lo), mesh.Point(ld), mesh.Point(ro), bound) > 0) {
            l = mesh.Prev(l ^ 1u);
            lo = ld;
            ld = mesh.VertexOf(l ^ 1u);
        } else if (OrientWithin(mesh.Point(ro), mesh.Point(rd), mesh.Point(lo), bound) < 0) {
            r = mesh.Next(r ^ 1u);
            ro = rd;
            rd = mesh.VertexOf(r ^ 1u);
        } else {
            return;
        }
    }
}

std::uint32_t CDCT::MergeHalves(std::uint32_t lr, std::uint32_t rl, const MergeBounds& bounds) {
    DctMesh mesh = Mesh();
    FindLowerTangent(mesh, lr, rl, bounds.above);
    const std::uint32_t first = mesh.ConnectEdges(lr, rl, DctMesh::Right);
    const double aboveBound = bounds.above;
    const double cotBound = bounds.cot;
    // The base edge runs from o (left) to d (right), its ends there are baseO and baseD. lc is
    // the end at o of the left candidate edge (the next edge around o), rc the end at d of the
    // right candidate edge (the previous edge around d).
    std::uint32_t baseO = DctOriginEnd(first);
    std::uint32_t baseD = DctDestinationEnd(first);
    std::uint32_t lc = mesh.Next(baseO);
    std::uint32_t rc = mesh.Prev(baseD);
    const PlanPoint* oAt = &mesh.Point(mesh.VertexOf(baseO));
    const PlanPoint* dAt = &mesh.Point(mesh.VertexOf(baseD));
    PlanPoint o = *oAt;
    PlanPoint d = *dAt;
    // Whether candidate c lies strictly above the base, and whether candidate p sees the base
    // under a strictly smaller angle than q.
    const auto above = [&](const MergeCandidate& c) { return AboveBase(c, oAt, dAt, aboveBound); };
    const auto cotGreater = [&](const MergeCandidate& p, const MergeCandidate& q) {
        return CotGreater(p, q, oAt, dAt, cotBound);
    };
    for (;;) {
        MergeCandidate cl = SeeBase(mesh.FarPoint(lc), o, d);
        MergeCandidate cr = SeeBase(mesh.FarPoint(rc), o, d);
        // The first contenders of both sides, looked up together: deleting edges on one side
        // changes nothing the other side reads.
        std::uint32_t nl = mesh.Next(lc);
        std::uint32_t nr = mesh.Prev(rc);
        MergeCandidate next = SeeBase(mesh.FarPoint(nl), o, d);
        const MergeCandidate nextRight = SeeBase(mesh.FarPoint(nr), o, d);
        const bool aboveL = above(cl);
        const bool aboveR = above(cr);
        if (!aboveL && !aboveR) {
            spare = mesh.Spare();
            return first;
        }
        // A candidate gives way to the next edge around the base end while that edge's far end
        // lies above the base and sees it under an angle at least as large.
        if (aboveL) {
            while (above(next) && !cotGreater(next, cl)) {
                mesh.DeleteEdge(DctEdgeOfEnd(lc));
                lc = nl;
                cl = next;
                nl = mesh.Next(lc);
                next = SeeBase(mesh.FarPoint(nl), o, d);
            }
        }
        if (aboveR) {
            next = nextRight;
            while (above(next) && !cotGreater(next, cr)) {
                mesh.DeleteEdge(DctEdgeOfEnd(rc));
                rc = nr;
                cr = next;
                nr = mesh.Prev(rc);
                next = SeeBase(mesh.FarPoint(nr), o, d);
            }
        }
        // The side whose candidate sees the base under the larger angle gives the new base;
        // ties go left. The other side's candidate stays.
        if (aboveL && !(aboveR && cotGreater(cl, cr))) {
            const std::uint32_t far = lc ^ 1u;
            const std::uint32_t afterFar = mesh.Next(far);
            const std::uint32_t e = mesh.ConnectEdges(far, baseD, DctMesh::Right);
            baseO = DctOriginEnd(e);
            baseD = DctDestinationEnd(e);
            lc = afterFar;
            oAt = cl.vertex;
            o = *oAt;
        } else {
            const std::uint32_t far = rc ^ 1u;
            const std::uint32_t beforeFar = mesh.Prev(far);
            const std::uint32_t e = mesh.ConnectEdges(baseO, far, DctMesh::Right);
            baseO = DctOriginEnd(e);
            baseD = DctDestinationEnd(e);
            rc = beforeFar;
            dAt = cr.vertex;
            d = *dAt;
        }
    }
}

}  // namespace geom
