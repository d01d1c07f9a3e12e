// The room of its result that CDCT lends a ring reader is present when the reader gets it (the
// constrained mesh's lists and the result fill it whole), with huge pages wanted or not.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "geom/dct/dct.h"
#include "prepared_pages.h"

namespace {

#if defined(__linux__)

TEST(DctLentRoom, IsResidentWhenTheRingReaderGetsIt) {
    if (!KernelPopulates()) {
        GTEST_SKIP() << "this kernel does not populate ranges on request";
    }
    WithHugePagesWantedAndNot([&] {
        std::mt19937 random(5);
        std::uniform_real_distribution<double> unit(0.0, 1000.0);
        geom::CDCT dct;
        for (int k = 0; k < 20000; ++k) {
            dct.AddPoint(unit(random), unit(random), 0.0);
        }
        std::size_t lent = 0;
        Residence residence;
        dct.SetRingReader([&](const geom::DctRings& rings) {
            lent = rings.scratchBytes;
            residence = ResidenceOf(static_cast<const unsigned char*>(rings.scratch), lent);
        });
        dct.Triangulate();
        // Most of the room is lent: the workspace takes a fraction of the 352 bytes a point.
        EXPECT_GT(lent, 20000u * 250u);
        EXPECT_EQ(residence.resident, residence.pages);
    });
}

#endif

}  // namespace
