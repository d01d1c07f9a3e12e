#include "app/gis/gdal_file_output.h"

#include <cpl_vsi.h>
#include <gdal.h>

#include <cerrno>
#include <cstring>

#include "app/gis/coordinate_system.h"
#include "app/gis/gdal_session.h"
#include "kafhost/drawing_json.h"
#include "platform/files/replace_file.h"

namespace kafcad {
namespace {

// Removes the memory file (and what a driver made beside it) however the write ends.
class MemoryFile {
public:
    MemoryFile() {
        static unsigned long serial = 0;
        path_ = "/vsimem/kafcad-" + std::to_string(++serial);
        VSIMkdir(path_.c_str(), 0755);
    }
    ~MemoryFile() { VSIRmdirRecursive(path_.c_str()); }
    std::string In(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

void DatasetCloser::operator()(void* dataset) const {
    GDALClose(dataset);
}

void WriteThroughGdal(const std::string& path,
                      const std::function<void(const std::string& memoryPath)>& make) {
    UseGdal();
    // Before any work: a folder, a device or /dev/stdout is no target.
    try {
        kafhost::checkSaveTarget(path);
    } catch (const kafhost::DrawingFileError& error) {
        throw GisError(error.what());
    }
    const MemoryFile folder;
    // The driver sees the file's own name (GeoPackage keeps it as the default identifier).
    const std::string memoryPath = folder.In(BaseName(path));
    try {
        make(memoryPath);
    } catch (const GisError& error) {
        throw GisError(path + ": " + error.what());
    }
    vsi_l_offset size = 0;
    GByte* bytes = VSIGetMemFileBuffer(memoryPath.c_str(), &size, FALSE);
    if (bytes == nullptr) {
        throw GisError(path + ": " + GdalReason("GDAL made no file"));
    }
    try {
        kafhost::replaceFile(path, [bytes, size](std::FILE* file) {
            if (std::fwrite(bytes, 1, static_cast<std::size_t>(size), file) != size) {
                throw kafhost::DrawingFileError(std::string("cannot write: ") +
                                                std::strerror(errno));
            }
        });
    } catch (const kafhost::DrawingFileError& error) {
        throw GisError(error.what());
    }
}

}  // namespace kafcad
