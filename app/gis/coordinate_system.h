// The coordinate system of kafcad's drawing, written into the GeoTIFF, GeoPackage and LandXML
// files it saves.
//
// CoordinateSystem: label as the user gave it or as it was identified ("EPSG:25832"), its name
// ("ETRS89 / UTM zone 32N"), its EPSG code (0 when it has none) and its OGC WKT.
// DrawingCoordinateSystem(): the drawing's coordinate system, none until --crs, kafcad-crs or a
//   DEM that carries one sets it. kafcad holds one drawing, so this is the run's one setting.
// AdoptCoordinateSystem(system, source): the drawing takes system over when it has none (gives
//   true); one the drawing has already is kept (gives false); a different one is refused with
//   GisError "SOURCE: it is in SYSTEM, the drawing in SYSTEM; reproject it first (gdalwarp -t_srs
//   LABEL)".
// Describe(system): "EPSG:25832 (ETRS89 / UTM zone 32N)", the label alone when the name adds
//   nothing.
// ResolveCoordinateSystem(text): "EPSG:n", "ESRI:n", a WKT or PROJ text made a CoordinateSystem,
//   without reading files or the network. Throws GisError "unknown coordinate system TEXT: REASON".
// CoordinateSystemFromWkt(wkt): the system a raster's WKT describes, identified by its EPSG code
//   where it has one. Throws GisError.
// SameCoordinateSystem(a, b): whether the two describe the same system (names aside).
// GisAvailable(): whether this kafcad is built with GDAL (the Windows build is not); without it
//   the functions above and the GIS files throw GisError kGisUnavailable.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>

namespace kafcad {

class GisError : public std::runtime_error {
public:
    explicit GisError(const std::string& message) : std::runtime_error(message) {}
};

constexpr const char* kGisUnavailable =
    "this kafcad is built without GDAL: no DEM rasters, GeoTIFF, GeoPackage or coordinate systems";

struct CoordinateSystem {
    std::string label;
    std::string name;
    int epsgCode = 0;
    std::string wkt;
};

std::optional<CoordinateSystem>& DrawingCoordinateSystem();
bool AdoptCoordinateSystem(const CoordinateSystem& system, const std::string& source);
std::string Describe(const CoordinateSystem& system);
CoordinateSystem ResolveCoordinateSystem(const std::string& text);
CoordinateSystem CoordinateSystemFromWkt(const std::string& wkt);
bool SameCoordinateSystem(const CoordinateSystem& a, const CoordinateSystem& b);
bool GisAvailable();

}  // namespace kafcad
