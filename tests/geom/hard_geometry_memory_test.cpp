// CDCT when memory runs out: every failure comes out as one of its narrow texts, never as
// std::bad_alloc. The global operator new of this test program refuses, while armed, every
// request of one given size, so that one chosen allocation of the module fails.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "geom/dct.h"
#include "geom/dct_records.h"

namespace {

std::size_t refusedSize = 0;  // 0: nothing is refused

}  // namespace

void* operator new(std::size_t size) {
    if (refusedSize != 0 && size == refusedSize) {
        throw std::bad_alloc();
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace {

const int kSide = 40;  // a kSide x kSide grid: distinct points, none repeated

// Adds the grid, then triangulates with requests of `size` bytes refused; gives the text thrown
// ("" when none was), or "bad_alloc" when that escaped.
std::string TriangulateRefusing(std::size_t size) {
    geom::CDCT dct;
    for (int k = 0; k < kSide * kSide; ++k) {
        dct.AddPoint(k % kSide, k / kSide, k);
    }
    std::string outcome;
    refusedSize = size;
    try {
        dct.Triangulate();
    } catch (const char* text) {
        outcome = text;
    } catch (const std::bad_alloc&) {
        outcome = "bad_alloc";
    }
    refusedSize = 0;
    return outcome;
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
    EXPECT_EQ(TriangulateRefusing(n * sizeof(geom::DctPoint)), "Not enough memory\n");
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
    refusedSize = 50000 * sizeof(geom::CVertex);
    std::string outcome;
    try {
        dct.AddPoint(1e6, 1e6, 0);
    } catch (const char* text) {
        outcome = text;
    } catch (const std::bad_alloc&) {
        outcome = "bad_alloc";
    }
    refusedSize = 0;
    EXPECT_EQ(outcome, "Couldn't allocate enough memory!\n");
    // The store keeps its points and can still grow and triangulate.
    EXPECT_EQ(dct.AddPoint(1e6, 1e6, 0), 1);
    EXPECT_EQ(dct.GetVertices().size(), 50001u);
}

}  // namespace
