// A DEM raster (GeoTIFF, ESRI ASCII grid, or any other raster GDAL reads) as survey points.
//
// ReadDemPoints(path, step): one point (x, y, z) per cell centre of the raster's first band, in
//   the raster's own coordinates (its geotransform applied, rotated rasters included) and with the
//   band's scale and offset applied, row by row from the top; every step-th row and column from
//   the first (step >= 1); cells holding the band's nodata value, masked or not a number are
//   skipped. Gives the points, the raster's size, how many cells were skipped and the raster's
//   coordinate system when it has one. Throws GisError "PATH: REASON" for a file GDAL cannot
//   read, a raster without bands or without georeferencing, or a read that fails part way.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/gis/coordinate_system.h"

namespace kafcad {

struct DemPoints {
    std::vector<std::array<double, 3>> points;
    std::size_t columns = 0;
    std::size_t rows = 0;
    std::size_t skipped = 0;
    std::optional<CoordinateSystem> coordinateSystem;
};

DemPoints ReadDemPoints(const std::string& path, int step);

}  // namespace kafcad
