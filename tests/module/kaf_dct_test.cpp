// kaf-dct as a user calls it: the triangles of a point list as point triples, counter-clockwise
// with the lowest-indexed corner first, or the triangulator's own text and nil.
#include <string>
#include <vector>

#include "module_fixture.h"

namespace {

using kafhost::LispValue;

// A triangle as the result lists it: three 3D points.
LispValue Triangle(const std::array<double, 3>& a, const std::array<double, 3>& b,
                   const std::array<double, 3>& c) {
    return LispValue::list({LispValue::point(a[0], a[1], a[2]), LispValue::point(b[0], b[1], b[2]),
                            LispValue::point(c[0], c[1], c[2])});
}

class KafDctTest : public ModuleTest {
protected:
    static void ExpectTriangles(const kafhost::CallResult& result, const LispValue& expected) {
        ASSERT_TRUE(result.defined);
        EXPECT_EQ(result.status, RSRSLT);
        EXPECT_TRUE(result.resultSet);
        EXPECT_TRUE(result.resultValid) << kafhost::wideToUtf8(result.resultError);
        EXPECT_EQ(result.value, expected) << kafhost::wideToUtf8(kafhost::toLispText(result.value));
        EXPECT_EQ(result.printed, L"");
    }

    static void ExpectFailure(const kafhost::CallResult& result, const std::wstring& printed) {
        ASSERT_TRUE(result.defined);
        EXPECT_EQ(result.status, RSERR);
        EXPECT_TRUE(result.resultSet);
        EXPECT_TRUE(result.value.isNil());
        EXPECT_EQ(result.printed, printed);
    }
};

TEST_F(KafDctTest, UnitSquareInAnyOrderGivesTheSameTwoCounterClockwiseTriangles) {
    const LispValue expected = LispValue::list(
        {Triangle({0, 0, 0}, {1, 0, 0}, {0, 1, 0}), Triangle({0, 1, 0}, {1, 0, 0}, {1, 1, 0})});
    ExpectTriangles(Call(L"kaf-dct", {PointList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}})}),
                    expected);
    ExpectTriangles(Call(L"kaf-dct", {PointList({{1, 1, 0}, {0, 1, 0}, {1, 0, 0}, {0, 0, 0}})}),
                    expected);
    ExpectTriangles(Call(L"kaf-dct", {PointList({{0, 1, 0}, {1, 1, 0}, {0, 0, 0}, {1, 0, 0}})}),
                    expected);
}

TEST_F(KafDctTest, GridGivesItsTrianglesInTriangulatorOrderWithElevationsCarried) {
    const auto result =
        Call(L"kaf-dct",
             {PointList({{0, 0, 1}, {1, 0, 2}, {2, 0, 3}, {0, 1, 4}, {1, 1, 5}, {2, 1, 6}})});
    ExpectTriangles(result, LispValue::list({Triangle({0, 0, 1}, {1, 0, 2}, {1, 1, 5}),
                                             Triangle({0, 0, 1}, {1, 1, 5}, {0, 1, 4}),
                                             Triangle({1, 0, 2}, {2, 0, 3}, {2, 1, 6}),
                                             Triangle({1, 0, 2}, {2, 1, 6}, {1, 1, 5})}));
}

TEST_F(KafDctTest, TwoDimensionalPointsComeBackWithZeroElevation) {
    const auto result = Call(L"kaf-dct", {PointList2({{0, 0}, {1, 0}, {0, 1}, {1, 1}})});
    ExpectTriangles(result, LispValue::list({Triangle({0, 0, 0}, {1, 0, 0}, {0, 1, 0}),
                                             Triangle({0, 1, 0}, {1, 0, 0}, {1, 1, 0})}));
    ASSERT_EQ(result.value.items().size(), 2u);
    for (const LispValue& corner : result.value.items()[0].items()) {
        ASSERT_EQ(corner.items().size(), 3u);
        EXPECT_EQ(corner.items()[2], LispValue::real(0.0));
    }
}

TEST_F(KafDctTest, PointsAtOnePlanPositionCountOnceWithTheSurvivorsElevation) {
    // Of (1 1 5) and (1 1 7) the sort leaves (1 1 7) before (1 1 5); the last of the run stays.
    const auto result =
        Call(L"kaf-dct", {PointList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 5}, {1, 1, 7}})});
    ExpectTriangles(result, LispValue::list({Triangle({0, 0, 0}, {1, 0, 0}, {0, 1, 0}),
                                             Triangle({0, 1, 0}, {1, 0, 0}, {1, 1, 5})}));
}

TEST_F(KafDctTest, FewerThanThreePlanPositionsPrintTheTriangulatorsTextAndGiveNil) {
    const std::wstring text = L"A minimum of 3 vertices are required!\n";
    ExpectFailure(Call(L"kaf-dct", {PointList({{0, 0, 0}, {1, 1, 0}})}), text);
    ExpectFailure(Call(L"kaf-dct", {PointList({{0, 0, 0}, {1, 1, 0}, {1, 1, 3}, {0, 0, 2}})}),
                  text);
    ExpectFailure(Call(L"kaf-dct", {PointList({{2, 3, 4}})}), text);
    ExpectFailure(Call(L"kaf-dct"), text);
}

TEST_F(KafDctTest, CollinearPointsRaiseNothing) {
    const auto result = Call(L"kaf-dct", {PointList({{0, 0, 0}, {1, 1, 0}, {2, 2, 0}})});
    ASSERT_TRUE(result.defined);
    EXPECT_EQ(result.status, RSRSLT);
    EXPECT_TRUE(result.value.isNil());
    EXPECT_EQ(result.printed, L"");
}

TEST_F(KafDctTest, NodeOfAnotherTypeEndsThePointList) {
    // Only the three points before the string are triangulated.
    const kafhost::Chain chain = kafhost::ChainBuilder()
                                     .lb()
                                     .point3(0, 0, 0)
                                     .point3(2, 0, 0)
                                     .point3(0, 2, 0)
                                     .str(L"TIN")
                                     .point3(2, 2, 0)
                                     .le()
                                     .build();
    ExpectTriangles(CallWithChain(L"kaf-dct", chain.get()),
                    LispValue::list({Triangle({0, 0, 0}, {2, 0, 0}, {0, 2, 0})}));
}

TEST_F(KafDctTest, ResultNodeTheHostCannotMakeGivesNilWithoutText) {
    const auto args = std::vector<LispValue>{PointList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}})};
    host().clearFaults();
    ASSERT_EQ(Call(L"kaf-dct", args).status, RSRSLT);
    // The result of one triangle takes 7 nodes, the last of the host's acutNewRb calls.
    const int calls = static_cast<int>(host().callCount(kafhost::HostCall::kAcutNewRb));
    ASSERT_GE(calls, 7);
    for (int failing : {calls - 6, calls - 3, calls}) {
        host().clearFaults();
        host().failCall(kafhost::HostCall::kAcutNewRb, failing);
        ExpectFailure(Call(L"kaf-dct", args), L"");
    }
}

}  // namespace
