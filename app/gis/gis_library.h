// The seam between kafcad and GDAL: every call of GDAL is in the library kafcad_gdal.so, which
// kafcad loads when a GIS feature is first used, so that a run without one never loads GDAL.
//
// GisLibrary: what the library gives kafcad, through its one exported function
//   kafcad_gdal_library(): its build's kGisLibraryVersion and build stamp (KAFCAD_GIS_BUILD_STAMP,
//   one per build tree, so that a library left over from another build is refused even when
//   the version was not bumped) and the GDAL side of the functions of
//   coordinate_system.h, dem_points.h, write_geotiff.h and write_geopackage.h. They throw
//   GisError as declared there; kafcad and the library share one C++ runtime.
// SetGisLibraryFolder(folder): where kafcad finds the library: kafcad_gdal.so in folder (kafcad's
//   own; the system's library path when folder is empty). Called once, before any GIS feature.
// LoadGisLibrary(): loads the library on its first call and gives its functions, then gives them
//   again. Throws GisError "cannot load kafcad's GIS library PATH: REASON (...)" when the system
//   cannot load it (the file or GDAL missing) or it is not this kafcad's; a later call tries
//   again. The functions of coordinate_system.h that need GDAL call it themselves.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/gis/coordinate_system.h"
#include "app/gis/dem_points.h"
#include "app/gis/rasterize_triangles.h"
#include "kafhost/drawing_snapshot.h"

namespace kafcad {

// Changes with any change of GisLibrary or of the types it passes.
constexpr int kGisLibraryVersion = 2;
constexpr const char* kGisLibraryFile = "kafcad_gdal.so";
constexpr const char* kGisLibraryEntry = "kafcad_gdal_library";

struct GisLibrary {
    int version;
    const char* buildStamp;
    CoordinateSystem (*resolveCoordinateSystem)(const std::string& text);
    CoordinateSystem (*coordinateSystemFromWkt)(const std::string& wkt);
    bool (*sameCoordinateSystem)(const CoordinateSystem& a, const CoordinateSystem& b);
    DemPoints (*readDemPoints)(const std::string& path, int step);
    void (*writeGeoTiff)(const RasterGrid& grid, const std::optional<CoordinateSystem>& system,
                         const std::string& path);
    void (*writeGeoPackage)(const kafhost::DrawingSnapshot& drawing,
                            const std::optional<CoordinateSystem>& system, const std::string& path,
                            std::vector<std::string>& notes);
};

void SetGisLibraryFolder(const std::string& folder);
const GisLibrary& LoadGisLibrary();

}  // namespace kafcad
