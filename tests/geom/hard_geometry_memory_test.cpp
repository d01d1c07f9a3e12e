// CDCT when memory runs out: every failure comes out as one of its narrow texts, never as
// std::bad_alloc. One chosen allocation of the run is refused (RefusedAllocation).
#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "geom/dct/dct.h"
#include "geom/dct/dct_records.h"
#include "geom/kernel/geometry_error.h"
#include "support/refused_allocation.h"

namespace {

const int kSide = 40;  // a kSide x kSide grid: distinct points, none repeated

// Adds the grid, then triangulates with requests of `size` bytes refused; gives the text thrown
// ("" when none was), or "bad_alloc" when that escaped.
std::string TriangulateRefusing(std::size_t size) {
    geom::CDCT dct;
    for (int k = 0; k < kSide * kSide; ++k) {
        dct.AddPoint(k % kSide, k / kSide, k);
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
    // The vertex positions. AddressSanitizer serves the non-throwing array allocations itself,
    // past the refusing operator new of this program, so they are refused only in other builds.
#ifndef __SANITIZE_ADDRESS__
    EXPECT_EQ(TriangulateRefusing(n * sizeof(geom::PlanPoint)), "Not enough memory\n");
#endif
    // The sorted order of the store records.
    EXPECT_EQ(TriangulateRefusing(n * sizeof(std::uint32_t)), "Couldn't allocate enough memory!\n");
    // Nothing refused: the run succeeds, and so does a run after a refused one.
    EXPECT_EQ(TriangulateRefusing(0), "");
}

TEST(HardGeometryMemory, RefusedGrowthOfThePointStoreGivesTheNarrowText) {
    geom::CDCT dct;
    for (int k = 0; k < 50000; ++k) {
        dct.AddPoint(k % 300, k / 300, k);
    }
    std::string outcome;
    {
        const RefusedAllocation refused(50000 * sizeof(geom::CVertex));
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
