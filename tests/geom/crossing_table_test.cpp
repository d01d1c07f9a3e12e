// The cut/fill map's inboxes of crossings handed to a neighbour: taken back exactly once, from
// the triangle they were handed to only, with the vertex and position they were added with,
// while thousands come and go (freed entries are used again), checked against a std::map.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <random>
#include <tuple>
#include <vector>

#include "geom/surface/crossing_table.h"

namespace {

using Key = std::tuple<std::int32_t, std::uint64_t, std::uint64_t>;  // triangle, edges

TEST(CrossingTable, GivesBackEachCrossingOnceToItsTriangleWhileManyComeAndGo) {
    constexpr std::int32_t kTriangles = 40;
    geom::CCrossingTable table(kTriangles);
    std::map<Key, geom::EdgeCrossing> kept;
    std::mt19937_64 random(24);
    // Few distinct triangles and edges, so that pairs come back often and inboxes grow long:
    // each step takes its pair when it is kept and, while adding, adds it otherwise (toggles
    // it), then only takes (the inboxes empty), then toggles again.
    std::uniform_int_distribution<std::int32_t> triangle(0, kTriangles - 1);
    std::uniform_int_distribution<std::uint64_t> edge(0, 20);
    std::int32_t next = 0;
    std::size_t most = 0;  // kept at a time
    for (int step = 0; step < 200000; ++step) {
        const Key key{triangle(random), edge(random), edge(random)};
        const auto [t, existingEdge, designEdge] = key;
        const bool adding = step < 60000 || (step >= 120000 && step < 150000);
        geom::EdgeCrossing taken{};
        const bool found = table.Take(t, existingEdge, designEdge, taken);
        const auto it = kept.find(key);
        ASSERT_EQ(found, it != kept.end()) << "step " << step;
        if (found) {
            EXPECT_EQ(taken.existingEdge, existingEdge);
            EXPECT_EQ(taken.designEdge, designEdge);
            EXPECT_EQ(taken.vertex, it->second.vertex);
            EXPECT_EQ(taken.x, it->second.x);
            EXPECT_EQ(taken.y, it->second.y);
            kept.erase(it);
            ASSERT_FALSE(table.Take(t, existingEdge, designEdge, taken));  // once only
        }
        if (adding && !found) {
            const geom::EdgeCrossing made{existingEdge, designEdge, next, 0.5 * next, -0.25 * next};
            ++next;
            table.Add(t, made);
            kept[key] = made;
            most = std::max(most, kept.size());
            // Handed to t, it is not in another triangle's inbox.
            const std::int32_t other = (t + 1) % kTriangles;
            if (kept.count({other, existingEdge, designEdge}) == 0) {
                ASSERT_FALSE(table.Take(other, existingEdge, designEdge, taken));
            }
        }
    }
    EXPECT_GT(next, 5000);
    EXPECT_GT(most, 5000u);
    EXPECT_GT(kept.size(), 100u);
    for (const auto& [key, crossing] : kept) {
        geom::EdgeCrossing taken{};
        ASSERT_TRUE(table.Take(std::get<0>(key), std::get<1>(key), std::get<2>(key), taken));
        EXPECT_EQ(taken.vertex, crossing.vertex);
    }
}

}  // namespace
