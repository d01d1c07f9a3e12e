#include "app/gis/dem_points.h"

#include <gdal.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/gis/gdal_session.h"

namespace kafcad {
namespace {

struct DatasetCloser {
    void operator()(void* dataset) const { GDALClose(dataset); }
};
using Dataset = std::unique_ptr<void, DatasetCloser>;

}  // namespace

DemPoints ReadDemPoints(const std::string& path, int step) {
    UseGdal();
    const auto fail = [&path](const std::string& reason) { return GisError(path + ": " + reason); };
    // A file of the file system that cannot be opened says why; GDAL's own paths (/vsizip/...)
    // are GDAL's to open.
    if (path.rfind("/vsi", 0) != 0) {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (file == nullptr) {
            throw fail(std::string("cannot open: ") + std::strerror(errno));
        }
        std::fclose(file);
    }
    const Dataset dataset(
        GDALOpenEx(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, nullptr, nullptr, nullptr));
    if (!dataset) {
        throw fail("not a raster GDAL can read (" + GdalReason("no driver recognises it") + ")");
    }
    if (GDALGetRasterCount(dataset.get()) < 1) {
        throw fail("the raster has no bands");
    }
    double transform[6];
    if (GDALGetGeoTransform(dataset.get(), transform) != CE_None) {
        throw fail("the raster has no georeferencing (no cell size and origin)");
    }
    DemPoints dem;
    dem.columns = static_cast<std::size_t>(GDALGetRasterXSize(dataset.get()));
    dem.rows = static_cast<std::size_t>(GDALGetRasterYSize(dataset.get()));
    const char* wkt = GDALGetProjectionRef(dataset.get());
    if (wkt != nullptr && wkt[0] != '\0') {
        try {
            dem.coordinateSystem = CoordinateSystemFromWkt(wkt);
        } catch (const GisError& error) {
            throw fail(error.what());
        }
    }

    GDALRasterBandH band = GDALGetRasterBand(dataset.get(), 1);
    int hasNodata = 0;
    const double nodata = GDALGetRasterNoDataValue(band, &hasNodata);
    int hasScale = 0;
    int hasOffset = 0;
    double scale = GDALGetRasterScale(band, &hasScale);
    double offset = GDALGetRasterOffset(band, &hasOffset);
    scale = hasScale ? scale : 1.0;
    offset = hasOffset ? offset : 0.0;
    // A mask of its own (not "all valid", not the nodata value's) marks further cells as empty.
    GDALRasterBandH mask = nullptr;
    const int maskFlags = GDALGetMaskFlags(band);
    if ((maskFlags & (GMF_ALL_VALID | GMF_NODATA)) == 0) {
        mask = GDALGetMaskBand(band);
    }

    const int columns = static_cast<int>(dem.columns);
    std::vector<double> row(dem.columns);
    std::vector<unsigned char> valid(dem.columns, 255);
    for (int r = 0; r < static_cast<int>(dem.rows); r += step) {
        if (GDALRasterIO(band, GF_Read, 0, r, columns, 1, row.data(), columns, 1, GDT_Float64, 0,
                         0) != CE_None ||
            (mask != nullptr && GDALRasterIO(mask, GF_Read, 0, r, columns, 1, valid.data(), columns,
                                             1, GDT_Byte, 0, 0) != CE_None)) {
            throw fail("cannot read row " + std::to_string(r + 1) + ": " +
                       GdalReason("GDAL gives no reason"));
        }
        for (int c = 0; c < columns; c += step) {
            const double value = row[static_cast<std::size_t>(c)];
            if ((hasNodata && value == nodata) || std::isnan(value) ||
                valid[static_cast<std::size_t>(c)] == 0) {
                ++dem.skipped;
                continue;
            }
            const double u = c + 0.5;
            const double v = r + 0.5;
            dem.points.push_back({transform[0] + u * transform[1] + v * transform[2],
                                  transform[3] + u * transform[4] + v * transform[5],
                                  value * scale + offset});
        }
    }
    return dem;
}

}  // namespace kafcad
