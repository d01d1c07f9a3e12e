// Small inputs whose triangles, vertex order and triangle order are known exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "geom/dct.h"

namespace {

using Index3 = std::array<int, 3>;
struct Point2 {
    double x;
    double y;
};

struct DctRun {
    std::vector<Index3> triangles;
    std::vector<Point2> vertices;
};

DctRun Triangulate(const std::vector<Point2>& points) {
    geom::CDCT dct;
    for (const Point2& p : points) {
        dct.AddPoint(p.x, p.y, 0.0);
    }
    DctRun run;
    for (const geom::CTriangle& t : dct.Triangulate()) {
        run.triangles.push_back({t.i1, t.i2, t.i3});
    }
    for (const geom::CVertex& v : dct.GetVertices()) {
        run.vertices.push_back({v.x, v.y});
    }
    return run;
}

std::vector<std::array<double, 2>> Coordinates(const std::vector<Point2>& points) {
    std::vector<std::array<double, 2>> list;
    for (const Point2& p : points) {
        list.push_back({p.x, p.y});
    }
    return list;
}

using Coords = std::vector<std::array<double, 2>>;

TEST(DctExamples, UnitSquareInEveryInsertionOrder) {
    std::vector<Point2> corners = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    std::vector<int> order = {0, 1, 2, 3};
    int orders = 0;
    do {
        std::vector<Point2> points;
        for (int k : order) {
            points.push_back(corners[k]);
        }
        const DctRun run = Triangulate(points);
        EXPECT_EQ(Coordinates(run.vertices), (Coords{{0, 0}, {0, 1}, {1, 0}, {1, 1}}));
        EXPECT_EQ(run.triangles, (std::vector<Index3>{{0, 2, 1}, {1, 2, 3}}));
        ++orders;
    } while (std::next_permutation(order.begin(), order.end()));
    EXPECT_EQ(orders, 24);
}

TEST(DctExamples, ThreeByTwoGrid) {
    const DctRun run = Triangulate({{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}});
    EXPECT_EQ(Coordinates(run.vertices), (Coords{{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}}));
    EXPECT_EQ(run.triangles, (std::vector<Index3>{{0, 2, 3}, {0, 3, 1}, {2, 4, 5}, {2, 5, 3}}));
}

}  // namespace
