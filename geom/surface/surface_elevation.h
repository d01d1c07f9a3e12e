// CSurfaceElevation(surface): finds the elevation of a welded surface (WeldSurface) at plan
// positions. The surface must have triangles.
//
// At(x, y, z): whether (x, y) lies on the surface: inside one of its triangles or on an edge or
// corner (decided exactly); z is then the elevation of the triangle's plane there (on an edge
// shared by two triangles both give the same). Positions off every triangle give false, z
// untouched.
// Throws std::bad_alloc when memory is short.
#pragma once

#include "geom/surface/triangle_grid.h"
#include "geom/surface/welded_surface.h"

namespace geom {

class CSurfaceElevation {
public:
    explicit CSurfaceElevation(const WeldedSurface& surface);
    bool At(double x, double y, double& z) const;

private:
    const WeldedSurface& surface_;
    CTriangleGrid grid_;
};

}  // namespace geom
