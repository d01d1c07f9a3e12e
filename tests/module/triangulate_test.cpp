// triangulate as a user calls it: the incremental triangulator's triangles as point triples in
// its own corner order; nil when no triangle remains; never any text.
#include <vector>

#include "module_fixture.h"

namespace {

using kafhost::LispValue;

using TriangulateTest = ModuleTest;

TEST_F(TriangulateTest, UnitSquareGivesTheDiagonalFromOriginInInsertionCornerOrder) {
    ExpectQuietResult(
        Call(L"triangulate", {PointList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}})}),
        LispValue::list({Triangle({0, 1, 0}, {0, 0, 0}, {1, 1, 0}),
                         Triangle({0, 0, 0}, {1, 0, 0}, {1, 1, 0})}));
}

TEST_F(TriangulateTest, ElevationsAreCarriedUnchanged) {
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

}  // namespace
