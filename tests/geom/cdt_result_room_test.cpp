// The constrained triangulator's result takes CDCT's result room, two records a point: with an
// outer boundary round a small part of the points, the part of the room the mesh, the corner
// list and the result do not take stays untouched (its pages are not made present).
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "geom/cdt/cdt.h"
#include "prepared_pages.h"

namespace {

#if defined(__linux__)

TEST(CdtResultRoom, WhatTheResultDoesNotTakeStaysUntouched) {
    const KeepHugePageSetting keep;
    LargeBlocksFromFreshPages();
    geom::SetHugePagesWanted(false);
    std::mt19937 random(5);
    std::uniform_real_distribution<double> unit(0.0, 1000.0);
    geom::CConstrainedDCT cdt;
    const std::size_t count = 20000;
    for (std::size_t k = 0; k < count; ++k) {
        cdt.AddPoint(unit(random), unit(random), 0.0);
    }
    cdt.SetOuterBoundary({geom::CVertex(10.0, 10.0, 0.0), geom::CVertex(300.0, 10.0, 0.0),
                          geom::CVertex(300.0, 300.0, 0.0), geom::CVertex(10.0, 300.0, 0.0)});
    const std::vector<geom::CTriangle> result = cdt.Triangulate();
    ASSERT_GT(result.size(), count / 20);
    ASSERT_LT(result.size(), count / 5);
    ASSERT_GE(result.capacity(), 2 * count);  // the room itself
    // Below about 86 bytes a record lie CDCT's workspace and the mesh's lists, from 164 on the
    // corner list: between 100 and 160 nothing is written.
    const unsigned char* const base = reinterpret_cast<const unsigned char*>(result.data());
    const Residence middle = ResidenceOf(base + 100 * result.capacity(), 60 * result.capacity());
    EXPECT_GT(middle.pages, 100u);
    EXPECT_EQ(middle.resident, 0u);
}

#endif

}  // namespace
