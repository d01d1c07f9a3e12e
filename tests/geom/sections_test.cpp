// Cross-sections: known cut and fill areas between two planes, square and bisecting cuts, and
// the average-end-area volume against the exact overlay's, closer at a smaller interval.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geom/surface/compute_volume.h"
#include "geom/surface/cut_sections.h"
#include "surface_test_support.h"

namespace {

using geom::CrossSection;
using geom::PlanPoint;

std::vector<CrossSection> Sections(const geom::WeldedSurface& existing,
                                   const geom::WeldedSurface* design,
                                   const std::vector<PlanPoint>& line, double interval, double left,
                                   double right) {
    std::vector<CrossSection> sections;
    EXPECT_EQ(geom::CutSections(existing, design, line, {interval, left, right}, sections),
              geom::SurfaceStatus::Ok);
    return sections;
}

// Along the x axis the left of the line is +y: offset o is at y = -o. Existing z = 10 + 0.5 y,
// design z = 10 - 0.25 y + 0.01 x: existing - design = -0.75 o - 0.01 x. At x = 0 it crosses at
// o = 0: cut 0.75 * 10^2 / 2 = 37.5 on the left, fill the same; at x = 75 at o = -1: cut
// 0.75 * 9^2 / 2 = 30.375, fill 0.75 * 11^2 / 2 = 45.375.
TEST(Sections, BetweenTwoPlanesAreExact) {
    const geom::WeldedSurface existing = surfacetest::Weld({surfacetest::RandomSurface(
        1, 300, -20, -20, 120, 20, [](double, double y) { return 10 + 0.5 * y; })});
    const geom::WeldedSurface design = surfacetest::Weld({surfacetest::RandomSurface(
        2, 300, -20, -20, 120, 20, [](double x, double y) { return 10 - 0.25 * y + 0.01 * x; })});
    const std::vector<CrossSection> sections =
        Sections(existing, &design, {{0, 0}, {100, 0}}, 75.0, 10.0, 10.0);
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[1].station, 75.0);
    EXPECT_EQ(sections[2].station, 100.0);
    EXPECT_NEAR(sections[0].cutArea, 37.5, 1e-9);
    EXPECT_NEAR(sections[0].fillArea, 37.5, 1e-9);
    EXPECT_NEAR(sections[1].cutArea, 30.375, 1e-9);
    EXPECT_NEAR(sections[1].fillArea, 45.375, 1e-9);
    EXPECT_EQ(sections[0].cutVolume, 0.0);
    EXPECT_NEAR(sections[1].cutVolume, (37.5 + 30.375) / 2 * 75, 1e-7);
    EXPECT_NEAR(sections[1].fillVolume, (37.5 + 45.375) / 2 * 75, 1e-7);
    // Each section's profiles run from offset -10 to 10 without a gap.
    ASSERT_EQ(sections[1].existing.size(), 1u);
    EXPECT_EQ(sections[1].existing[0].points.front().station, -10.0);
    EXPECT_NEAR(sections[1].existing[0].points.back().station, 10.0, 1e-12);
    EXPECT_NEAR(sections[1].leftEnd.y, 10.0, 1e-12);
    EXPECT_NEAR(sections[1].rightEnd.y, -10.0, 1e-12);
}

// At a vertex of the line the cut bisects the angle: a right angle turning left gives a cut at
// 45 degrees, its ends at the given widths from the vertex.
TEST(Sections, BisectTheAngleAtAVertex) {
    const geom::WeldedSurface ground =
        surfacetest::Weld({surfacetest::Grid(20, 20, [](int i, int) { return i; })});
    const std::vector<CrossSection> sections =
        Sections(ground, nullptr, {{5, 5}, {15, 5}, {15, 15}}, 10.0, 2.0, 3.0);
    ASSERT_EQ(sections.size(), 3u);
    const CrossSection& corner = sections[1];
    EXPECT_EQ(corner.station, 10.0);
    const double h = std::sqrt(0.5);
    EXPECT_NEAR(corner.leftEnd.x, 15 - 2 * h, 1e-12);
    EXPECT_NEAR(corner.leftEnd.y, 5 + 2 * h, 1e-12);
    EXPECT_NEAR(corner.rightEnd.x, 15 + 3 * h, 1e-12);
    EXPECT_NEAR(corner.rightEnd.y, 5 - 3 * h, 1e-12);
    ASSERT_EQ(corner.existing.size(), 1u);
    EXPECT_NEAR(corner.existing[0].points.front().z, 15 - 2 * h, 1e-12);
    EXPECT_TRUE(corner.design.empty());
    EXPECT_EQ(corner.cutArea, 0.0);
}

// A smooth hill cut by a level strip along a straight line: the average-end-area volume of
// sections every 20 m and every 10 m against the exact volume of the overlay. The method's
// error falls with the square of the interval (the sections' areas change smoothly here).
TEST(Sections, AverageEndAreaApproachesTheExactVolume) {
    const auto hill = [](double x, double y) {
        return 100 + 8 * std::sin(x / 30) + 5 * std::cos(y / 25) + 0.02 * x;
    };
    const geom::WeldedSurface ground =
        surfacetest::Weld({surfacetest::RandomSurface(4, 20000, -50, -50, 250, 50, hill)});
    geom::SurfaceMesh strip;
    strip.vertices = {{0, -15, 104}, {200, -15, 104}, {200, 15, 104}, {0, 15, 104}};
    strip.faces = {{0, 1, 2}, {0, 2, 3}};
    const geom::WeldedSurface pad = surfacetest::Weld({strip});
    geom::VolumeResult exact;
    ASSERT_EQ(geom::ComputeVolume(ground, pad, exact), geom::SurfaceStatus::Ok);
    double error[2] = {0, 0};
    const double intervals[2] = {20.0, 10.0};
    for (int i = 0; i < 2; ++i) {
        double cut = 0;
        double fill = 0;
        for (const CrossSection& s :
             Sections(ground, &pad, {{0, 0}, {200, 0}}, intervals[i], 15.0, 15.0)) {
            cut += s.cutVolume;
            fill += s.fillVolume;
        }
        error[i] = std::fabs(cut - exact.cut) + std::fabs(fill - exact.fill);
        EXPECT_LT(error[i], 0.01 * (exact.cut + exact.fill)) << intervals[i];
    }
    EXPECT_LT(error[1], error[0] / 2.5);
}

}  // namespace
