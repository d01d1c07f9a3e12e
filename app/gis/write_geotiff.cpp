#include "app/gis/write_geotiff.h"

#include <gdal.h>

#include "app/gis/gdal_file_output.h"
#include "app/gis/gdal_session.h"

namespace kafcad {

void WriteGeoTiff(const RasterGrid& grid, const std::optional<CoordinateSystem>& system,
                  const std::string& path) {
    WriteThroughGdal(path, [&grid, &system](const std::string& memoryPath) {
        GDALDriverH driver = GDALGetDriverByName("GTiff");
        if (driver == nullptr) {
            throw GisError("GDAL has no GeoTIFF driver");
        }
        const char* const options[] = {"COMPRESS=DEFLATE", "PREDICTOR=3", "TILED=YES",
                                       "BIGTIFF=IF_SAFER", nullptr};
        DatasetHandle dataset(GDALCreate(driver, memoryPath.c_str(), static_cast<int>(grid.columns),
                                         static_cast<int>(grid.rows), 1, GDT_Float64,
                                         const_cast<char**>(options)));
        if (!dataset) {
            throw GisError(GdalReason("GDAL cannot make the GeoTIFF"));
        }
        double transform[6] = {grid.left, grid.cellSize, 0.0, grid.top, 0.0, -grid.cellSize};
        GDALRasterBandH band = GDALGetRasterBand(dataset.get(), 1);
        const bool written =
            GDALSetGeoTransform(dataset.get(), transform) == CE_None &&
            (!system || GDALSetProjection(dataset.get(), system->wkt.c_str()) == CE_None) &&
            GDALSetRasterNoDataValue(band, grid.nodata) == CE_None &&
            GDALRasterIO(band, GF_Write, 0, 0, static_cast<int>(grid.columns),
                         static_cast<int>(grid.rows), const_cast<double*>(grid.values.data()),
                         static_cast<int>(grid.columns), static_cast<int>(grid.rows), GDT_Float64,
                         0, 0) == CE_None;
        if (!written) {
            throw GisError(GdalReason("GDAL cannot write the GeoTIFF"));
        }
        // Closing writes what GDAL still holds; a failure there is a failure of the file.
        GDALFlushCache(dataset.get());
        if (CPLGetLastErrorType() == CE_Failure) {
            throw GisError(GdalReason("GDAL cannot write the GeoTIFF"));
        }
    });
}

}  // namespace kafcad
