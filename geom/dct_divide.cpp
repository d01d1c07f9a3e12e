// The divide-and-conquer part of CDCT::Triangulate: DivideRange triangulates a range of the
// sorted vertices by splitting it in two halves, triangulating each and merging them with
// MergeHalves, which starts at the lower common tangent (FindLowerTangent) and zips the halves
// together upwards, deleting the edges of either half that are no longer Delaunay.
#include "geom/dct.h"
#include "geom/dct_edges.h"
#include "geom/dct_predicates.h"

namespace geom {

CDCT::HullEnds CDCT::DivideRange(std::uint32_t l, std::uint32_t r) {
    if (r - l == 1) {
        const std::uint32_t e = MakeEdge(l, r);
        return {DctOriginEnd(e), DctDestinationEnd(e)};
    }
    if (r - l == 2) {
        const std::uint32_t a = MakeEdge(l, l + 1);
        const std::uint32_t b = MakeEdge(l + 1, r);
        SpliceEdge(DctDestinationEnd(a), DctOriginEnd(b));
        const double c = DctOrient(vertices[l], vertices[l + 1], vertices[r]);
        if (c > 0) {
            ConnectEdges(DctOriginEnd(a), DctDestinationEnd(b), Right);
        } else if (c < 0) {
            const std::uint32_t e = ConnectEdges(DctOriginEnd(a), DctDestinationEnd(b), Left);
            return {DctOriginEnd(e), DctDestinationEnd(e)};
        }
        return {DctOriginEnd(a), DctDestinationEnd(b)};
    }
    const std::uint32_t mid = (l + r) / 2;
    HullEnds left = DivideRange(l, mid);
    const HullEnds right = DivideRange(mid + 1, r);
    const std::uint32_t t = MergeHalves(left.last, right.first);
    if (VertexOf(DctOriginEnd(t)) == l) {
        left.first = DctOriginEnd(t);
    }
    return {left.first, VertexOf(DctDestinationEnd(t)) == r ? DctDestinationEnd(t) : right.last};
}

void CDCT::FindLowerTangent(std::uint32_t& l, std::uint32_t& r) {
    std::uint32_t lo = VertexOf(l);
    std::uint32_t ld = VertexOf(l ^ 1u);
    std::uint32_t ro = VertexOf(r);
    std::uint32_t rd = VertexOf(r ^ 1u);
    for (;;) {
        if (DctOrient(vertices[lo], vertices[ld], vertices[ro]) > 0) {
            l = Prev(l ^ 1u);
            lo = ld;
            ld = VertexOf(l ^ 1u);
        } else if (DctOrient(vertices[ro], vertices[rd], vertices[lo]) < 0) {
            r = Next(r ^ 1u);
            ro = rd;
            rd = VertexOf(r ^ 1u);
        } else {
            return;
        }
    }
}

std::uint32_t CDCT::MergeHalves(std::uint32_t lr, std::uint32_t rl) {
    FindLowerTangent(lr, rl);
    const std::uint32_t first = ConnectEdges(lr, rl, Right);
    // The base edge runs from o (left) to d (right); its ends there are baseO and baseD.
    std::uint32_t baseO = DctOriginEnd(first);
    std::uint32_t baseD = DctDestinationEnd(first);
    for (;;) {
        const DctVertex& o = vertices[VertexOf(baseO)];
        const DctVertex& d = vertices[VertexOf(baseD)];
        std::uint32_t lc = Next(baseO);
        std::uint32_t rc = Prev(baseD);
        const DctVertex& dl = vertices[VertexOf(lc ^ 1u)];
        const DctVertex& dr = vertices[VertexOf(rc ^ 1u)];
        const double orientL = DctOrient(dl, o, d);
        const double orientR = DctOrient(dr, o, d);
        const bool aboveL = orientL > 0;
        const bool aboveR = orientR > 0;
        if (!aboveL && !aboveR) {
            return first;
        }
        // Candidates on each side: the next edge around the base end replaces the current one
        // while its far end sees the base under an angle at least as large.
        double cl = 0.0;
        double cr = 0.0;
        if (aboveL) {
            cl = DctCotangent(dl, o, d, orientL);
            for (;;) {
                const std::uint32_t n = Next(lc);
                const DctVertex& c = vertices[VertexOf(n ^ 1u)];
                const double orient = DctOrient(c, o, d);
                if (!(orient > 0)) {
                    break;
                }
                const double k = DctCotangent(c, o, d, orient);
                if (k > cl) {
                    break;
                }
                DeleteEdge(DctEdgeOfEnd(lc));
                lc = n;
                cl = k;
            }
        }
        if (aboveR) {
            cr = DctCotangent(dr, o, d, orientR);
            for (;;) {
                const std::uint32_t n = Prev(rc);
                const DctVertex& c = vertices[VertexOf(n ^ 1u)];
                const double orient = DctOrient(c, o, d);
                if (!(orient > 0)) {
                    break;
                }
                const double k = DctCotangent(c, o, d, orient);
                if (k > cr) {
                    break;
                }
                DeleteEdge(DctEdgeOfEnd(rc));
                rc = n;
                cr = k;
            }
        }
        // The side whose candidate sees the base under the larger angle wins; ties go left.
        std::uint32_t e;
        if (aboveL && !(aboveR && cl > cr)) {
            e = ConnectEdges(lc ^ 1u, baseD, Right);
        } else {
            e = ConnectEdges(baseO, rc ^ 1u, Right);
        }
        baseO = DctOriginEnd(e);
        baseD = DctDestinationEnd(e);
    }
}

}  // namespace geom
