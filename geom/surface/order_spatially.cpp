#include "geom/surface/order_spatially.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "geom/surface/triangle_grid.h"

namespace geom {

namespace {

// The position of cell (x, y) along the Hilbert curve over a grid of side x side cells (side a
// power of two), two bits a level from the top. Each quadrant's part of the curve is the whole
// curve turned: mirrored across the diagonal (`swap`) and, on top, turned half round (`flip`),
// as the quadrants passed on the way down decide; the bits are combined without a branch, which
// way each goes being unforeseeable.
std::uint32_t HilbertIndex(std::uint32_t side, std::uint32_t x, std::uint32_t y) {
    std::uint32_t index = 0;
    std::uint32_t swap = 0;
    std::uint32_t flip = 0;
    for (std::uint32_t s = side / 2; s > 0; s /= 2) {
        const std::uint32_t bx = (x & s) != 0 ? 1 : 0;
        const std::uint32_t by = (y & s) != 0 ? 1 : 0;
        const std::uint32_t cross = (bx ^ by) & swap;
        const std::uint32_t rx = bx ^ cross ^ flip;
        const std::uint32_t ry = by ^ cross ^ flip;
        index = index * 4 + ((3 * rx) ^ ry);
        const std::uint32_t turn = ry ^ 1;  // the lower quadrants turn the curve
        flip ^= turn & rx;
        swap ^= turn;
    }
    return index;
}

// Numbers items 0 ... cell.size() - 1 by their cell (counting sort); within a cell they keep their
// order. Gives each item's new number.
std::vector<std::int32_t> NumberByCell(const std::vector<std::uint32_t>& cell,
                                       std::uint32_t cells) {
    std::vector<std::uint32_t> start(static_cast<std::size_t>(cells) + 1, 0);
    for (const std::uint32_t c : cell) {
        ++start[c + 1];
    }
    for (std::size_t c = 1; c < start.size(); ++c) {
        start[c] += start[c - 1];
    }
    std::vector<std::int32_t> number(cell.size());
    for (std::size_t i = 0; i < cell.size(); ++i) {
        number[i] = static_cast<std::int32_t>(start[cell[i]]++);
    }
    return number;
}

}  // namespace

WeldedSurface OrderSpatially(const WeldedSurface& surface) {
    const std::vector<SurfacePoint>& points = surface.points;
    const std::vector<SurfaceTriangle>& triangles = surface.triangles;
    double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    for (const SurfacePoint& p : points) {
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x);
        maxY = std::max(maxY, p.y);
    }
    // A grid of about eight triangles per cell, square cells.
    std::uint32_t side = 1;
    while (side < 4096 && static_cast<std::size_t>(side) * side * 8 < triangles.size()) {
        side *= 2;
    }
    const double extent = std::max(maxX - minX, maxY - minY);
    const double scale = extent > 0 ? side / extent : 0.0;
    std::vector<std::uint32_t> pointCell(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        pointCell[i] = HilbertIndex(
            side, static_cast<std::uint32_t>(GridCell((points[i].x - minX) * scale, side)),
            static_cast<std::uint32_t>(GridCell((points[i].y - minY) * scale, side)));
    }
    std::vector<std::uint32_t> triangleCell(triangles.size());
    for (std::size_t t = 0; t < triangles.size(); ++t) {
        triangleCell[t] = pointCell[static_cast<std::size_t>(triangles[t].corner[0])];
    }
    const std::vector<std::int32_t> pointNumber = NumberByCell(pointCell, side * side);
    std::vector<std::uint32_t>().swap(pointCell);
    const std::vector<std::int32_t> rank = NumberByCell(triangleCell, side * side);
    std::vector<std::uint32_t>().swap(triangleCell);

    WeldedSurface ordered;
    ordered.points.resize(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        ordered.points[static_cast<std::size_t>(pointNumber[i])] = points[i];
    }
    ordered.triangles.resize(triangles.size());
    for (std::size_t t = 0; t < triangles.size(); ++t) {
        const SurfaceTriangle& from = triangles[t];
        SurfaceTriangle& to = ordered.triangles[static_cast<std::size_t>(rank[t])];
        for (int k = 0; k < 3; ++k) {
            to.corner[k] = pointNumber[static_cast<std::size_t>(from.corner[k])];
            to.across[k] = from.across[k] < 0 ? -1 : rank[static_cast<std::size_t>(from.across[k])];
        }
    }
    return ordered;
}

}  // namespace geom
