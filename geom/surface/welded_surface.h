// WeldedSurface: one surface made of one or several meshes (WeldSurface builds it).
//
// points: every distinct plan position of the meshes' vertices, ascending by x and then y, with
// its elevation. Positions no face uses are kept.
// triangles: the faces with a plan area, each counter-clockwise in plan, as positions in
// `points`. across[k] is the triangle on the other side of the edge from corner k to corner
// k + 1 (mod 3), or -1 on the surface's boundary.
// walls: the faces with three distinct corners on one line in plan (standing upright; they have
// no plan area, but a surface area).
// collapsedFaces: faces dropped because two of their corners are one point; they have no area.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace geom {

struct SurfacePoint {
    double x;
    double y;
    double z;
};

struct SurfaceTriangle {
    std::int32_t corner[3];
    std::int32_t across[3];
};

struct WallFace {
    std::int32_t corner[3];
};

struct WeldedSurface {
    std::vector<SurfacePoint> points;
    std::vector<SurfaceTriangle> triangles;
    std::vector<WallFace> walls;
    std::size_t collapsedFaces = 0;
};

}  // namespace geom
