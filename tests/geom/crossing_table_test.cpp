// The cut/fill map's table of crossings handed to a neighbour: taken back exactly once, with the
// vertex and position they were added with, while thousands come and go (the table grows and
// closes the gaps taking leaves), checked against a std::map.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <utility>
#include <vector>

#include "geom/surface/crossing_table.h"

namespace {

using Pair = std::pair<std::uint64_t, std::uint64_t>;

TEST(CrossingTable, GivesBackEachCrossingOnceWhileManyComeAndGo) {
    geom::CCrossingTable table;
    std::map<Pair, geom::EdgeCrossing> kept;
    std::mt19937_64 random(24);
    // Few distinct edges, so that pairs come back often: each step takes its pair when it is kept
    // and, while adding, adds it otherwise (toggles it), some 11,000 kept at a time.
    std::uniform_int_distribution<std::uint64_t> edge(0, 150);
    std::int32_t next = 0;
    for (int step = 0; step < 200000; ++step) {
        const Pair pair{edge(random), edge(random)};
        // Toggle, then only take (the table empties), then toggle again.
        const bool adding = step < 60000 || (step >= 120000 && step < 150000);
        geom::EdgeCrossing taken{};
        const bool found = table.Take(pair.first, pair.second, taken);
        const auto it = kept.find(pair);
        ASSERT_EQ(found, it != kept.end()) << "step " << step;
        if (found) {
            EXPECT_EQ(taken.vertex, it->second.vertex);
            EXPECT_EQ(taken.x, it->second.x);
            EXPECT_EQ(taken.y, it->second.y);
            kept.erase(it);
            ASSERT_FALSE(table.Take(pair.first, pair.second, taken));  // once only
        }
        if (adding && !found) {
            const geom::EdgeCrossing made{pair.first, pair.second, next, 0.5 * next, -0.25 * next};
            ++next;
            table.Add(made);
            kept[pair] = made;
        }
    }
    EXPECT_GT(next, 5000);
    for (const auto& [pair, crossing] : kept) {
        geom::EdgeCrossing taken{};
        ASSERT_TRUE(table.Take(pair.first, pair.second, taken));
        EXPECT_EQ(taken.vertex, crossing.vertex);
    }
}

}  // namespace
