// The readers of point-list and handle-list arguments, on chains shaped as the interpreter makes
// them and on the odd shapes a caller can send.
#include <array>
#include <vector>

#include "geom/dct.h"
#include "host/argument_readers.h"
#include "module_fixture.h"

namespace {

using kafhost::ChainBuilder;
using Point = std::array<double, 3>;

// Records the points it is given, in order.
struct RecordingTriangulator {
    std::vector<Point> points;
    int AddPoint(double x, double y, double z) {
        points.push_back({x, y, z});
        return 1;
    }
};

std::vector<Point> PlainWalk(const resbuf* chain) {
    RecordingTriangulator triangulator;
    ReadPointList(chain, triangulator);
    return triangulator.points;
}

using PointListReaderTest = HostTest;

TEST_F(PointListReaderTest, PlainWalkReadsTwoAndThreeDimensionalPoints) {
    const auto chain2 = ChainBuilder().lb().point(1, 2).point(3, 4).point(5, 6).le().build();
    EXPECT_EQ(PlainWalk(chain2.get()), (std::vector<Point>{{1, 2, 0}, {3, 4, 0}, {5, 6, 0}}));
    const auto mixed =
        ChainBuilder().lb().point3(1, 2, 7).point(3, 4).point3(5, 6, -1).le().build();
    EXPECT_EQ(PlainWalk(mixed.get()), (std::vector<Point>{{1, 2, 7}, {3, 4, 0}, {5, 6, -1}}));
}

TEST_F(PointListReaderTest, PlainWalkStopsAtTheFirstNodeOfAnotherType) {
    const auto chain = ChainBuilder().lb().point(1, 2).str(L"x").point(3, 4).le().build();
    EXPECT_EQ(PlainWalk(chain.get()), (std::vector<Point>{{1, 2, 0}}));
    const auto number = ChainBuilder().lb().point(1, 2).shortInt(5).point(3, 4).le().build();
    EXPECT_EQ(PlainWalk(number.get()), (std::vector<Point>{{1, 2, 0}}));
}

TEST_F(PointListReaderTest, PlainWalkReadsNestedListsFlatUntilTheFirstClosingBracket) {
    const auto chain =
        ChainBuilder().lb().lb().point(1, 1).point(2, 2).le().lb().point(3, 3).le().le().build();
    EXPECT_EQ(PlainWalk(chain.get()), (std::vector<Point>{{1, 1, 0}, {2, 2, 0}}));
}

TEST_F(PointListReaderTest, PlainWalkNeverReadsTheLastNodeOfALongerChain) {
    const auto chain = ChainBuilder().lb().point(1, 1).point(2, 2).point(3, 3).build();
    EXPECT_EQ(PlainWalk(chain.get()), (std::vector<Point>{{1, 1, 0}, {2, 2, 0}}));
    const auto twoPoints = ChainBuilder().point(1, 1).point(2, 2).build();
    EXPECT_EQ(PlainWalk(twoPoints.get()), (std::vector<Point>{{1, 1, 0}}));
}

TEST_F(PointListReaderTest, PlainWalkOfAnEmptyChainOrASinglePoint) {
    EXPECT_TRUE(PlainWalk(nullptr).empty());
    const auto single = ChainBuilder().point3(1, 2, 3).build();
    EXPECT_EQ(PlainWalk(single.get()), (std::vector<Point>{{1, 2, 3}}));
}

// The counting walk, with the points the triangulator received.
struct CountingResult {
    PointWalk walk;
    std::vector<geom::CVertex> points;
};

CountingResult CountingWalk(const resbuf* chain) {
    geom::CDCT dct;
    CountingResult result;
    result.walk = ReadPointListCounting(chain, dct);
    result.points = dct.GetVertices();
    return result;
}

TEST_F(PointListReaderTest, CountingWalkEndsOnTheArgumentAfterThePointList) {
    const auto chain =
        ChainBuilder().lb().point(0, 0).point3(1, 0, 2).point(1, 1).le().str(L"TIN").build();
    const CountingResult result = CountingWalk(chain.get());
    EXPECT_EQ(result.walk.count, 3);
    ASSERT_NE(result.walk.end, nullptr);
    EXPECT_EQ(result.walk.end->restype, RTSTR);
    ASSERT_EQ(result.points.size(), 3u);
    EXPECT_EQ(result.points[1].z, 2.0);
}

TEST_F(PointListReaderTest, CountingWalkOfAPointListAloneEndsOnItsClosingNode) {
    const auto chain = ChainBuilder().lb().point(0, 0).point(1, 0).point(1, 1).le().build();
    const CountingResult result = CountingWalk(chain.get());
    EXPECT_EQ(result.walk.count, 3);
    ASSERT_NE(result.walk.end, nullptr);
    EXPECT_EQ(result.walk.end->restype, RTLE);
    EXPECT_EQ(result.walk.end->rbnext, nullptr);
}

TEST_F(PointListReaderTest, CountingWalkCountsDuplicates) {
    const auto chain =
        ChainBuilder().lb().point(0, 0).point(0, 0).point(1, 1).point(0, 1).le().nil().build();
    const CountingResult result = CountingWalk(chain.get());
    EXPECT_EQ(result.walk.count, 4);
    EXPECT_EQ(result.points.size(), 3u);
    ASSERT_NE(result.walk.end, nullptr);
    EXPECT_EQ(result.walk.end->restype, RTNIL);
}

TEST_F(PointListReaderTest, CountingWalkEndsOnANodeOfAnotherTypeWithCountMinusOne) {
    const auto chain =
        ChainBuilder().lb().point(0, 0).point(1, 0).str(L"TIN").longInt(1000).le().build();
    const CountingResult result = CountingWalk(chain.get());
    EXPECT_EQ(result.walk.count, -1);
    ASSERT_NE(result.walk.end, nullptr);
    EXPECT_EQ(result.walk.end->restype, RTSTR);
    EXPECT_EQ(result.walk.end->rbnext->restype, RTLONG);
    EXPECT_EQ(result.points.size(), 2u);
}

TEST_F(PointListReaderTest, CountingWalkOfAnEmptyChainOrASinglePointEndsWithoutANode) {
    const CountingResult empty = CountingWalk(nullptr);
    EXPECT_EQ(empty.walk.count, 0);
    EXPECT_EQ(empty.walk.end, nullptr);
    const auto single = ChainBuilder().point3(4, 5, 6).build();
    const CountingResult one = CountingWalk(single.get());
    EXPECT_EQ(one.walk.count, 1);
    EXPECT_EQ(one.walk.end, nullptr);
    ASSERT_EQ(one.points.size(), 1u);
    EXPECT_EQ(one.points[0].z, 6.0);
}

using HandleListReaderTest = HostTest;

TEST_F(HandleListReaderTest, StopsOnTheClosingNodeAndPrintsNothing) {
    const auto chain = ChainBuilder().lb().str(L"2A").str(L"2B").le().real(1.5).build();
    const resbuf* cursor = chain.get();
    EXPECT_EQ(ReadHandleList(cursor), (std::vector<std::wstring>{L"2A", L"2B"}));
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(cursor->restype, RTLE);
    EXPECT_EQ(cursor->rbnext->restype, RTREAL);
    EXPECT_EQ(host().commandLine(), L"");
}

TEST_F(HandleListReaderTest, IgnoresNodesThatAreNoStrings) {
    const auto chain =
        ChainBuilder().lb().str(L"2A").shortInt(7).point(1, 2).str(L"FF").le().nil().build();
    const resbuf* cursor = chain.get();
    EXPECT_EQ(ReadHandleList(cursor), (std::vector<std::wstring>{L"2A", L"FF"}));
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(cursor->restype, RTLE);
}

TEST_F(HandleListReaderTest, EmptyListLeavesTheCursorOnItsClosingNode) {
    const auto chain = ChainBuilder().lb().le().real(1.0).build();
    const resbuf* cursor = chain.get();
    EXPECT_TRUE(ReadHandleList(cursor).empty());
    EXPECT_EQ(cursor, chain.get()->rbnext);
    EXPECT_EQ(host().commandLine(), L"");
}

TEST_F(HandleListReaderTest, ListAsLastArgumentPrintsEveryHandleAndLeavesTheCursorNull) {
    const auto chain = ChainBuilder().lb().str(L"2A").str(L"2B").le().build();
    const resbuf* cursor = chain.get();
    EXPECT_EQ(ReadHandleList(cursor), (std::vector<std::wstring>{L"2A", L"2B"}));
    EXPECT_EQ(cursor, nullptr);
    EXPECT_EQ(host().commandLine(), L"End Handle: 2A\nEnd Handle: 2B\n");
}

}  // namespace
