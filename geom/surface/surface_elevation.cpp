#include "geom/surface/surface_elevation.h"

#include <cstdint>

#include "geom/kernel/exact_predicates.h"

namespace geom {
namespace {

// Triangles listed per grid cell on average: few, since each query tests a whole cell.
constexpr double kTrianglesPerCell = 2.0;

}  // namespace

CSurfaceElevation::CSurfaceElevation(const WeldedSurface& surface)
    : surface_(surface), grid_(surface, kTrianglesPerCell) {}

bool CSurfaceElevation::At(double x, double y, double& z) const {
    bool found = false;
    grid_.ForEachNear(x, y, x, y, [&](std::int32_t t) {
        if (found) {
            return;
        }
        const SurfaceTriangle& triangle = surface_.triangles[static_cast<std::size_t>(t)];
        const SurfacePoint& a = surface_.points[static_cast<std::size_t>(triangle.corner[0])];
        const SurfacePoint& b = surface_.points[static_cast<std::size_t>(triangle.corner[1])];
        const SurfacePoint& c = surface_.points[static_cast<std::size_t>(triangle.corner[2])];
        const ExactPoint p{x, y};
        // Counter-clockwise triangles hold the points on the left of (or on) all three edges.
        if (ExactOrientSign({a.x, a.y}, {b.x, b.y}, p) < 0 ||
            ExactOrientSign({b.x, b.y}, {c.x, c.y}, p) < 0 ||
            ExactOrientSign({c.x, c.y}, {a.x, a.y}, p) < 0) {
            return;
        }
        // Barycentric weights of p, from the areas of the sub-triangles opposite each corner.
        const double area = (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
        const double wa = ((b.x - x) * (c.y - y) - (c.x - x) * (b.y - y)) / area;
        const double wb = ((c.x - x) * (a.y - y) - (a.x - x) * (c.y - y)) / area;
        const double wc = 1.0 - wa - wb;
        z = wa * a.z + wb * b.z + wc * c.z;
        found = true;
    });
    return found;
}

}  // namespace geom
