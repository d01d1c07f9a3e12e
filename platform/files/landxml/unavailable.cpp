// LandXML where kafcad is built without an XML library (Windows: Debian has no pugixml for it):
// every call refuses, before anything is read or written.
#include "kafhost/drawing_landxml.h"

namespace kafhost {
namespace {

[[noreturn]] void refuse(const std::string& path) {
    throw DrawingFileError((path.empty() ? "" : path + ": ") +
                           "LandXML is not available: this kafcad is built without an XML library");
}

}  // namespace

std::string drawingToLandXml(const DrawingSnapshot&, std::vector<std::string>&,
                             const LandXmlCoordinateSystem*) {
    refuse("");
}

DrawingSnapshot drawingFromLandXml(const std::string&, std::vector<std::string>&,
                                   LandXmlCoordinateSystem*) {
    refuse("");
}

void saveLandXmlDrawingFile(const DrawingSnapshot&, const std::string& path,
                            std::vector<std::string>&, const LandXmlCoordinateSystem*) {
    refuse(path);
}

DrawingSnapshot loadLandXmlDrawingFile(const std::string& path, std::vector<std::string>&,
                                       LandXmlCoordinateSystem*) {
    refuse(path);
}

}  // namespace kafhost
