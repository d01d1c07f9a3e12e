// kaf-dct, triangulate and kaf-dct-pface as a user calls them: the triangles of a point list as
// point triples, kaf-dct's counter-clockwise with the lowest-indexed corner first, triangulate's
// in the incremental triangulator's own corner order, never any text; kaf-dct-pface's one 3D face
// per triangle of kaf-dct's triangulation with T as the result, a face whose host call fails
// skipped; result chains the host cannot make; points with a coordinate that is not finite,
// refused by every function that takes a point list. (Too few or collinear points are in the
// refusal tables.)
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "geom/kernel/triangle.h"
#include "host/result_lists.h"
#include "mesh_writer_checks.h"
#include "module_fixture.h"

namespace {

using kafhost::EntityInfo;
using kafhost::EntityKind;
using kafhost::HostCall;
using kafhost::LispValue;

using KafDctTest = ModuleTest;

TEST_F(KafDctTest, GridGivesItsTrianglesInTriangulatorOrderWithElevationsCarried) {
    const auto result =
        Call(L"kaf-dct",
             {PointList({{0, 0, 1}, {1, 0, 2}, {2, 0, 3}, {0, 1, 4}, {1, 1, 5}, {2, 1, 6}})});
    ExpectQuietResult(result, LispValue::list({Triangle({0, 0, 1}, {1, 0, 2}, {1, 1, 5}),
                                               Triangle({0, 0, 1}, {1, 1, 5}, {0, 1, 4}),
                                               Triangle({1, 0, 2}, {2, 0, 3}, {2, 1, 6}),
                                               Triangle({1, 0, 2}, {2, 1, 6}, {1, 1, 5})}));
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
        ExpectFailedWithNil(Call(L"kaf-dct", args), L"");
    }
}

const std::wstring kNotFinite = L"A point has a coordinate that is not a finite number!\n";

// 338 scattered points with (NaN NaN 0.0) among them: a set on which the triangulator, if the
// point reached it, would never return.
LispValue ScatteredPointsWithNaN() {
    std::uint32_t state = 1070;
    const auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return static_cast<double>((state >> 8) % 1000);
    };
    const int nanAt = static_cast<int>(next()) % 339;
    std::vector<LispValue> points;
    for (int k = 0; k < 339; ++k) {
        const double x = next() / 10;
        const double y = next() / 10;
        points.push_back(k == nanAt ? LispValue::point(std::nan(""), std::nan(""), 0.0)
                                    : LispValue::point(x, y, 0.0));
    }
    return LispValue::list(points);
}

// 1000 points of a grid and one more whose coordinate, given by a calculation, is infinite.
LispValue GridWithAnInfinitePoint(int coordinate) {
    std::vector<LispValue> points;
    for (int k = 0; k < 1000; ++k) {
        points.push_back(LispValue::point(k % 40, k / 40, 1.0));
    }
    const volatile double large = 1e308;
    double xyz[3] = {20.5, 10.5, 1.0};
    xyz[coordinate] = large * 10.0;
    points.push_back(LispValue::point(xyz[0], xyz[1], xyz[2]));
    return LispValue::list(points);
}

using NonFinitePointTest = ModuleTest;

TEST_F(NonFinitePointTest, EveryPointListFunctionRefusesThePointAndWritesNothing) {
    const std::vector<LispValue> lists = {ScatteredPointsWithNaN(), GridWithAnInfinitePoint(0),
                                          GridWithAnInfinitePoint(1), GridWithAnInfinitePoint(2)};
    for (const LispValue& points : lists) {
        // The list functions and the face writer end with the text and nil.
        for (const wchar_t* name : {L"kaf-dct", L"triangulate", L"kaf-dct-pface"}) {
            SCOPED_TRACE(kafhost::wideToUtf8(name));
            host().reset();
            const kafhost::CallResult result = Call(name, {points});
            ASSERT_TRUE(result.defined);
            EXPECT_EQ(result.status, RSERR);
            EXPECT_TRUE(result.resultSet);
            EXPECT_TRUE(result.value.isNil());
            EXPECT_EQ(result.printed, kNotFinite);
            EXPECT_TRUE(host().snapshot().entities.empty());
        }
        // The mesh functions end as after a triangulator failure: the text and no result.
        for (const wchar_t* name : {L"kaf-dct-pfacemesh", L"kaf-dct-subdmesh"}) {
            SCOPED_TRACE(kafhost::wideToUtf8(name));
            host().reset();
            const kafhost::CallResult result = Call(name, {points, LispValue::nil()});
            ASSERT_TRUE(result.defined);
            EXPECT_EQ(result.status, RSERR);
            EXPECT_FALSE(result.resultSet);
            EXPECT_EQ(result.printed, L"\nStart Calculation..." + kNotFinite);
            EXPECT_TRUE(host().snapshot().entities.empty());
        }
    }
}

