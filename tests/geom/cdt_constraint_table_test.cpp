// The constraint records by edge: found again after the table grows, taken out and put back,
// listed once each, and refused where an edge has none.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <stdexcept>

#include "geom/cdt/cdt_constraint_table.h"

namespace {

using geom::CdtConstraint;
using geom::CdtConstraintTable;
using geom::CdtEdgeKey;

TEST(CdtConstraintTable, KeepsEveryRecordThroughGrowthAndTakings) {
    CdtConstraintTable table;
    table.reserve(4);  // far too little: the table grows many times
    std::map<std::uint64_t, int> expected;
    std::mt19937 random(5);
    std::uniform_int_distribution<std::uint32_t> vertex(0, 3000);
    for (int k = 0; k < 20000; ++k) {
        const std::uint64_t key = CdtEdgeKey(vertex(random), vertex(random));
        CdtConstraint& record = table[key];
        record.outer += 1;
        record.owners.push_back(static_cast<std::uint32_t>(k));
        expected[key] += 1;
        if (k % 7 == 0) {  // every seventh edge loses its record again
            const CdtConstraint taken = table.Take(key);
            EXPECT_EQ(taken.outer, expected[key]);
            expected.erase(key);
        }
    }
    ASSERT_EQ(table.size(), expected.size());
    std::size_t listed = 0;
    table.ForEach([&](std::uint64_t key, const CdtConstraint& record) {
        ++listed;
        ASSERT_EQ(expected.count(key), 1u);
        EXPECT_EQ(record.outer, expected[key]);
        EXPECT_EQ(record.owners.size(), static_cast<std::size_t>(expected[key]));
        EXPECT_EQ(&table.at(key), &record);
    });
    EXPECT_EQ(listed, expected.size());
}

TEST(CdtConstraintTable, ARecordTakenOutIsGoneUntilItsEdgeIsFixedAgain) {
    CdtConstraintTable table;
    EXPECT_THROW(table.at(CdtEdgeKey(1, 2)), std::out_of_range);
    EXPECT_EQ(table.Take(CdtEdgeKey(1, 2)).owners.size(), 0u);

    table[CdtEdgeKey(2, 1)] = CdtConstraint{1, -1, {7}};
    EXPECT_EQ(table.at(CdtEdgeKey(1, 2)).hole, -1);
    const CdtConstraint taken = table.Take(CdtEdgeKey(1, 2));
    EXPECT_EQ(taken.owners, std::vector<std::uint32_t>{7});
    EXPECT_EQ(table.size(), 0u);
    EXPECT_THROW(table.at(CdtEdgeKey(1, 2)), std::out_of_range);
    EXPECT_EQ(table.Take(CdtEdgeKey(1, 2)).outer, 0);  // taken twice: nothing the second time

    // Fixed again: a fresh record, not the one taken out.
    const CdtConstraint& again = table[CdtEdgeKey(1, 2)];
    EXPECT_EQ(again.outer, 0);
    EXPECT_TRUE(again.owners.empty());
    int listed = 0;
    table.ForEach([&](std::uint64_t, const CdtConstraint&) { ++listed; });
    EXPECT_EQ(listed, 1);
}

}  // namespace
