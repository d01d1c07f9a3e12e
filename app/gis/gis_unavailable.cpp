// A kafcad built without GDAL (Windows: Debian has no GDAL for MinGW): --crs and .gpkg targets
// are refused when the options are read, and every GIS call fails with kGisUnavailable before
// anything is read or written.
#include "app/gis/coordinate_system.h"
#include "app/gis/dem_points.h"
#include "app/gis/gis_library.h"
#include "app/gis/write_geopackage.h"
#include "app/gis/write_geotiff.h"

namespace kafcad {

bool GisAvailable() {
    return false;
}

void SetGisLibraryFolder(const std::string&) {}

const GisLibrary& LoadGisLibrary() {
    throw GisError(kGisUnavailable);
}

CoordinateSystem ResolveCoordinateSystem(const std::string&) {
    throw GisError(kGisUnavailable);
}

CoordinateSystem CoordinateSystemFromWkt(const std::string&) {
    throw GisError(kGisUnavailable);
}

bool SameCoordinateSystem(const CoordinateSystem&, const CoordinateSystem&) {
    throw GisError(kGisUnavailable);
}

DemPoints ReadDemPoints(const std::string& path, int) {
    throw GisError(path + ": " + kGisUnavailable);
}

void WriteGeoTiff(const RasterGrid&, const std::optional<CoordinateSystem>&,
                  const std::string& path) {
    throw GisError(path + ": " + kGisUnavailable);
}

void WriteGeoPackage(const kafhost::DrawingSnapshot&, const std::optional<CoordinateSystem>&,
                     const std::string& path, std::vector<std::string>&) {
    throw GisError(path + ": " + kGisUnavailable);
}

}  // namespace kafcad