using TriangulateTest = ModuleTest;

TEST_F(TriangulateTest, UnitSquareGivesTheDiagonalFromOriginWithItsElevations) {
    ExpectQuietResult(
        Call(L"triangulate", {PointList({{0, 0, 1}, {1, 0, 2}, {0, 1, 3}, {1, 1, 4}})}),
        LispValue::list({Triangle({0, 1, 3}, {0, 0, 1}, {1, 1, 4}),
                         Triangle({0, 0, 1}, {1, 0, 2}, {1, 1, 4})}));
}

TEST_F(TriangulateTest, InnerPointGivesThreeTrianglesWithoutReorientation) {
    ExpectQuietResult(Call(L"triangulate", {PointList2({{0, 0}, {4, 0}, {2, 4}, {2, 1}})}),
                      LispValue::list({Triangle({0, 0, 0}, {2, 1, 0}, {2, 4, 0}),
                                       Triangle({2, 1, 0}, {0, 0, 0}, {4, 0, 0}),
                                       Triangle({2, 4, 0}, {2, 1, 0}, {4, 0, 0})}));
}

TEST_F(TriangulateTest, TrianglesNextToTheHullAreLost) {
    ExpectQuietResult(Call(L"triangulate", {PointList2({{0, 0}, {0, 1}, {1, 1}, {3, 2}})}),
                      LispValue::list({Triangle({0, 1, 0}, {0, 0, 0}, {1, 1, 0})}));
}

// Five points on one empty circle: three triangles covering the polygon once, each
// counter-clockwise, not five overlapping ones.
TEST_F(TriangulateTest, FivePointsOnOneCircleGiveThePolygonsThreeTriangles) {
    ExpectQuietResult(Call(L"triangulate",
                           {PointList({{3, 1, 1}, {4, 4, 3}, {5, 2, 7}, {2, 3, 10}, {3, 4, 11}})}),
                      LispValue::list({Triangle({3, 4, 11}, {2, 3, 10}, {4, 4, 3}),
                                       Triangle({2, 3, 10}, {3, 1, 1}, {4, 4, 3}),
                                       Triangle({4, 4, 3}, {3, 1, 1}, {5, 2, 7})}));
}

// Eight points around a square at the largest coordinates doubles hold (the 3 x 3 grid without
// its centre): the triangles of the same points at 1/16, which the triangulator can enclose,
// with the points' own coordinates.
TEST_F(TriangulateTest, PointsAtTheLargestCoordinatesAreTriangulated) {
    const auto ring = [](double s) {
        return PointList({{s, s, 1},
                          {-s, s, 2},
                          {s, -s, 3},
                          {-s, -s, 4},
                          {0, s, 5},
                          {s, 0, 6},
                          {0, -s, 7},
                          {-s, 0, 8}});
    };
    const kafhost::CallResult small = Call(L"triangulate", {ring(1e308 / 16)});
    std::vector<LispValue> expected;
    for (const LispValue& triangle : small.value.items()) {
        std::vector<LispValue> corners;
        for (const LispValue& corner : triangle.items()) {
            const std::vector<LispValue>& xyz = corner.items();
            corners.push_back(LispValue::list({LispValue::real(xyz[0].asNumber() * 16),
                                               LispValue::real(xyz[1].asNumber() * 16),
                                               LispValue::real(xyz[2].asNumber())}));
        }
        expected.push_back(LispValue::list(corners));
    }
    ASSERT_EQ(expected.size(), 6u);
    ExpectQuietResult(Call(L"triangulate", {ring(1e308)}), LispValue::list(expected));
}

geom::CTriangle MakeTriangle(geom::CVertex p1, geom::CVertex p2, geom::CVertex p3) {
    geom::CTriangle triangle;
    triangle.p1 = p1;
    triangle.p2 = p2;
    triangle.p3 = p3;
    return triangle;
}

