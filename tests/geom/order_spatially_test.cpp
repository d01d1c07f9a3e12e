// A surface ordered along the plan: the same points and triangles (as positions), counter-
// clockwise, with neighbours that share their edge, and triangles that follow one another close
// by where the welded order jumps about; on a random surface in survey coordinates and on one
// with a hole.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "geom/surface/order_spatially.h"
#include "surface_test_support.h"

namespace {

using Corners = std::array<double, 9>;  // x, y, z of the corners, from the lowest (x, y)

std::vector<Corners> TrianglesAsPositions(const geom::WeldedSurface& s) {
    std::vector<Corners> all;
    for (const geom::SurfaceTriangle& t : s.triangles) {
        std::array<geom::SurfacePoint, 3> c = {s.points[t.corner[0]], s.points[t.corner[1]],
                                               s.points[t.corner[2]]};
        // Turn the corners so that the lowest comes first; the turn keeps the orientation.
        const auto lower = [](const geom::SurfacePoint& a, const geom::SurfacePoint& b) {
            return a.x < b.x || (a.x == b.x && a.y < b.y);
        };
        std::rotate(c.begin(), std::min_element(c.begin(), c.end(), lower), c.end());
        all.push_back({c[0].x, c[0].y, c[0].z, c[1].x, c[1].y, c[1].z, c[2].x, c[2].y, c[2].z});
    }
    std::sort(all.begin(), all.end());
    return all;
}

// The mean plan distance between the first corners of consecutive triangles.
double MeanStep(const geom::WeldedSurface& s) {
    double sum = 0;
    for (std::size_t t = 1; t < s.triangles.size(); ++t) {
        const geom::SurfacePoint& a = s.points[s.triangles[t - 1].corner[0]];
        const geom::SurfacePoint& b = s.points[s.triangles[t].corner[0]];
        sum += std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y));
    }
    return sum / static_cast<double>(s.triangles.size() - 1);
}

void ExpectSameSurface(const geom::WeldedSurface& welded, const geom::WeldedSurface& ordered) {
    ASSERT_EQ(ordered.points.size(), welded.points.size());
    ASSERT_EQ(ordered.triangles.size(), welded.triangles.size());
    EXPECT_EQ(TrianglesAsPositions(ordered), TrianglesAsPositions(welded));
    std::size_t boundary[2] = {0, 0};
    for (const geom::WeldedSurface* s :
         std::array<const geom::WeldedSurface*, 2>{&welded, &ordered}) {
        for (const geom::SurfaceTriangle& t : s->triangles) {
            for (int k = 0; k < 3; ++k) {
                boundary[s == &ordered] += t.across[k] < 0 ? 1 : 0;
            }
        }
    }
    EXPECT_EQ(boundary[1], boundary[0]);
    for (std::size_t t = 0; t < ordered.triangles.size(); ++t) {
        const geom::SurfaceTriangle& a = ordered.triangles[t];
        for (int k = 0; k < 3; ++k) {
            if (a.across[k] < 0) {
                continue;
            }
            // The neighbour holds the edge the other way round and points back.
            const geom::SurfaceTriangle& b = ordered.triangles[a.across[k]];
            int back = -1;
            for (int j = 0; j < 3; ++j) {
                if (b.corner[j] == a.corner[(k + 1) % 3] && b.corner[(j + 1) % 3] == a.corner[k]) {
                    back = j;
                }
            }
            ASSERT_GE(back, 0) << "triangle " << t << " edge " << k;
            EXPECT_EQ(b.across[back], static_cast<std::int32_t>(t));
        }
    }
}

TEST(OrderSpatially, KeepsTheSurfaceAndFollowsThePlan) {
    // Triangulated points come in no plan order; ordered, the triangles step about a point
    // spacing (18 m here).
    const geom::WeldedSurface random = surfacetest::Weld(surfacetest::SplitLikeWriter(
        surfacetest::RandomSurface(7, 3000, 512000.0, 6170000.0, 513000.0, 6171000.0, nullptr),
        500));
    const geom::WeldedSurface orderedRandom = geom::OrderSpatially(random);
    ExpectSameSurface(random, orderedRandom);
    EXPECT_GT(MeanStep(random), 100.0);
    EXPECT_LT(MeanStep(orderedRandom), 30.0);
    // A grid with a hole is ordered row by row already; it stays within a cell or two a step.
    const geom::WeldedSurface holed =
        surfacetest::Weld({surfacetest::HoledGrid(60, [](int i, int j) { return i - 0.5 * j; })});
    const geom::WeldedSurface orderedHoled = geom::OrderSpatially(holed);
    ExpectSameSurface(holed, orderedHoled);
    EXPECT_LT(MeanStep(orderedHoled), 2.0);
}

}  // namespace
