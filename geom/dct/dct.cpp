#include "geom/dct/dct.h"

#include <bitset>
#include <cmath>
#include <new>
#include <utility>

#include "geom/dct/dct_check_rings.h"
#include "geom/kernel/geometry_error.h"
#include "geom/kernel/invariants.h"
#include "geom/kernel/sort_points.h"

namespace geom {

namespace {

// Edge ends are numbered 2 * edge + side in 32 bits, and SortPoints takes signed 32-bit positions.
constexpr std::uint32_t kMaxPoints = 0xFFFFFFFFu / 6;

template <typename Point>
bool SamePosition(const Point& a, const Point& b) {
    return a.x == b.x && a.y == b.y;
}

}  // namespace

CDCT::CDCT() {
    try {
        pointStore.AddRoom();
    } catch (const std::bad_alloc&) {
        throw GeometryError(GeometryFailure::kStoreShort);
    }
}

CDCT::~CDCT() = default;

int CDCT::AddPoint(double x, double y, double z) {
    PutStoreInOrder();
    if (pointCount % DctPointStore::kGrowth == 0 &&
        pointStore.Room() < pointCount + DctPointStore::kGrowth) {
        if (pointCount >= kMaxPoints) {
            throw GeometryError(GeometryFailure::kStoreShort);
        }
        try {
            pointStore.AddRoom();
        } catch (const std::bad_alloc&) {
            throw GeometryError(GeometryFailure::kStoreShort);
        }
    }
    pointStore.Set(pointCount, x, y, z);
    ++pointCount;
    return 1;
}

std::vector<CTriangle> CDCT::Triangulate() {
    // The keys DropRepeatedPositions sorted are taken on while the room holds this run.
    const std::uint32_t sortedCount =
        result.capacity() >= 2 * static_cast<std::size_t>(pointCount) ? presorted : 0;
    presorted = 0;
    if (sortedCount == 0) {
        result = std::vector<CTriangle>();
    }
    PutStoreInOrder();
    ReleaseVertices();
    // The room of the result list, two triangles per point, holds the workspace of the run as
    // well, beginning with the sort's keys (PlaceWorkspace).
    SortedKey* keys = nullptr;
    try {
        result.reserve(2 * static_cast<std::size_t>(pointCount));
        // Huge pages only where the run itself writes: the rest is the ring reader's, which fills
        // it as it goes, and would take cold huge pages at full cost.
        PrepareRoomForWriting(result.data(), RoomWritten());
        keys = reinterpret_cast<SortedKey*>(result.data());
        DctStartArray<SortedKey>(keys + sortedCount, pointCount - sortedCount);
    } catch (const std::bad_alloc&) {
        throw GeometryError(GeometryFailure::kStoreShort);
    }
    SortKeys(keys, sortedCount);
    const std::uint32_t m = CollectVertices(keys);
    if (m < 3) {
        result = std::vector<CTriangle>();
        throw GeometryError(GeometryFailure::kTooFewVertices);
    }
    try {
        PlaceWorkspace();
        const HullEnds all = DivideRange(0, m - 1);
        if (kCheckInvariants) {
            DctCheckRings(m, entries, edges);
        }
        if (ringReader) {
            ReadRings();
        } else {
            const MergeBounds bounds =
                BoundsOfSpan(points[m - 1].x - points[0].x, all.yMax - all.yMin);
            // Every decision on finite coordinates is exact, and then the rings form a planar
            // triangulation; with coordinates that are not finite, or a span whose arithmetic
            // overflows, ListTriangles does not rely on that.
            const bool exact = finite && std::isfinite(bounds.cot);
            ExtractTriangles(ListTriangles(bounds.above, exact));
        }
    } catch (const std::bad_alloc&) {
        // Memory for the ring reader's work was short.
        FreeWorkspace();
        result = std::vector<CTriangle>();
        throw GeometryError(GeometryFailure::kWorkspaceShort);
    } catch (...) {
        FreeWorkspace();
        result = std::vector<CTriangle>();
        throw;
    }
    FreeWorkspace();
    // The caller gets the triangles themselves; nothing reads result after the run.
    return std::move(result);
}

// The sorted order as SortPoints gives it, as keys (room for pointCount of them at `keys`, of
// which the first sortedCount hold the points DropRepeatedPositions sorted): through the sort
// order of the keys, or (coordinates that are not finite) by sorting the store itself with
// SortPoints (on a copy as CVertex records). In the first case the store records stay where they
// are until the store is needed again (sortedOrder).
void CDCT::SortKeys(SortedKey* keys, std::uint32_t sortedCount) {
    try {
        const auto pointAt = [this](std::uint32_t k) -> const DctStoredPoint& {
            return pointStore[k];
        };
        finite = (sortedCount > 0 && MergeAddedKeys(keys, sortedCount)) ||
                 (pointCount > 0 && PointSortOrder(pointCount, pointAt, keys));
        if (finite) {
            std::vector<std::uint32_t> order(pointCount);
            for (std::uint32_t k = 0; k < pointCount; ++k) {
                order[k] = keys[k].index;
            }
            sortedOrder = std::move(order);
            return;
        }
        DctStoredPoint* const store = pointStore.Join(pointCount);
        {
            const std::unique_ptr<CVertex[]> sorted(new CVertex[pointCount]);
            const std::unique_ptr<CVertex[]> scratch(new CVertex[pointCount]);
            for (std::uint32_t k = 0; k < pointCount; ++k) {
                sorted[k] = CVertex(store[k].x, store[k].y, store[k].z);
            }
            SortPoints(sorted.get(), scratch.get(), 0, static_cast<std::int32_t>(pointCount) - 1);
            for (std::uint32_t k = 0; k < pointCount; ++k) {
                store[k] = DctStoredPoint{sorted[k].x, sorted[k].y, sorted[k].z};
            }
        }
        for (std::uint32_t k = 0; k < pointCount; ++k) {
            keys[k] = SortedKey{store[k].x, store[k].y, store[k].z, k};
        }
    } catch (const std::bad_alloc&) {
        result = std::vector<CTriangle>();
        throw GeometryError(GeometryFailure::kStoreShort);
    }
}

// The keys of the points added after the first sortedCount, merged into those points' sorted
// keys; false, keys unspecified, when one of them has a coordinate that is not finite.
bool CDCT::MergeAddedKeys(SortedKey* keys, std::uint32_t sortedCount) {
    for (std::uint32_t k = sortedCount; k < pointCount; ++k) {
        const DctStoredPoint& point = pointStore[k];
        if (!std::isfinite(point.x) || !std::isfinite(point.y)) {
            return false;
        }
        keys[k] = SortedKey{point.x, point.y, point.z, k};
    }
    MergeIntoPointSortOrder(keys, sortedCount, pointCount);
    return true;
}

std::uint32_t CDCT::DropRepeatedPositions(std::uint32_t morePoints) {
    PutStoreInOrder();
    presorted = 0;
    result = std::vector<CTriangle>();
    if (pointCount == 0) {
        return 0;
    }
    SortedKey* keys = nullptr;
    std::vector<std::uint64_t> dropped;
    try {
        // The keys go where Triangulate() sorts them, in a room for the points to come as well.
        result.reserve(2 * (static_cast<std::size_t>(pointCount) + morePoints));
        PrepareRoomForWriting(result.data(), pointCount * sizeof(SortedKey));
        keys = DctStartArray<SortedKey>(result.data(), pointCount);
        const auto pointAt = [this](std::uint32_t k) -> const DctStoredPoint& {
            return pointStore[k];
        };
        if (!PositionSortOrder(pointCount, pointAt, keys)) {
            result = std::vector<CTriangle>();
            return 0;
        }
        dropped.assign((pointCount + 63) / 64, 0);
    } catch (const std::bad_alloc&) {
        result = std::vector<CTriangle>();
        throw GeometryError(GeometryFailure::kStoreShort);
    }
    // A run of one position is in the order the points were added: all but its first go.
    std::uint32_t count = 0;
    for (std::uint32_t k = 1; k < pointCount; ++k) {
        if (SamePosition(keys[k - 1], keys[k])) {
            const std::uint32_t index = keys[k].index;
            dropped[index / 64] |= std::uint64_t{1} << (index % 64);
            ++count;
        }
    }
    if (count > 0) {
        KeepFirstKeys(keys, dropped);
    }
    pointCount -= count;
    presorted = pointCount;
    return count;
}

// Takes the points marked in `dropped` (bit k % 64 of word k / 64 for point k) out of the store
// and out of the sorted keys, and numbers the keys of the rest by their new places.
void CDCT::KeepFirstKeys(SortedKey* keys, const std::vector<std::uint64_t>& dropped) {
    const auto isDropped = [&dropped](std::uint32_t k) {
        return (dropped[k / 64] >> (k % 64) & 1) != 0;
    };
    // The points dropped before each word's first point.
    std::vector<std::uint32_t> before(dropped.size());
    std::uint32_t running = 0;
    for (std::size_t w = 0; w < dropped.size(); ++w) {
        before[w] = running;
        running += static_cast<std::uint32_t>(std::bitset<64>(dropped[w]).count());
    }
    std::uint32_t kept = 0;
    for (std::uint32_t k = 0; k < pointCount; ++k) {
        if (!isDropped(k)) {
            if (kept != k) {
                const DctStoredPoint point = pointStore[k];
                pointStore.Set(kept, point.x, point.y, point.z);
            }
            ++kept;
        }
    }
    std::uint32_t m = 0;
    for (std::uint32_t k = 0; k < pointCount; ++k) {
        const std::uint32_t index = keys[k].index;
        if (isDropped(index)) {
            continue;
        }
        const std::uint64_t below = dropped[index / 64] & ((std::uint64_t{1} << (index % 64)) - 1);
        keys[k].index =
            index - before[index / 64] - static_cast<std::uint32_t>(std::bitset<64>(below).count());
        keys[m++] = keys[k];
    }
}

// Moves the store records into sorted order when a run has left them out of it.
void CDCT::PutStoreInOrder() {
    if (sortedOrder.empty()) {
        return;
    }
    try {
        pointStore.Reorder(pointCount, sortedOrder);
    } catch (const std::bad_alloc&) {
        throw GeometryError(GeometryFailure::kStoreShort);
    }
    sortedOrder = std::vector<std::uint32_t>();
}

// The distinct plan positions of the sorted keys, each run of equal positions given by its last
// key, with its elevation.
std::uint32_t CDCT::CollectVertices(const SortedKey* keys) {
    try {
        pointBlock = LargeBlock(pointCount * sizeof(PlanPoint));
        elevationBlock = LargeBlock(pointCount * sizeof(double));
    } catch (const std::bad_alloc&) {
        ReleaseVertices();
        result = std::vector<CTriangle>();
        throw GeometryError(GeometryFailure::kWorkspaceShort);
    }
    PrepareForWriting(pointBlock.Data(), pointCount * sizeof(PlanPoint));
    PrepareForWriting(elevationBlock.Data(), pointCount * sizeof(double));
    points = DctStartArray<PlanPoint>(pointBlock.Data(), pointCount);
    elevations = DctStartArray<double>(elevationBlock.Data(), pointCount);
    std::uint32_t m = 0;
    for (std::uint32_t i = 0; i < pointCount; ++i) {
        const SortedKey& key = keys[i];
        if (i + 1 < pointCount && SamePosition(key, keys[i + 1])) {
            continue;
        }
        points[m] = PlanPoint{key.x, key.y};
        elevations[m] = key.z;
        ++m;
    }
    vertexCount = m;
    return m;
}

void CDCT::ReleaseVertices() {
    vertexCount = 0;
    points = nullptr;
    elevations = nullptr;
    pointBlock = LargeBlock();
    elevationBlock = LargeBlock();
}

std::vector<CVertex> CDCT::GetVertices() const {
    std::vector<CVertex> list;
    // Reserved at once, so that the list cannot fail to grow below; like every other failure of
    // this triangulator, a shortage comes out as one of its texts.
    try {
        list.reserve(vertexCount > 0 ? vertexCount : pointCount);
        PrepareRoomForWriting(list.data(), list.capacity() * sizeof(CVertex));
    } catch (const std::bad_alloc&) {
        throw GeometryError(GeometryFailure::kWorkspaceShort);
    }
    if (vertexCount > 0) {
        for (std::uint32_t k = 0; k < vertexCount; ++k) {
            list.emplace_back(points[k].x, points[k].y, elevations[k]);
        }
        return list;
    }
    const auto pointAt = [this](std::uint32_t i) -> const DctStoredPoint& {
        return pointStore[sortedOrder.empty() ? i : sortedOrder[i]];
    };
    for (std::uint32_t i = 0; i < pointCount; ++i) {
        const DctStoredPoint& point = pointAt(i);
        if (i + 1 < pointCount && SamePosition(point, pointAt(i + 1))) {
            continue;
        }
        list.emplace_back(point.x, point.y, point.z);
    }
    return list;
}

// The workspace lives in the room reserved for the result list beyond the list's size: the
// result needs most of that room's pages, and this way the workspace touches few others. The
// sort's keys come first at the bottom of the room; once the vertices are collected from them,
// the entry ends and the edge records (three per vertex, more than a triangulation has edges)
// take their place, and the list of the triangles' corners goes to the top of the room that two
// triangles per vertex take, from where ExtractTriangles reads them ahead of the triangles it
// builds over them.
void CDCT::PlaceWorkspace() {
    const std::size_t m = vertexCount;
    unsigned char* const room = reinterpret_cast<unsigned char*>(result.data());
    const std::size_t entryBytes = (m * sizeof(std::uint32_t) + 7) / 8 * 8;
    entries = DctStartArray<std::uint32_t>(room, m);
    edges = DctStartArray<DctEdgeEnd>(room + entryBytes, 6 * m);
    corners = DctStartArray<DctTriangleCorners>(
        room + 2 * m * (sizeof(CTriangle) - sizeof(DctTriangleCorners)), 2 * m);
    for (std::size_t v = 0; v < m; ++v) {
        entries[v] = kDctNone;
    }
    // Edge records are handed out from the end of the array first.
    spare = DctLinkSpareEdges(edges, static_cast<std::uint32_t>(3 * m));
}

// The bytes of the result's room a run writes: all of it when the triangles are listed (two per
// point, of which a triangulation has all but a few); for a ring reader, the keys and the edge
// records (the reader's own use of the rest is its own).
std::size_t CDCT::RoomWritten() const {
    const std::size_t n = pointCount;
    if (!ringReader) {
        return 2 * n * sizeof(CTriangle);
    }
    const std::size_t keyBytes = n * sizeof(SortedKey);
    const std::size_t ringBytes = n * (sizeof(std::uint32_t) + 6 * sizeof(DctEdgeEnd)) + 8;
    return keyBytes > ringBytes ? keyBytes : ringBytes;
}

void CDCT::FreeWorkspace() {
    entries = nullptr;
    edges = nullptr;
    corners = nullptr;
    spare = DctSpareEdges{kDctNone};
}

// Hands the finished rings to the ring reader, as they are.
void CDCT::ReadRings() {
    // The room above the edge records: the corner list is not made on this path.
    unsigned char* const room = reinterpret_cast<unsigned char*>(result.data());
    unsigned char* const above = reinterpret_cast<unsigned char*>(edges + 6 * vertexCount);
    const std::size_t used = static_cast<std::size_t>(above - room);
    const std::size_t roomBytes = result.capacity() * sizeof(CTriangle);
    ringReader(DctRings{vertexCount, &points[0], &elevations[0], entries, edges, above,
                        roomBytes > used ? roomBytes - used : 0});
}

}  // namespace geom
