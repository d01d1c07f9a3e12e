// The readers of point-list and handle-list arguments, on chains shaped as the interpreter makes
// them and on the odd shapes a caller can send.
#include <array>
#include <vector>

#include "geom/dct/dct.h"
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

TEST_F(PointListReaderTest, PlainWalkReadsPointsUntilANodeOfAnotherTypeAndNeverTheLastNode) {
    const struct {
        kafhost::Chain chain;
        std::vector<Point> points;
    } cases[] = {
        {ChainBuilder().lb().point(1, 2).point(3, 4).point(5, 6).le().build(),
         {{1, 2, 0}, {3, 4, 0}, {5, 6, 0}}},
        {ChainBuilder().lb().point3(1, 2, 7).point(3, 4).point3(5, 6, -1).le().build(),
         {{1, 2, 7}, {3, 4, 0}, {5, 6, -1}}},
        {ChainBuilder().lb().point(1, 2).str(L"x").point(3, 4).le().build(), {{1, 2, 0}}},
        {ChainBuilder().lb().point(1, 2).shortInt(5).point(3, 4).le().build(), {{1, 2, 0}}},
        // Nested lists are read flat until the first closing bracket.
        {ChainBuilder().lb().lb().point(1, 1).point(2, 2).le().lb().point(3, 3).le().le().build(),
         {{1, 1, 0}, {2, 2, 0}}},
        {ChainBuilder().lb().point(1, 1).point(2, 2).point(3, 3).build(), {{1, 1, 0}, {2, 2, 0}}},
        {ChainBuilder().point(1, 1).point(2, 2).build(), {{1, 1, 0}}},
        {kafhost::Chain(nullptr), {}},
        {ChainBuilder().point3(1, 2, 3).build(), {{1, 2, 3}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(kafhost::chainTypes(c.chain.get())));
        EXPECT_EQ(PlainWalk(c.chain.get()), c.points);
    }
}

// The counting walk gives the count (-1 when it ends on a node of another type inside the list),
// the node it ends on and the points the triangulator received.
TEST_F(PointListReaderTest, CountingWalkEndsOnTheArgumentAfterThePointList) {
    const struct {
        kafhost::Chain chain;
        int count;
        std::vector<short> rest;  // the types of the nodes from the end on
        std::vector<Point> points;
    } cases[] = {
        {ChainBuilder().lb().point(0, 0).point3(1, 0, 2).point(1, 1).le().str(L"TIN").build(),
         3,
         {RTSTR},
         {{0, 0, 0}, {1, 0, 2}, {1, 1, 0}}},
        {ChainBuilder().lb().point(0, 0).point(1, 0).point(1, 1).le().build(),
         3,
         {RTLE},
         {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}},
        // Duplicates count, the triangulator keeps one.
        {ChainBuilder().lb().point(0, 0).point(0, 0).point(1, 1).point(0, 1).le().nil().build(),
         4,
         {RTNIL},
         {{0, 0, 0}, {1, 1, 0}, {0, 1, 0}}},
        {ChainBuilder().lb().point(0, 0).point(1, 0).str(L"TIN").longInt(1000).le().build(),
         -1,
         {RTSTR, RTLONG, RTLE},
         {{0, 0, 0}, {1, 0, 0}}},
        {kafhost::Chain(nullptr), 0, {}, {}},
        {ChainBuilder().point3(4, 5, 6).build(), 1, {}, {{4, 5, 6}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(kafhost::chainTypes(c.chain.get())));
        geom::CDCT dct;
        const PointWalk walk = ReadPointListCounting(c.chain.get(), dct);
        EXPECT_EQ(walk.count, c.count);
        EXPECT_EQ(kafhost::chainTypes(walk.end), c.rest);
        std::vector<Point> points;
        for (const geom::CVertex& v : dct.GetVertices()) {
            points.push_back({v.x, v.y, v.z});
        }
        EXPECT_EQ(points, c.points);
    }
}

using HandleListReaderTest = HostTest;

// The reader takes the strings of the list, stops on its closing node and prints nothing while
// more arguments follow.
TEST_F(HandleListReaderTest, TakesTheStringsAndStopsOnTheClosingNode) {
    const struct {
        kafhost::Chain chain;
        std::vector<std::wstring> handles;
        std::vector<short> rest;  // the types of the nodes from the cursor on
    } cases[] = {
        {ChainBuilder().lb().str(L"2A").str(L"2B").le().real(1.5).build(),
         {L"2A", L"2B"},
         {RTLE, RTREAL}},
        {ChainBuilder().lb().str(L"2A").shortInt(7).point(1, 2).str(L"FF").le().nil().build(),
         {L"2A", L"FF"},
         {RTLE, RTNIL}},
        {ChainBuilder().lb().le().real(1.0).build(), {}, {RTLE, RTREAL}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(kafhost::chainTypes(c.chain.get())));
        const resbuf* cursor = c.chain.get();
        EXPECT_EQ(ReadHandleList(cursor), c.handles);
        EXPECT_EQ(kafhost::chainTypes(cursor), c.rest);
    }
    EXPECT_EQ(host().commandLine(), L"");
}

}  // namespace
