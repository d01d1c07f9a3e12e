#include "geom/cdt/cdt_mesh.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "geom/dct/dct_read_rings_ahead.h"
#include "geom/kernel/large_allocation.h"
#include "geom/kernel/merge_predicates.h"
#include "geom/kernel/predicates.h"

namespace geom {

// The triangles are the bounded faces of the rings, listed as CDCT lists them: for each vertex u
// in order, walking its ring counter-clockwise from its entry edge, the face between an edge to v
// and the next edge to w when u is the lowest of the three. Each edge end (its vertex -> the
// other end) names the face on its left; the neighbour across an edge is the face of its twin.
// As in CDCT's own listing, the rings of finite coordinates whose span the merge's arithmetic
// decided exactly form a planar triangulation, whose only face that is no counter-clockwise
// triangle, the outer one, can pass the closing test only from vertex 0: the orientation is
// tested there alone, and at every vertex otherwise.
void CdtMesh::Build(const DctRings& rings, std::size_t endCount, std::size_t spareVertices) {
    const std::uint32_t m = rings.m;
    const PlanPoint* const at = rings.points;
    const DctEdgeEnd* const ends = rings.ends;
    double yMin = HUGE_VAL;
    double yMax = -HUGE_VAL;
    bool finite = true;
    for (std::uint32_t u = 0; u < m; ++u) {
        yMin = std::min(yMin, at[u].y);
        yMax = std::max(yMax, at[u].y);
        finite = finite && std::isfinite(at[u].x) && std::isfinite(at[u].y);
    }
    const bool exact =
        finite && std::isfinite(BoundsOfSpan(at[m - 1].x - at[0].x, yMax - yMin).cot);
    const std::uint32_t testedBelow = exact ? 1 : m;
    // The triangles, the positions, each vertex's triangle and, per edge, the face listed first
    // at one of its two ends (each end names the face on its left, once): in the room CDCT lends
    // for the reader's work when they fit there, whose pages the result list takes later anyway.
    const std::size_t triangleRoom = 2 * static_cast<std::size_t>(m) + 2 * spareVertices;
    const std::size_t vertexRoom = m + spareVertices;
    const auto rounded = [](std::size_t bytes) { return (bytes + 7) / 8 * 8; };
    const std::size_t triangleBytes = rounded(triangleRoom * sizeof(CdtTriangle));
    const std::size_t pointBytes = rounded(vertexRoom * sizeof(PlanPoint));
    const std::size_t vertexTriangleBytes = rounded(vertexRoom * sizeof(std::uint32_t));
    const std::size_t zBytes = vertexRoom * sizeof(double);
    const std::size_t edgeCount = (endCount + 1) / 2;
    std::vector<std::uint32_t> ownFaceOf;
    std::uint32_t* faceOf = nullptr;
    unsigned char* const scratch = static_cast<unsigned char*>(rings.scratch);
    if (rings.scratchBytes >= triangleBytes + pointBytes + vertexTriangleBytes + zBytes +
                                  edgeCount * sizeof(std::uint32_t)) {
        unsigned char* next = scratch;
        triangles.Lend(DctStartArray<CdtTriangle>(next, triangleRoom), triangleRoom);
        next += triangleBytes;
        points.Lend(DctStartArray<PlanPoint>(next, vertexRoom), vertexRoom);
        next += pointBytes;
        vertexTriangle.Lend(DctStartArray<std::uint32_t>(next, vertexRoom), vertexRoom);
        next += vertexTriangleBytes;
        z.Lend(DctStartArray<double>(next, vertexRoom), vertexRoom);
        next += zBytes;
        faceOf = DctStartArray<std::uint32_t>(next, edgeCount);
        // All of it is written below: its pages made present at once rather than a fault each.
        const std::size_t lentBytes =
            static_cast<std::size_t>(next - scratch) + edgeCount * sizeof(std::uint32_t);
        PrepareRoomForWriting(scratch, lentBytes);
    } else {
        triangles = CdtLentArray<CdtTriangle>();
        triangles.reserve(triangleRoom);
        points = CdtLentArray<PlanPoint>();
        points.reserve(vertexRoom);
        vertexTriangle = CdtLentArray<std::uint32_t>();
        vertexTriangle.reserve(vertexRoom);
        z = CdtLentArray<double>();
        z.reserve(vertexRoom);
        ownFaceOf.resize(edgeCount);
        faceOf = ownFaceOf.data();
    }
    std::copy(at, at + m, points.Extend(m));
    std::copy(rings.z, rings.z + m, z.Extend(m));
    vertexTriangle.resize(m, kCdtNone);
    std::fill_n(faceOf, edgeCount, kCdtNone);
    // A planar triangulation of m vertices has fewer than 2m - 2 triangles (as in CDCT's own
    // listing, more means rings that are none).
    const std::uint32_t limit = 2 * m - 2;
    CdtTriangle* const listed = triangles.Extend(limit);
    std::uint32_t* const vertexTriangles = &vertexTriangle[0];
    std::uint32_t count = 0;
    // Names the new triangle's face at one of its edge ends and links it with the face at the
    // other end (the neighbour), when that one is already listed; otherwise the neighbour links
    // when it comes.
    const auto attach = [&](std::uint32_t end, std::uint32_t code) {
        std::uint32_t& slot = faceOf[end >> 1];
        const std::uint32_t twin = slot;
        if (twin == kCdtNone) {
            slot = code;
            return;
        }
        listed[code >> 2].n[code & 3u] = twin;
        listed[twin >> 2].n[twin & 3u] = code;
    };
    for (std::uint32_t u = 0; u < m; ++u) {
        if (u % kDctRingBatch == 0) {
            // The face table's entries of the rings' edges as well.
            DctReadRingsAhead(rings.entries, ends, u, std::min(kDctRingBatch, m - u),
                              [faceOf](std::uint32_t n) { return faceOf[n >> 1]; });
        }
        const std::uint32_t entry = rings.entries[u];
        const bool tested = u < testedBelow;
        std::uint32_t e = entry;
        do {
            const std::uint32_t n = ends[e].next;
            const std::uint32_t atV = ends[e ^ 1u].prev;  // the end at v of the edge to w, if any
            const std::uint32_t v = ends[e ^ 1u].vertex;
            const std::uint32_t w = ends[n ^ 1u].vertex;
            if (u < v && u < w && (ends[n ^ 1u].next >> 1) == (atV >> 1) &&
                (!tested || geom::Orient(at[u], at[v], at[w]) > 0)) {
                if (count == limit) {
                    throw std::bad_alloc();
                }
                const std::uint32_t t = count++;
                listed[t] = CdtTriangle{{u, v, w}, {kCdtNone, kCdtNone, kCdtNone}, 0};
                attach(atV, 4 * t + 0);
                attach(n ^ 1u, 4 * t + 1);
                attach(e, 4 * t + 2);
                vertexTriangles[u] = vertexTriangles[v] = vertexTriangles[w] = t;
            }
            e = n;
        } while (e != entry);
    }
    triangles.resize(count, CdtTriangle{});
}

const void* CdtMesh::LentEnd() const {
    const void* ends[4] = {triangles.LentEnd(), points.LentEnd(), vertexTriangle.LentEnd(),
                           z.LentEnd()};
    const void* last = nullptr;
    for (const void* end : ends) {
        if (end != nullptr && (last == nullptr || reinterpret_cast<std::uintptr_t>(end) >
                                                      reinterpret_cast<std::uintptr_t>(last))) {
            last = end;
        }
    }
    return last;
}

const void* CdtMesh::LentBegin() const {
    const std::pair<const void*, const void*> lists[4] = {
        {triangles.begin(), triangles.LentEnd()},
        {points.begin(), points.LentEnd()},
        {vertexTriangle.begin(), vertexTriangle.LentEnd()},
        {z.begin(), z.LentEnd()}};
    const void* first = nullptr;
    for (const auto& list : lists) {
        if (list.second != nullptr &&
            (first == nullptr || reinterpret_cast<std::uintptr_t>(list.first) <
                                     reinterpret_cast<std::uintptr_t>(first))) {
            first = list.first;
        }
    }
    return first;
}

void CdtMesh::SetFixed(const CdtEdge& e, bool fixed) {
    const std::uint8_t bit = static_cast<std::uint8_t>(1u << e.i);
    CdtTriangle& tri = triangles[e.t];
    tri.fixed = fixed ? (tri.fixed | bit) : (tri.fixed & ~bit);
    const std::uint32_t n = tri.n[e.i];
    if (n != kCdtNone) {
        const std::uint8_t otherBit = static_cast<std::uint8_t>(1u << (n & 3u));
        CdtTriangle& other = triangles[n >> 2];
        other.fixed = fixed ? (other.fixed | otherBit) : (other.fixed & ~otherBit);
    }
}

bool CdtMesh::FindEdge(std::uint32_t u, std::uint32_t w, CdtEdge& edge, std::uint32_t near) const {
    if (near != kCdtNone) {
        const CdtTriangle& tri = triangles[near];
        for (int i = 0; i < 3; ++i) {
            const std::uint32_t p = tri.v[CdtNext(i)];
            const std::uint32_t q = tri.v[CdtPrev(i)];
            if ((p == u && q == w) || (p == w && q == u)) {
                edge = {near, i};
                return true;
            }
        }
    }
    return AroundVertex(u, [&](std::uint32_t t, int i) {
        const CdtTriangle& tri = triangles[t];
        if (tri.v[CdtNext(i)] == w) {
            edge = {t, CdtPrev(i)};
            return true;
        }
        if (tri.v[CdtPrev(i)] == w) {
            edge = {t, CdtNext(i)};
            return true;
        }
        return false;
    });
}

// Sets the edge opposite corner i of t: its neighbour (4 * triangle + corner, or kCdtNone) and
// its constraint mark, on both sides.
void CdtMesh::Link(std::uint32_t t, int i, std::uint32_t neighbour, bool fixed) {
    const std::uint8_t bit = static_cast<std::uint8_t>(1u << i);
    CdtTriangle& tri = triangles[t];
    tri.n[i] = neighbour;
    tri.fixed = fixed ? (tri.fixed | bit) : (tri.fixed & ~bit);
    if (neighbour != kCdtNone) {
        CdtTriangle& other = triangles[neighbour >> 2];
        const int j = static_cast<int>(neighbour & 3u);
        other.n[j] = 4 * t + static_cast<std::uint32_t>(i);
        const std::uint8_t otherBit = static_cast<std::uint8_t>(1u << j);
        other.fixed = fixed ? (other.fixed | otherBit) : (other.fixed & ~otherBit);
    }
}

void CdtMesh::SetCorners(std::uint32_t t, std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    CdtTriangle& tri = triangles[t];
    tri.v[0] = a;
    tri.v[1] = b;
    tri.v[2] = c;
    tri.fixed = 0;
    vertexTriangle[a] = t;
    vertexTriangle[b] = t;
    vertexTriangle[c] = t;
}

std::uint32_t CdtMesh::NewTriangle() {
    triangles.push_back(CdtTriangle{{0, 0, 0}, {kCdtNone, kCdtNone, kCdtNone}, 0});
    return static_cast<std::uint32_t>(triangles.size() - 1);
}

// t = (a, b, c) and its neighbour (d, c, b) across b-c become (a, b, d) and (d, c, a). The four
// outer edges keep their neighbours and marks: b-d and a-b go to t (opposite corners 0 and 2),
// c-a and d-c to the neighbour (likewise); the new diagonal a-d, opposite corner 1 in both, is
// no constraint.
void CdtMesh::Flip(std::uint32_t t, int i) {
    CdtTriangle& one = triangles[t];
    const std::uint32_t t2 = one.n[i] >> 2;
    const int j = static_cast<int>(one.n[i] & 3u);
    CdtTriangle& two = triangles[t2];
    const std::uint32_t a = one.v[i];
    const std::uint32_t b = one.v[CdtNext(i)];
    const std::uint32_t c = one.v[CdtPrev(i)];
    const std::uint32_t d = two.v[j];
    const std::uint32_t outer[4] = {two.n[CdtNext(j)], one.n[CdtPrev(i)], one.n[CdtNext(i)],
                                    two.n[CdtPrev(j)]};  // b-d, a-b, c-a, d-c
    const unsigned marks =
        ((two.fixed >> CdtNext(j)) & 1u) | (((one.fixed >> CdtPrev(i)) & 1u) << 2);
    const unsigned marks2 =
        ((one.fixed >> CdtNext(i)) & 1u) | (((two.fixed >> CdtPrev(j)) & 1u) << 2);
    one =
        CdtTriangle{{a, b, d}, {outer[0], 4 * t2 + 1, outer[1]}, static_cast<std::uint8_t>(marks)};
    two =
        CdtTriangle{{d, c, a}, {outer[2], 4 * t + 1, outer[3]}, static_cast<std::uint8_t>(marks2)};
    const std::uint32_t codes[4] = {4 * t, 4 * t + 2, 4 * t2, 4 * t2 + 2};
    for (int k = 0; k < 4; ++k) {
        if (outer[k] != kCdtNone) {
            triangles[outer[k] >> 2].n[outer[k] & 3u] = codes[k];
        }
    }
    vertexTriangle[a] = t2;
    vertexTriangle[b] = t;
    vertexTriangle[c] = t2;
    vertexTriangle[d] = t2;
}

// (a, b, c) becomes (b, c, x), (c, a, x), (a, b, x), each keeping the outer edge and its mark.
std::uint32_t CdtMesh::SplitTriangle(std::uint32_t t, std::uint32_t x,
                                     std::vector<CdtEdgeName>& edges) {
    const CdtTriangle old = triangles[t];
    const std::uint32_t made[3] = {t, NewTriangle(), NewTriangle()};
    for (int k = 0; k < 3; ++k) {
        SetCorners(made[k], old.v[CdtNext(k)], old.v[CdtPrev(k)], x);
    }
    for (int k = 0; k < 3; ++k) {
        Link(made[k], 2, old.n[k], ((old.fixed >> k) & 1u) != 0);
        Link(made[k], 0, 4 * made[(k + 1) % 3] + 1, false);
        edges.push_back({old.v[CdtNext(k)], old.v[CdtPrev(k)], made[k]});
    }
    return x;
}

// t = (a, b, c) with x on b-c (opposite corner i) becomes (a, b, x) in t and (a, x, c) in a new
// triangle, which it gives; the outer edges keep their neighbours and marks, and the halves of
// b-c (opposite corner 0 in both) are left to the caller.
std::uint32_t CdtMesh::SplitSide(std::uint32_t t, int i, std::uint32_t x,
                                 std::vector<CdtEdgeName>& edges) {
    const CdtTriangle old = triangles[t];
    const std::uint32_t a = old.v[i];
    const std::uint32_t b = old.v[CdtNext(i)];
    const std::uint32_t c = old.v[CdtPrev(i)];
    const std::uint32_t made = NewTriangle();
    SetCorners(t, a, b, x);
    SetCorners(made, a, x, c);
    Link(t, 2, old.n[CdtPrev(i)], ((old.fixed >> CdtPrev(i)) & 1u) != 0);
    Link(made, 1, old.n[CdtNext(i)], ((old.fixed >> CdtNext(i)) & 1u) != 0);
    Link(t, 1, 4 * made + 2, false);
    edges.push_back({a, b, t});
    edges.push_back({c, a, made});
    return made;
}

// Both triangles at the edge opposite corner i of t are split at x, which lies on that edge; its
// halves keep its mark.
std::uint32_t CdtMesh::SplitEdge(std::uint32_t t, int i, std::uint32_t x,
                                 std::vector<CdtEdgeName>& edges) {
    const std::uint32_t across = triangles[t].n[i];
    const bool fixed = ((triangles[t].fixed >> i) & 1u) != 0;
    const std::uint32_t made = SplitSide(t, i, x, edges);
    if (across == kCdtNone) {
        Link(t, 0, kCdtNone, fixed);
        Link(made, 0, kCdtNone, fixed);
        return x;
    }
    const std::uint32_t t2 = across >> 2;
    const std::uint32_t made2 = SplitSide(t2, static_cast<int>(across & 3u), x, edges);
    Link(t, 0, 4 * made2, fixed);
    Link(made, 0, 4 * t2, fixed);
    return x;
}

std::uint32_t CdtMesh::InsertVertex(const PlanPoint& p, std::uint32_t near, double snap,
                                    CdtVertexPair* splitFixed) {
    // A walk from `near` towards p that leaves each triangle through an edge with p strictly on
    // its far side; the edge tried first is drawn at random, so that the walk cannot circle.
    std::uint32_t t = near;
    const std::size_t limit = 4 * triangles.size() + 16;
    for (std::size_t step = 0;; ++step) {
        if (step > limit) {
            return kCdtNone;
        }
        const CdtTriangle& tri = triangles[t];
        walkState_ ^= walkState_ << 13;
        walkState_ ^= walkState_ >> 17;
        walkState_ ^= walkState_ << 5;
        const int first = static_cast<int>(walkState_ % 3u);
        int onEdge = -1;
        bool moved = false;
        for (int k = 0; k < 3 && !moved; ++k) {
            const int i = (first + k) % 3;
            const int side = geom::Orient(points[tri.v[CdtNext(i)]], points[tri.v[CdtPrev(i)]], p);
            if (side < 0) {
                if (tri.n[i] == kCdtNone) {
                    return kCdtNone;
                }
                t = tri.n[i] >> 2;
                moved = true;
            } else if (side == 0) {
                onEdge = i;
            }
        }
        if (moved) {
            continue;
        }
        for (int i = 0; i < 3; ++i) {
            const PlanPoint& corner = points[tri.v[i]];
            if (std::max(std::fabs(corner.x - p.x), std::fabs(corner.y - p.y)) <= snap) {
                return tri.v[i];
            }
        }
        const std::uint32_t x = static_cast<std::uint32_t>(points.size());
        points.push_back(p);
        vertexTriangle.push_back(t);
        std::vector<CdtEdgeName> edges;
        if (onEdge >= 0) {
            if (splitFixed != nullptr && ((tri.fixed >> onEdge) & 1u) != 0) {
                *splitFixed = Ends(CdtEdge{t, onEdge});
            }
            SplitEdge(t, onEdge, x, edges);
        } else {
            SplitTriangle(t, x, edges);
        }
        MakeDelaunay(edges);
        return x;
    }
}

void CdtMesh::MakeDelaunay(std::vector<CdtEdgeName>& edges) {
    while (!edges.empty()) {
        const CdtEdgeName name = edges.back();
        edges.pop_back();
        CdtEdge e;
        if (!FindEdge(name, e) || IsFixed(e)) {
            continue;
        }
        const CdtTriangle& tri = triangles[e.t];
        const std::uint32_t n = tri.n[e.i];
        if (n == kCdtNone) {
            continue;
        }
        const std::uint32_t t2 = n >> 2;
        const std::uint32_t d = triangles[t2].v[n & 3u];
        if (InCircle(points[tri.v[0]], points[tri.v[1]], points[tri.v[2]], points[d]) <= 0) {
            continue;
        }
        const std::uint32_t a = tri.v[e.i];
        const std::uint32_t b = tri.v[CdtNext(e.i)];
        const std::uint32_t c = tri.v[CdtPrev(e.i)];
        Flip(e.t, e.i);
        edges.push_back({a, b, e.t});
        edges.push_back({b, d, e.t});
        edges.push_back({c, a, t2});
        edges.push_back({d, c, t2});
    }
}

}  // namespace geom
