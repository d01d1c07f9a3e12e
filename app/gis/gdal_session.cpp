#include "app/gis/gdal_session.h"

#include <cpl_error.h>
#include <gdal.h>

namespace kafcad {

void UseGdal() {
    static const bool registered = [] {
        GDALAllRegister();
        CPLSetErrorHandler(CPLQuietErrorHandler);
        return true;
    }();
    (void)registered;
    CPLErrorReset();
}

std::string GdalReason(const std::string& fallback) {
    const char* message = CPLGetLastErrorMsg();
    return message != nullptr && message[0] != '\0' ? std::string(message) : fallback;
}

}  // namespace kafcad
