#include "geom/dct.h"

#include <new>
#include <numeric>
#include <utility>

#include "geom/sort_points.h"

namespace geom {

namespace {

const char* const kStoreShort = "Couldn't allocate enough memory!\n";
const char* const kWorkspaceShort = "Not enough memory\n";
const char* const kTooFewVertices = "A minimum of 3 vertices are required!\n";

// Edge ends are numbered 2 * edge + side in 32 bits, and SortPoints takes signed 32-bit positions.
constexpr std::uint32_t kMaxPoints = 0xFFFFFFFFu / 6;

}  // namespace

CDCT::CDCT() {
    try {
        pointStore.AddRoom();
    } catch (const std::bad_alloc&) {
        throw kStoreShort;
    }
}

CDCT::~CDCT() = default;

int CDCT::AddPoint(double x, double y, double z) {
    if (pointCount % DctPointStore::kGrowth == 0 &&
        pointStore.Room() < pointCount + DctPointStore::kGrowth) {
        if (pointCount >= kMaxPoints) {
            throw kStoreShort;
        }
        try {
            pointStore.AddRoom();
        } catch (const std::bad_alloc&) {
            throw kStoreShort;
        }
    }
    pointStore.Set(pointCount, x, y, z);
    ++pointCount;
    return 1;
}

std::vector<CTriangle> CDCT::Triangulate() {
    result.clear();
    SortStore();
    AllocWorkspace(pointCount);
    const std::uint32_t m = CollectVertices();
    if (m < 3) {
        FreeWorkspace();
        throw kTooFewVertices;
    }
    try {
        DivideRange(0, m - 1);
        if (ringReader) {
            ringReader(m, vertices.get(), edges.get());
        } else {
            ExtractTriangles(m);
        }
    } catch (const std::bad_alloc&) {
        // The result list could not grow.
        FreeWorkspace();
        result.clear();
        throw kWorkspaceShort;
    } catch (...) {
        FreeWorkspace();
        result.clear();
        throw;
    }
    FreeWorkspace();
    // The caller gets the triangles themselves; nothing reads result after the run.
    return std::move(result);
}

// Sorts the store as SortPoints would: through the sort order of its keys, straight from the
// store's blocks into one new block, or (coordinates that are not finite) with SortPoints itself.
void CDCT::SortStore() {
    try {
        std::vector<SortedKey> order;
        const auto pointAt = [this](std::uint32_t k) -> const CVertex& { return pointStore[k]; };
        if (pointCount > 0 && PointSortOrder(pointCount, pointAt, order)) {
            pointStore.Reorder(pointCount, order);
            return;
        }
        CVertex* const store = pointStore.Join(pointCount);
        const std::unique_ptr<CVertex[]> scratch(new CVertex[pointCount]);
        SortPoints(store, scratch.get(), 0, static_cast<std::int32_t>(pointCount) - 1);
    } catch (const std::bad_alloc&) {
        throw kStoreShort;
    }
}

std::vector<CVertex> CDCT::GetVertices() const {
    std::vector<CVertex> list;
    // Reserved at once, so that the list cannot fail to grow below; like every other failure of
    // this triangulator, a shortage comes out as one of its texts.
    try {
        list.reserve(pointCount);
    } catch (const std::bad_alloc&) {
        throw kWorkspaceShort;
    }
    for (std::uint32_t i = 0; i < pointCount; ++i) {
        const CVertex& point = pointStore[i];
        if (i + 1 < pointCount && point == pointStore[i + 1]) {
            continue;
        }
        list.emplace_back(point.x, point.y, point.z);
    }
    return list;
}

void CDCT::AllocWorkspace(std::uint32_t n) {
    const std::size_t edgeCount = 3 * static_cast<std::size_t>(n);
    vertices.reset(new (std::nothrow) DctVertex[n]);
    edges.reset(new (std::nothrow) DctEdgeEnd[2 * edgeCount]);
    freeEdges.reset(new (std::nothrow) std::uint32_t[edgeCount]);
    if (!vertices || !edges || !freeEdges) {
        FreeWorkspace();
        throw kWorkspaceShort;
    }
    // Edge records are handed out from the end of the array first.
    std::iota(freeEdges.get(), freeEdges.get() + edgeCount, 0u);
    freeEdgeCount = static_cast<std::uint32_t>(edgeCount);
}

std::uint32_t CDCT::CollectVertices() {
    std::uint32_t m = 0;
    for (std::uint32_t i = 0; i < pointCount; ++i) {
        const CVertex& point = pointStore[i];
        if (i + 1 < pointCount && point == pointStore[i + 1]) {
            continue;
        }
        vertices[m] = DctVertex{point.x, point.y, point.z, kDctNone};
        ++m;
    }
    return m;
}

void CDCT::FreeWorkspace() {
    vertices.reset();
    edges.reset();
    freeEdges.reset();
    freeEdgeCount = 0;
}

}  // namespace geom