class ResultListsTest : public HostTest {
protected:
    const std::vector<geom::CTriangle> triangles_ = {
        MakeTriangle({0, 0, 1}, {1, 0, 2}, {0, 1, 3}),
        MakeTriangle({0, 1, 3}, {1, 0, 2}, {1, 1, -4.5})};
};

TEST_F(ResultListsTest, NodeTheHostCannotMakeGivesNoChain) {
    // 12 nodes for two triangles, 5 for three strings: every one of them may be the one missing.
    for (int failing = 1; failing <= 12; ++failing) {
        host().failCall(kafhost::HostCall::kAcutNewRb, failing);
        EXPECT_EQ(TrianglesToResultList(triangles_), nullptr) << "node " << failing;
        host().clearFaults();
    }
    for (int failing = 1; failing <= 5; ++failing) {
        host().failCall(kafhost::HostCall::kAcutNewRb, failing);
        EXPECT_EQ(StringsToResultList({L"2A", L"2B", L"2C"}), nullptr) << "node " << failing;
        host().clearFaults();
    }
}

class KafDctPfaceTest : public ModuleTest {
protected:
    // A 3 by 2 grid with elevations: four triangles.
    static LispValue Grid() {
        return PointList({{0, 0, 1}, {1, 0, 2}, {2, 0, 3}, {0, 1, 4}, {1, 1, 5}, {2, 1, 6}});
    }

    // The faces kaf-dct-pface must write: kaf-dct's triangles, fourth corner equal to the third.
    static std::vector<std::vector<kafhost::Point3>> ExpectedCorners(const LispValue& points) {
        const kafhost::CallResult triangles = Call(L"kaf-dct", {points});
        EXPECT_EQ(triangles.status, RSRSLT);
        std::vector<std::vector<kafhost::Point3>> faces;
        for (const LispValue& triangle : triangles.value.items()) {
            std::vector<kafhost::Point3> corners;
            for (const LispValue& p : triangle.items()) {
                corners.push_back(
                    {p.items()[0].asReal(), p.items()[1].asReal(), p.items()[2].asReal()});
            }
            corners.push_back(corners.back());
            faces.push_back(corners);
        }
        host().reset();
        return faces;
    }

    static std::vector<std::vector<kafhost::Point3>> DrawingFaces() {
        std::vector<std::vector<kafhost::Point3>> faces;
        for (const EntityInfo& entity : ModelSpaceEntities()) {
            EXPECT_EQ(entity.type, EntityKind::kFace);
            EXPECT_EQ(entity.layer, L"0");
            for (bool visible : entity.edgeVisible) {
                EXPECT_TRUE(visible);
            }
            faces.push_back(entity.corners);
        }
        return faces;
    }
};

TEST_F(KafDctPfaceTest, WritesOneFacePerTriangleAndGivesT) {
    const auto expected = ExpectedCorners(Grid());
    ASSERT_EQ(expected.size(), 4u);
    const kafhost::CallResult result = Call(L"kaf-dct-pface", {Grid()});
    EXPECT_EQ(result.status, RSRSLT);
    EXPECT_EQ(result.value, LispValue::t());
    EXPECT_EQ(result.printed, L"");
    EXPECT_EQ(DrawingFaces(), expected);
}

TEST_F(KafDctPfaceTest, FaceWhoseHostCallFailsIsSkippedSilently) {
    // Model space is opened once per face, so the k-th call belongs to the k-th triangle.
    const auto all = ExpectedCorners(Grid());
    ASSERT_EQ(all.size(), 4u);
    struct Failure {
        HostCall call;
        int face;
    };
    for (const Failure& failure :
         {Failure{HostCall::kGetSymbolTable, 1}, Failure{HostCall::kBlockTableGetAt, 3},
          Failure{HostCall::kAppendAcDbEntity, 4}}) {
        SCOPED_TRACE(failure.face);
        host().reset();
        host().failCall(failure.call, failure.face, Acad::eOutOfMemory);
        const kafhost::CallResult result = Call(L"kaf-dct-pface", {Grid()});
        EXPECT_EQ(result.status, RSRSLT);
        EXPECT_EQ(result.value, LispValue::t());
        EXPECT_EQ(result.printed, L"");
        auto expected = all;
        expected.erase(expected.begin() + (failure.face - 1));
        EXPECT_EQ(DrawingFaces(), expected);
    }
}

}  // namespace
