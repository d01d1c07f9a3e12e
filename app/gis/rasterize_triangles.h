// A surface of triangles sampled on a grid of square cells: the elevation of each cell's centre
// on the triangle that holds it, nodata where no triangle does.
//
// PlanTriangle: three corners (x, y, z), in either turning sense.
// RasterGrid: columns x rows cells of cellSize, the top-left corner at (left, top), rows from
//   the top (north) down; values row by row, nodata where the surface does not reach.
// GridFor(triangles, cellSize): the grid's placement: corners on whole multiples of cellSize,
//   covering the triangles' plan extent. Throws GisError for no triangles, a cell size that is not
//   a positive number, a coordinate that is not finite, or more than 2^31 - 1 cells in a row or
//   column or more than 4e9 cells in all.
// RasterizeTriangles(triangles, cellSize, nodata): the grid with its values. A centre on an edge or
//   corner shared by two triangles takes the value of either (the surface is continuous there);
//   one exactly on a corner gets that corner's z exactly. The value is the barycentric
//   interpolation, weighted by the sub-triangles' areas, based on the corner of largest weight.
//   Flat (zero-area) triangles hold no centre.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

namespace kafcad {

using PlanTriangle = std::array<std::array<double, 3>, 3>;

struct RasterGrid {
    double left = 0.0;
    double top = 0.0;
    double cellSize = 1.0;
    std::size_t columns = 0;
    std::size_t rows = 0;
    double nodata = 0.0;
    std::vector<double> values;
};

RasterGrid GridFor(const std::vector<PlanTriangle>& triangles, double cellSize);
RasterGrid RasterizeTriangles(const std::vector<PlanTriangle>& triangles, double cellSize,
                              double nodata);

}  // namespace kafcad
