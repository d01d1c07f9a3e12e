// The constrained mesh's lists in lent storage: a list stays within the room it is lent, moves
// to storage of its own with its records when the room is full (also when extended by records
// for the caller to write), and copies are its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "geom/cdt/cdt_mesh.h"

namespace {

using geom::CdtTriangle;
using CdtTriangleArray = geom::CdtLentArray<CdtTriangle>;

CdtTriangle Numbered(std::uint32_t k) {
    return CdtTriangle{
        {k, k + 1, k + 2}, {4 * k, 4 * k + 1, 4 * k + 2}, static_cast<std::uint8_t>(k)};
}

void ExpectNumbered(const CdtTriangleArray& list, std::size_t count) {
    ASSERT_EQ(list.size(), count);
    for (std::uint32_t k = 0; k < count; ++k) {
        EXPECT_EQ(list[k].v[2], k + 2);
        EXPECT_EQ(list[k].n[1], 4 * k + 1);
        EXPECT_EQ(list[k].fixed, k);
    }
}

TEST(CdtLentArray, UsesTheLentRoomThenMovesOutWithItsTriangles) {
    // Room for 4 triangles, then a guard triangle the list must never write.
    std::vector<CdtTriangle> room(5, CdtTriangle{{7, 7, 7}, {7, 7, 7}, 7});
    CdtTriangleArray list;
    list.Lend(room.data(), 4);
    EXPECT_EQ(list.LentEnd(), room.data() + 4);
    for (std::uint32_t k = 0; k < 4; ++k) {
        list.push_back(Numbered(k));
    }
    EXPECT_EQ(&list[0], room.data());
    EXPECT_EQ(room[3].v[0], 3u);

    list.push_back(Numbered(4));  // the room is full: the list moves out
    EXPECT_EQ(list.LentEnd(), nullptr);
    EXPECT_NE(&list[0], room.data());
    ExpectNumbered(list, 5);
    EXPECT_EQ(room[4].v[0], 7u);  // the guard is untouched

    // Changes go to the list's own storage now, not to the lent room.
    list[0].v[0] = 99;
    EXPECT_EQ(room[0].v[0], 0u);
    for (std::uint32_t k = 5; k < 40; ++k) {
        list.push_back(Numbered(k));
    }
    EXPECT_EQ(list[0].v[0], 99u);
    list[0].v[0] = 0;
    ExpectNumbered(list, 40);
}

TEST(CdtLentArray, CopiesHaveStorageOfTheirOwn) {
    std::vector<CdtTriangle> room(8);
    CdtTriangleArray list;
    list.Lend(room.data(), room.size());
    for (std::uint32_t k = 0; k < 3; ++k) {
        list.push_back(Numbered(k));
    }
    CdtTriangleArray copy = list;
    EXPECT_EQ(copy.LentEnd(), nullptr);
    ExpectNumbered(copy, 3);
    copy[1].v[0] = 42;
    copy.push_back(Numbered(3));
    EXPECT_EQ(list[1].v[0], 1u);
    EXPECT_EQ(list.size(), 3u);

    CdtTriangleArray empty;
    copy = empty;
    EXPECT_TRUE(copy.empty());
    copy.push_back(Numbered(0));
    ExpectNumbered(copy, 1);
}

TEST(CdtLentArray, ReserveAndResizeKeepTheRecords) {
    CdtTriangleArray list;
    list.push_back(Numbered(0));
    list.push_back(Numbered(1));
    list.reserve(1000);
    EXPECT_EQ(list.LentEnd(), nullptr);
    ExpectNumbered(list, 2);

    // A resize within the lent room fills the new records; beyond it, the list moves out.
    std::uint32_t room[4] = {7, 7, 7, 7};
    geom::CdtLentArray<std::uint32_t> numbers;
    numbers.Lend(room, 3);
    numbers.push_back(5);
    numbers.resize(3, 9);
    EXPECT_EQ(room[0], 5u);
    EXPECT_EQ(room[2], 9u);
    numbers.resize(6, 1);
    EXPECT_EQ(numbers.LentEnd(), nullptr);
    const std::uint32_t expected[6] = {5, 9, 9, 1, 1, 1};
    EXPECT_TRUE(std::equal(numbers.begin(), numbers.end(), expected));
    EXPECT_EQ(room[3], 7u);
    numbers.resize(2, 0);
    EXPECT_EQ(numbers.size(), 2u);
    numbers = {4, 3, 2};
    const std::uint32_t assigned[3] = {4, 3, 2};
    EXPECT_TRUE(std::equal(numbers.begin(), numbers.end(), assigned, assigned + 3));
}

TEST(CdtLentArray, ExtendGivesRecordsToWriteWithinTheRoomOrBeyondIt) {
    std::uint32_t room[6] = {7, 7, 7, 7, 7, 7};
    geom::CdtLentArray<std::uint32_t> numbers;
    numbers.Lend(room, 5);
    numbers.push_back(1);
    std::uint32_t* const first = numbers.Extend(3);
    EXPECT_EQ(first, room + 1);
    EXPECT_EQ(numbers.size(), 4u);
    first[0] = 2;
    first[1] = 3;
    first[2] = 4;
    EXPECT_EQ(numbers.LentEnd(), room + 5);
    // Two more than the room holds: the list moves out with what was written.
    std::uint32_t* const more = numbers.Extend(3);
    EXPECT_EQ(numbers.LentEnd(), nullptr);
    EXPECT_EQ(more, &numbers[4]);
    more[0] = 5;
    more[1] = 6;
    more[2] = 7;
    const std::uint32_t expected[7] = {1, 2, 3, 4, 5, 6, 7};
    EXPECT_TRUE(std::equal(numbers.begin(), numbers.end(), expected, expected + 7));
    EXPECT_EQ(room[4], 7u);  // the lent room keeps what the list had not written there
    EXPECT_EQ(room[5], 7u);
}

}  // namespace
