// CDCT when memory runs out: every failure comes out as one of its narrow texts, never as
// std::bad_alloc. One chosen allocation of the run is refused (RefusedAllocation).
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "geom/dct/dct.h"
#include "geom/dct/dct_records.h"
#include "geom/kernel/geometry_error.h"
#include "geom/kernel/large_allocation.h"
#include "support/refused_allocation.h"

namespace {

const int kSide = 40;  // a kSide x kSide grid: distinct points, none repeated

// Adds a side x side grid, then triangulates with requests of `size` bytes refused; gives the
// text thrown ("" when none was), or "bad_alloc" when that escaped.
std::string TriangulateRefusing(std::size_t size, int side = kSide) {
    geom::CDCT dct;
    for (int k = 0; k < side * side; ++k) {
        dct.AddPoint(k % side, k / side, k);
    }
    const RefusedAllocation refused(size);
    try {
        dct.Triangulate();
    } catch (const geom::GeometryError& error) {
        return error.what();
    } catch (const std::bad_alloc&) {
        return "bad_alloc";
    }
    return "";
}

TEST(HardGeometryMemory, RefusedAllocationsOfTheRunGiveTheNarrowTexts) {
    const std::size_t n = kSide * kSide;
    // The room of the result list, two triangles per point, which holds the sort's keys and the
    // rest of the workspace as well.
    EXPECT_EQ(TriangulateRefusing(2 * n * sizeof(geom::CTriangle)),
              "Couldn't allocate enough memory!\n");
    // The vertex positions and their elevations.
    EXPECT_EQ(TriangulateRefusing(n * sizeof(geom::PlanPoint)), "Not enough memory\n");
    EXPECT_EQ(TriangulateRefusing(n * sizeof(double)), "Not enough memory\n");
    // The sorted order of the store records.
    EXPECT_EQ(TriangulateRefusing(n * sizeof(std::uint32_t)), "Couldn't allocate enough memory!\n");
    // Nothing refused: the run succeeds, and so does a run after a refused one.
    EXPECT_EQ(TriangulateRefusing(0), "");
}

// Puts the huge-page setting back as it was when the test ends.
class KeepHugePageSetting {
public:
    ~KeepHugePageSetting() { geom::SetHugePagesWanted(before_); }

private:
    bool before_ = geom::HugePagesWanted();
};

// Arrays from 2 MiB on are asked for with room to start on a huge page; refused, they give the
// same text as the small ones, with huge pages wanted or not.
TEST(HardGeometryMemory, RefusedLargeArraysGiveTheNarrowTextWithOrWithoutHugePages) {
    const int side = 400;
    const std::size_t n = side * side;
    ASSERT_GE(n * sizeof(geom::PlanPoint), geom::kHugePageBytes);
    const KeepHugePageSetting keep;
    for (const bool wanted : {true, false}) {
        SCOPED_TRACE(wanted ? "huge pages wanted" : "huge pages not wanted");
        geom::SetHugePagesWanted(wanted);
        const std::size_t request = geom::LargeBlock::RequestBytes(n * sizeof(geom::PlanPoint));
        EXPECT_EQ(TriangulateRefusing(request, side), "Not enough memory\n");
    }
}

// The triangles (every field) and the vertex list of one run.
struct RunOutput {
    std::vector<geom::CTriangle> triangles;
    std::vector<geom::CVertex> vertices;
};

RunOutput TriangulateScattered(int count) {
    geom::CDCT dct;
    unsigned state = 12345u;
    for (int k = 0; k < count; ++k) {
        state = state * 1103515245u + 12345u;
        const double x = (state >> 8) % 100000 * 0.01;
        state = state * 1103515245u + 12345u;
        const double y = (state >> 8) % 100000 * 0.01;
        dct.AddPoint(x, y, k % 97);
    }
    RunOutput output;
    output.triangles = dct.Triangulate();
    output.vertices = dct.GetVertices();
    return output;
}

bool SameTriangle(const geom::CTriangle& a, const geom::CTriangle& b) {
    const auto same = [](const geom::CVertex& p, const geom::CVertex& q) {
        return p.x == q.x && p.y == q.y && p.z == q.z && p.w == q.w;
    };
    return a.i1 == b.i1 && a.i2 == b.i2 && a.i3 == b.i3 && same(a.p1, b.p1) && same(a.p2, b.p2) &&
           same(a.p3, b.p3) && a.circleKnown == b.circleKnown && a.complete == b.complete &&
           a.xc == b.xc && a.yc == b.yc && a.r == b.r;
}

// Whether huge pages are asked for changes where the arrays lie, never the result.
TEST(HardGeometryMemory, HugePagesLeaveTheResultUnchanged) {
    const KeepHugePageSetting keep;
    geom::SetHugePagesWanted(false);
    const RunOutput plain = TriangulateScattered(200000);
    geom::SetHugePagesWanted(true);
    const RunOutput huge = TriangulateScattered(200000);
    ASSERT_GT(plain.triangles.size(), 390000u);
    ASSERT_EQ(plain.triangles.size(), huge.triangles.size());
    ASSERT_EQ(plain.vertices.size(), huge.vertices.size());
    std::size_t differing = 0;
    for (std::size_t k = 0; k < plain.triangles.size(); ++k) {
        differing += SameTriangle(plain.triangles[k], huge.triangles[k]) ? 0 : 1;
    }
    for (std::size_t k = 0; k < plain.vertices.size(); ++k) {
        const geom::CVertex& a = plain.vertices[k];
        const geom::CVertex& b = huge.vertices[k];
        differing += a.x == b.x && a.y == b.y && a.z == b.z ? 0 : 1;
    }
    EXPECT_EQ(differing, 0u);
}

TEST(HardGeometryMemory, LargeBlocksStartOnAHugePageWhenWanted) {
    const std::size_t bytes = 3 * geom::kHugePageBytes + 100;
    const KeepHugePageSetting keep;
    geom::SetHugePagesWanted(true);
    geom::LargeBlock big(bytes);
#if defined(__linux__)
    EXPECT_EQ(geom::LargeBlock::RequestBytes(bytes), bytes + geom::kHugePageBytes);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(big.Data()) % geom::kHugePageBytes, 0u);
#else
    EXPECT_EQ(geom::LargeBlock::RequestBytes(bytes), bytes);
#endif
    // The whole block is usable.
    static_cast<unsigned char*>(big.Data())[bytes - 1] = 1;
    geom::SetHugePagesWanted(false);
    EXPECT_EQ(geom::LargeBlock::RequestBytes(bytes), bytes);
    const geom::LargeBlock plain(bytes);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(plain.Data()) % alignof(std::max_align_t), 0u);
    // Small blocks are always plain.
    geom::SetHugePagesWanted(true);
    EXPECT_EQ(geom::LargeBlock::RequestBytes(geom::kHugePageBytes - 1), geom::kHugePageBytes - 1);
}

TEST(HardGeometryMemory, RefusedGrowthOfThePointStoreGivesTheNarrowText) {
    geom::CDCT dct;
    for (int k = 0; k < 50000; ++k) {
        dct.AddPoint(k % 300, k / 300, k);
    }
    std::string outcome;
    {
        const RefusedAllocation refused(geom::DctPointStore::kBlockBytes);
        try {
            dct.AddPoint(1e6, 1e6, 0);
        } catch (const geom::GeometryError& error) {
            outcome = error.what();
        } catch (const std::bad_alloc&) {
            outcome = "bad_alloc";
        }
    }
    EXPECT_EQ(outcome, "Couldn't allocate enough memory!\n");
    // The store keeps its points and can still grow and triangulate.
    EXPECT_EQ(dct.AddPoint(1e6, 1e6, 0), 1);
    EXPECT_EQ(dct.GetVertices().size(), 50001u);
}

}  // namespace
