// IsopachMesh: the cut/fill map as ComputeIsopach makes it: its vertices (x, y and the
// difference z) and its faces as triples of positions in that vertex list (base 0),
// counter-clockwise in plan. Plain points rather than CVertex records: the map of two large
// surfaces holds millions of vertices, and each written byte costs memory and time.
#pragma once

#include <vector>

#include "geom/surface/surface_mesh.h"
#include "geom/surface/welded_surface.h"

namespace geom {

struct IsopachMesh {
    std::vector<SurfacePoint> vertices;
    std::vector<MeshFace> faces;
};

}  // namespace geom
