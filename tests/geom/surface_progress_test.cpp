// The long surface functions report their progress: counts that never fall, ending with the
// whole work done.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "geom/surface/compute_volume.h"
#include "geom/surface/trace_contours.h"
#include "surface_test_support.h"

namespace {

using Calls = std::vector<std::pair<std::size_t, std::size_t>>;

geom::SurfaceProgress Recorder(Calls& calls) {
    return [&calls](std::size_t done, std::size_t total) { calls.push_back({done, total}); };
}

void ExpectRisingToTheEnd(const Calls& calls, std::size_t total, const char* what) {
    ASSERT_FALSE(calls.empty()) << what;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].second, total) << what;
        EXPECT_LE(calls[i].first, total) << what;
        if (i > 0) {
            EXPECT_GE(calls[i].first, calls[i - 1].first) << what;
        }
    }
    EXPECT_EQ(calls.back().first, total) << what;
}

TEST(SurfaceProgress, WeldingContoursAndVolumesReportTheirWork) {
    // Enough triangles for more than one call on the way.
    const geom::SurfaceMesh mesh =
        surfacetest::Grid(200, 200, [](int i, int j) { return 0.1 * i + 0.05 * j; });
    Calls weld;
    geom::WeldedSurface surface;
    ASSERT_EQ(geom::WeldSurface({mesh}, surface, nullptr, Recorder(weld)), geom::SurfaceStatus::Ok);
    ExpectRisingToTheEnd(weld, surface.triangles.size(), "weld");
    EXPECT_GT(weld.size(), 2u);

    Calls contours;
    std::vector<geom::ContourLine> lines;
    ASSERT_EQ(geom::TraceContours(surface, {0, 1, 0}, lines, Recorder(contours)),
              geom::SurfaceStatus::Ok);
    ExpectRisingToTheEnd(contours, 30, "contours");  // levels 1 ... 30

    Calls volume;
    geom::VolumeResult result;
    ASSERT_EQ(geom::ComputeVolume(surface, surface, result, Recorder(volume)),
              geom::SurfaceStatus::Ok);
    ExpectRisingToTheEnd(volume, surface.triangles.size(), "volume");
}

}  // namespace
