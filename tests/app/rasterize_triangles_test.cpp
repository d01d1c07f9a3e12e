// Sampling a surface of triangles on a grid: where the grid lies, which cells the surface covers,
// and the values at the cell centres.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "app/gis/coordinate_system.h"
#include "app/gis/rasterize_triangles.h"

namespace {

using kafcad::PlanTriangle;
using kafcad::RasterGrid;

constexpr double kNodata = -9999.0;

// An n x n mesh of a tilted plane over jittered vertices, each quad split along a random
// diagonal, in random turning senses: its union is the jittered square, so every centre inside
// the outer vertices' hull has a triangle.
std::vector<PlanTriangle> JitteredPlane(int n, unsigned seed, double (*height)(double, double)) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> jitter(-0.3, 0.3);
    std::vector<std::array<double, 3>> vertices;
    for (int row = 0; row <= n; ++row) {
        for (int column = 0; column <= n; ++column) {
            const bool border = row == 0 || column == 0 || row == n || column == n;
            const double x = column + (border ? 0.0 : jitter(random));
            const double y = row + (border ? 0.0 : jitter(random));
            vertices.push_back({x, y, height(x, y)});
        }
    }
    std::vector<PlanTriangle> triangles;
    const auto at = [&](int row, int column) { return vertices[row * (n + 1) + column]; };
    for (int row = 0; row < n; ++row) {
        for (int column = 0; column < n; ++column) {
            const auto a = at(row, column), b = at(row, column + 1), c = at(row + 1, column + 1),
                       d = at(row + 1, column);
            if (random() % 2 == 0) {
                triangles.push_back({a, b, c});
                triangles.push_back({c, d, a});
            } else {
                triangles.push_back({b, d, a});  // clockwise
                triangles.push_back({b, c, d});
            }
        }
    }
    return triangles;
}

double Plane(double x, double y) {
    return 100.0 + 0.37 * x - 0.81 * y;
}

TEST(RasterizeTriangles, GridCornersLieOnMultiplesOfTheCellAndCoverTheSurface) {
    const std::vector<PlanTriangle> triangles = {
        {{{350000.5, 5800000.5, 1.0}, {350010.5, 5800000.5, 2.0}, {350000.5, 5800007.5, 3.0}}}};
    const RasterGrid grid = kafcad::GridFor(triangles, 1.0);
    EXPECT_EQ(grid.left, 350000.0);
    EXPECT_EQ(grid.top, 5800008.0);
    EXPECT_EQ(grid.columns, 11u);
    EXPECT_EQ(grid.rows, 8u);
    const RasterGrid half = kafcad::GridFor(triangles, 0.25);
    EXPECT_EQ(half.left, 350000.5);
    EXPECT_EQ(half.columns, 40u);
    EXPECT_EQ(half.rows, 28u);

    EXPECT_THROW(kafcad::GridFor(triangles, 0.0), kafcad::GisError);
    EXPECT_THROW(kafcad::GridFor(triangles, std::nan("")), kafcad::GisError);
    EXPECT_THROW(kafcad::GridFor({}, 1.0), kafcad::GisError);
    EXPECT_THROW(kafcad::GridFor(triangles, 1e-6), kafcad::GisError);  // 1e13 cells
    const std::vector<PlanTriangle> infinite = {
        {{{0.0, 0.0, 1.0}, {HUGE_VAL, 0.0, 1.0}, {0.0, 1.0, 1.0}}}};
    EXPECT_THROW(kafcad::GridFor(infinite, 1.0), kafcad::GisError);
}

// Inner edges run between jittered vertices in both turning senses and cross the centres
// anywhere: no centre inside the square is missed, none outside is filled, and every value is the
// plane's.
TEST(RasterizeTriangles, EveryCentreOfTheUnionGetsTheLinearValueAndNoneOutside) {
    for (unsigned seed = 1; seed <= 5; ++seed) {
        const std::vector<PlanTriangle> triangles = JitteredPlane(12, seed, Plane);
        for (const double cell : {0.5, 0.1, 0.37}) {
            const RasterGrid grid = kafcad::RasterizeTriangles(triangles, cell, kNodata);
            ASSERT_EQ(grid.values.size(), grid.columns * grid.rows);
            for (std::size_t row = 0; row < grid.rows; ++row) {
                for (std::size_t column = 0; column < grid.columns; ++column) {
                    const double x = grid.left + (column + 0.5) * cell;
                    const double y = grid.top - (row + 0.5) * cell;
                    const double value = grid.values[row * grid.columns + column];
                    const bool inside = x >= 0.0 && x <= 12.0 && y >= 0.0 && y <= 12.0;
                    if (inside) {
                        ASSERT_NE(value, kNodata) << seed << " " << cell << ": " << x << " " << y;
                        EXPECT_NEAR(value, Plane(x, y), 1e-11) << x << " " << y;
                    } else {
                        EXPECT_EQ(value, kNodata) << x << " " << y;
                    }
                }
            }
        }
    }
}

// A cell centre on a vertex gets the vertex's elevation bit for bit, whichever of the triangles
// around the vertex holds it, for elevations no plane passes through.
TEST(RasterizeTriangles, CentresOnVerticesGetTheirElevationExactly) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> elevation(400.0, 500.0);
    const int n = 20;
    std::vector<double> heights;
    for (int i = 0; i < (n + 1) * (n + 1); ++i) {
        heights.push_back(elevation(random));
    }
    const auto vertex = [&](int row, int column) {
        return std::array<double, 3>{350000.5 + column, 5800000.5 + row,
                                     heights[row * (n + 1) + column]};
    };
    std::vector<PlanTriangle> triangles;
    for (int row = 0; row < n; ++row) {
        for (int column = 0; column < n; ++column) {
            triangles.push_back(
                {vertex(row, column), vertex(row, column + 1), vertex(row + 1, column + 1)});
            triangles.push_back(
                {vertex(row + 1, column + 1), vertex(row + 1, column), vertex(row, column)});
        }
    }
    const RasterGrid grid = kafcad::RasterizeTriangles(triangles, 1.0, kNodata);
    ASSERT_EQ(grid.columns, static_cast<std::size_t>(n + 1));
    ASSERT_EQ(grid.rows, static_cast<std::size_t>(n + 1));
    for (int row = 0; row <= n; ++row) {
        for (int column = 0; column <= n; ++column) {
            // Rows of the grid run from the top.
            EXPECT_EQ(grid.values[(n - row) * grid.columns + column],
                      heights[row * (n + 1) + column])
                << row << " " << column;
        }
    }
}

TEST(RasterizeTriangles, FlatTrianglesHoldNoCentre) {
    const std::vector<PlanTriangle> flat = {{{{0.5, 0.5, 1.0}, {2.5, 0.5, 2.0}, {1.5, 0.5, 3.0}}},
                                            {{{0.5, 0.5, 1.0}, {0.5, 0.5, 2.0}, {0.5, 2.5, 3.0}}}};
    const RasterGrid grid = kafcad::RasterizeTriangles(flat, 1.0, kNodata);
    for (const double value : grid.values) {
        EXPECT_EQ(value, kNodata);
    }
}

}  // namespace
