// kafcad's side of the seam: kafcad_gdal.so is loaded on the first call that needs GDAL, and the
// functions of coordinate_system.h, dem_points.h, write_geotiff.h and write_geopackage.h that need
// it pass on to the library's.
#include <dlfcn.h>

#include <cstring>
#include <string>

#include "app/gis/gis_library.h"
#include "app/gis/write_geopackage.h"
#include "app/gis/write_geotiff.h"

namespace kafcad {
namespace {

std::string& LibraryFolder() {
    static std::string folder;
    return folder;
}

GisError Unloadable(const std::string& path, const std::string& reason) {
    // The loader's message may start with the path itself.
    const std::string said =
        reason.rfind(path + ": ", 0) == 0 ? reason.substr(path.size() + 2) : reason;
    return GisError("cannot load kafcad's GIS library " + path + ": " + said +
                    " (DEM rasters, GeoTIFF, GeoPackage files and coordinate systems need it and "
                    "GDAL)");
}

const GisLibrary* Load() {
    const std::string path = LibraryFolder().empty() ? std::string(kGisLibraryFile)
                                                     : LibraryFolder() + "/" + kGisLibraryFile;
    // Bound lazily, as a program linked with GDAL would be: of the hundred libraries GDAL brings,
    // those not built to bind at once resolve only the symbols a call uses. kafcad_gdal.so itself
    // binds at once (-z now), so a GDAL that lacks one of its symbols is refused here.
    dlerror();
    void* library = dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
    if (library == nullptr) {
        const char* error = dlerror();
        throw Unloadable(path, error != nullptr ? error : "the system gives no reason");
    }
    using Entry = const GisLibrary* (*)();
    void* entry = dlsym(library, kGisLibraryEntry);
    const GisLibrary* functions = entry != nullptr ? reinterpret_cast<Entry>(entry)() : nullptr;
    if (functions == nullptr || functions->version != kGisLibraryVersion ||
        std::strcmp(functions->buildStamp, KAFCAD_GIS_BUILD_STAMP) != 0) {
        dlclose(library);
        throw Unloadable(path, entry == nullptr
                                   ? std::string("it has no function ") + kGisLibraryEntry
                                   : "it belongs to another build of kafcad");
    }
    // Kept to the end of the run: GDAL is not made to unload.
    return functions;
}

}  // namespace

void SetGisLibraryFolder(const std::string& folder) {
    LibraryFolder() = folder;
}

const GisLibrary& LoadGisLibrary() {
    static const GisLibrary* library = nullptr;
    if (library == nullptr) {
        library = Load();
    }
    return *library;
}

bool GisAvailable() {
    return true;
}

CoordinateSystem ResolveCoordinateSystem(const std::string& text) {
    return LoadGisLibrary().resolveCoordinateSystem(text);
}

CoordinateSystem CoordinateSystemFromWkt(const std::string& wkt) {
    return LoadGisLibrary().coordinateSystemFromWkt(wkt);
}

bool SameCoordinateSystem(const CoordinateSystem& a, const CoordinateSystem& b) {
    return LoadGisLibrary().sameCoordinateSystem(a, b);
}

DemPoints ReadDemPoints(const std::string& path, int step) {
    return LoadGisLibrary().readDemPoints(path, step);
}

void WriteGeoTiff(const RasterGrid& grid, const std::optional<CoordinateSystem>& system,
                  const std::string& path) {
    LoadGisLibrary().writeGeoTiff(grid, system, path);
}

void WriteGeoPackage(const kafhost::DrawingSnapshot& drawing,
                     const std::optional<CoordinateSystem>& system, const std::string& path,
                     std::vector<std::string>& notes) {
    LoadGisLibrary().writeGeoPackage(drawing, system, path, notes);
}

}  // namespace kafcad
