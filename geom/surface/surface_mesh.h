// SurfaceMesh: one triangle mesh of a surface as it is read from the drawing: its vertices
// (x, y, z; w ignored) and its faces as triples of positions in that vertex list (base 0), in
// any orientation. A surface may come as several meshes whose shared border vertices are
// repeated in each of them; WeldSurface joins them by plan position.
#pragma once

#include <cstdint>
#include <vector>

#include "geom/kernel/vertex.h"

namespace geom {

struct MeshFace {
    std::int32_t i1 = 0;
    std::int32_t i2 = 0;
    std::int32_t i3 = 0;
};

struct SurfaceMesh {
    std::vector<CVertex> vertices;
    std::vector<MeshFace> faces;
};

}  // namespace geom
