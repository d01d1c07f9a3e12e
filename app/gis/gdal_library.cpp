// The GDAL side of the seam (gis_library.h): kafcad_gdal.so's one exported function.
#include "app/gis/gis_library.h"
#include "app/gis/write_geopackage.h"
#include "app/gis/write_geotiff.h"

extern "C" const kafcad::GisLibrary* kafcad_gdal_library() {
    static const kafcad::GisLibrary library{kafcad::kGisLibraryVersion,
                                            KAFCAD_GIS_BUILD_STAMP,
                                            &kafcad::ResolveCoordinateSystem,
                                            &kafcad::CoordinateSystemFromWkt,
                                            &kafcad::SameCoordinateSystem,
                                            &kafcad::ReadDemPoints,
                                            &kafcad::WriteGeoTiff,
                                            &kafcad::WriteGeoPackage};
    return &library;
}
