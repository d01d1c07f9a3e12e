#include "geom/cdt/cdt_output.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <numeric>

#include "geom/cdt/cdt_region.h"
#include "geom/kernel/keep_reads.h"
#include "geom/kernel/large_allocation.h"

namespace geom {

namespace {

struct Corners {
    std::uint32_t i[3];
};

bool Before(const PlanPoint& a, const PlanPoint& b) {
    return a.x < b.x || (a.x == b.x && a.y < b.y);
}

std::uintptr_t Address(const void* p) {
    return reinterpret_cast<std::uintptr_t>(p);
}

// Room for `count` records at the start of the result's room, below the mesh's lists there and
// below the corner list at its top, or nullptr.
template <typename T>
T* RoomBelowMesh(const CdtMesh& mesh, std::vector<CTriangle>& room, std::size_t count) {
    unsigned char* const base = reinterpret_cast<unsigned char*>(room.data());
    if (base == nullptr) {
        return nullptr;
    }
    const std::uintptr_t top =
        Address(base) + room.capacity() * (sizeof(CTriangle) - sizeof(Corners));
    const void* const meshStart = mesh.LentBegin();
    const std::uintptr_t limit =
        meshStart != nullptr && Address(meshStart) >= Address(base) && Address(meshStart) < top
            ? Address(meshStart)
            : top;
    return count * sizeof(T) <= limit - Address(base) ? DctStartArray<T>(base, count) : nullptr;
}

// Reads the vertices of the triangles [first, last) at once: the building of the result, whose
// stores to fresh pages hold up the loads behind them, then finds them in the cache.
void ReadCornersAhead(const Corners* corners, std::size_t first, std::size_t last,
                      const std::vector<CVertex>& vertices) {
    double sum = 0.0;
    for (std::size_t k = first; k < last; ++k) {
        sum += vertices[corners[k].i[1]].z + vertices[corners[k].i[2]].z;
    }
    KeepReads(sum);
}

}  // namespace

void CdtExtract(const CdtMesh& mesh, std::uint32_t sortedCount,
                const std::vector<std::uint8_t>& state, const CdtLentArray<double>& z,
                std::vector<CTriangle>& triangles, std::vector<CVertex>& vertices) {
    const std::uint32_t vertexCount = static_cast<std::uint32_t>(mesh.points.size());
    const bool allKept = state.empty();
    const auto isKept = [&](std::size_t t) { return allKept || state[t] == kCdtKept; };
    const std::size_t kept =
        allKept ? mesh.triangles.size()
                : static_cast<std::size_t>(std::count(state.begin(), state.end(), kCdtKept));
    // Every triangle kept, no crossing vertex and every vertex at a triangle: the vertex list is
    // the mesh's vertices in their order, and a vertex's index its own number.
    const bool same = kept == mesh.triangles.size() && vertexCount == sortedCount &&
                      std::find(mesh.vertexTriangle.begin(), mesh.vertexTriangle.end(), kCdtNone) ==
                          mesh.vertexTriangle.end();
    std::vector<std::uint32_t> index(same ? 0 : vertexCount, kCdtNone);
    for (std::size_t t = 0; !same && t < mesh.triangles.size(); ++t) {
        if (isKept(t)) {
            for (const std::uint32_t v : mesh.triangles[t].v) {
                index[v] = 0;
            }
        }
    }
    const auto indexOf = [&](std::uint32_t v) { return same ? v : index[v]; };
    // The crossing vertices merged into the sorted order of the others.
    std::vector<std::uint32_t> added(vertexCount - sortedCount);
    std::iota(added.begin(), added.end(), sortedCount);
    std::sort(added.begin(), added.end(), [&](std::uint32_t l, std::uint32_t r) {
        return Before(mesh.points[l], mesh.points[r]);
    });
    vertices.clear();
    vertices.reserve(vertexCount);
    // The vertices at kept triangles, written below: made present at once, as CDCT's own list.
    const std::size_t taken =
        same ? vertexCount : static_cast<std::size_t>(std::count(index.begin(), index.end(), 0u));
    PrepareRoomForWriting(vertices.data(), taken * sizeof(CVertex));
    std::uint32_t next = 0;
    const auto take = [&](std::uint32_t v) {
        if (same || index[v] != kCdtNone) {
            if (!same) {
                index[v] = next;
            }
            ++next;
            vertices.emplace_back(mesh.points[v].x, mesh.points[v].y, z[v]);
        }
    };
    std::size_t a = 0;
    for (std::uint32_t v = 0; v < sortedCount; ++v) {
        while (a < added.size() && Before(mesh.points[added[a]], mesh.points[v])) {
            take(added[a++]);
        }
        take(v);
    }
    while (a < added.size()) {
        take(added[a++]);
    }
    // Counting sort by lowest corner, stable in mesh order. The counts go to the room below the
    // mesh's lists, whose pages CDCT's work has touched and which the result overwrites only
    // after the sort, when they fit there.
    const std::size_t startCount = static_cast<std::size_t>(next) + 1;
    std::vector<std::uint32_t> ownStart;
    std::uint32_t* start = RoomBelowMesh<std::uint32_t>(mesh, triangles, startCount);
    if (start == nullptr) {
        ownStart.resize(startCount);
        start = ownStart.data();
    }
    std::fill_n(start, startCount, 0u);
    for (std::size_t t = 0; t < mesh.triangles.size(); ++t) {
        if (isKept(t)) {
            const std::uint32_t* v = mesh.triangles[t].v;
            ++start[std::min({indexOf(v[0]), indexOf(v[1]), indexOf(v[2])}) + 1];
        }
    }
    for (std::size_t k = 0; k < next; ++k) {
        start[k + 1] += start[k];
    }
    // The corner list: kept triangle k's vertex-list indices, the lowest first. It goes to the
    // top of the result's room (as CDCT's does), where each entry is read before the triangles
    // built from the bottom reach it, unless the room is short or holds the mesh's lists
    // there; then the list and the result have storage of their own.
    const std::size_t room = triangles.capacity();
    unsigned char* const base = reinterpret_cast<unsigned char*>(triangles.data());
    unsigned char* const top = base + room * (sizeof(CTriangle) - sizeof(Corners));
    // The mesh's lists lie in the room after the triangles, when they lie in it.
    const bool meshBelow =
        mesh.LentEnd() == nullptr || Address(mesh.LentEnd()) <= Address(top) ||
        Address(mesh.triangles.begin()) >= Address(base + room * sizeof(CTriangle));
    const bool inRoom = kept + 1 <= room && meshBelow;
    std::unique_ptr<Corners[]> ownCorners;
    if (inRoom) {
        // The corner list and the result, written whole below, in the part of the room they take
        // (with a boundary or holes much of it stays untouched): made present at once.
        PrepareRoomForWriting(top, kept * sizeof(Corners));
        PrepareRoomForWriting(base, kept * sizeof(CTriangle));
    }
    Corners* const corners = inRoom ? DctStartArray<Corners>(top, kept)
                                    : (ownCorners.reset(new Corners[kept]), ownCorners.get());
    for (std::uint32_t t = 0; t < mesh.triangles.size(); ++t) {
        if (isKept(t)) {
            const std::uint32_t* v = mesh.triangles[t].v;
            const std::uint32_t c[3] = {indexOf(v[0]), indexOf(v[1]), indexOf(v[2])};
            // Turn the corners so that the lowest comes first; the turn keeps the orientation.
            const int first = c[0] < c[1] ? (c[0] < c[2] ? 0 : 2) : (c[1] < c[2] ? 1 : 2);
            corners[start[c[first]]++] = Corners{c[first], c[CdtNext(first)], c[CdtPrev(first)]};
        }
    }
    std::vector<CTriangle> own;
    std::vector<CTriangle>& list = inRoom ? triangles : own;
    list.clear();
    list.reserve(kept);
    CTriangle out;  // filled in place and copied, which is cheaper than building in the list
    constexpr std::size_t kAhead = 32;
    for (std::size_t k = 0; k < kept; ++k) {
        if (k % kAhead == 0) {
            ReadCornersAhead(corners, k, std::min(k + kAhead, kept), vertices);
        }
        const Corners c = corners[k];
        out.i1 = static_cast<std::int32_t>(c.i[0]);
        out.i2 = static_cast<std::int32_t>(c.i[1]);
        out.i3 = static_cast<std::int32_t>(c.i[2]);
        out.p1 = vertices[c.i[0]];
        out.p2 = vertices[c.i[1]];
        out.p3 = vertices[c.i[2]];
        list.push_back(out);
    }
    if (!inRoom) {
        triangles.swap(own);
    }
}

}  // namespace geom
