// WriteGeoTiff(grid, system, path): the grid as a GeoTIFF DEM: one band of 64-bit floats (every
// elevation exactly as computed) with the grid's nodata value, north up, pixels as areas, DEFLATE
// compressed and tiled, BigTIFF when it needs to be; the coordinate system when given. Written
// through WriteThroughGdal: nothing of path changes unless the whole file is made. Throws
// GisError "PATH: REASON".
#pragma once

#include <optional>
#include <string>

#include "app/gis/coordinate_system.h"
#include "app/gis/rasterize_triangles.h"

namespace kafcad {

void WriteGeoTiff(const RasterGrid& grid, const std::optional<CoordinateSystem>& system,
                  const std::string& path);

}  // namespace kafcad
