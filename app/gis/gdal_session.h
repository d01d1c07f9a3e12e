// GDAL for kafcad's GIS files: UseGdal() registers the drivers once and keeps GDAL's own messages
// off the terminal (kafcad words its failures itself); GdalReason(fallback) is the text of the
// last error GDAL reported, or fallback when it reported none.
#pragma once

#include <string>

namespace kafcad {

void UseGdal();
std::string GdalReason(const std::string& fallback);

}  // namespace kafcad
