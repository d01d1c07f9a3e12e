// Coordinate systems through GDAL's OGRSpatialReference.
#include <ogr_spatialref.h>

#include "app/gis/coordinate_system.h"
#include "app/gis/gdal_session.h"

namespace kafcad {
namespace {

// Gives reference the EPSG system it matches with full confidence, when there is one.
void Identify(OGRSpatialReference& reference) {
    if (reference.AutoIdentifyEPSG() == OGRERR_NONE) {
        return;
    }
    int count = 0;
    int* confidences = nullptr;
    OGRSpatialReferenceH* matches = reference.FindMatches(nullptr, &count, &confidences);
    if (matches != nullptr && count >= 1 && confidences[0] >= 90 &&
        (count == 1 || confidences[1] < confidences[0])) {
        const char* authority = OSRGetAuthorityName(matches[0], nullptr);
        if (authority != nullptr && std::string(authority) == "EPSG") {
            reference = *OGRSpatialReference::FromHandle(matches[0]);
        }
    }
    OSRFreeSRSArray(matches);
    CPLFree(confidences);
}

// The label, name, EPSG code and WKT of a system read into reference.
CoordinateSystem Describe(OGRSpatialReference& reference, const std::string& given) {
    CoordinateSystem system;
    const char* name = reference.GetName();
    system.name = name != nullptr ? name : "";
    const char* authority = reference.GetAuthorityName(nullptr);
    const char* code = reference.GetAuthorityCode(nullptr);
    if (authority == nullptr || code == nullptr) {
        // A WKT without its authority (an ESRI .prj file) may still be one EPSG knows.
        Identify(reference);
        authority = reference.GetAuthorityName(nullptr);
        code = reference.GetAuthorityCode(nullptr);
    }
    if (authority != nullptr && code != nullptr) {
        system.label = std::string(authority) + ":" + code;
        if (std::string(authority) == "EPSG") {
            system.epsgCode = std::stoi(code);
        }
    } else {
        system.label = given.empty() ? system.name : given;
    }
    char* wkt = nullptr;
    const char* const options[] = {"FORMAT=WKT2_2019", nullptr};
    if (reference.exportToWkt(&wkt, options) != OGRERR_NONE || wkt == nullptr) {
        CPLFree(wkt);
        throw GisError("coordinate system " + system.label +
                       " cannot be written as WKT: " + GdalReason("GDAL gives no WKT for it"));
    }
    system.wkt = wkt;
    CPLFree(wkt);
    return system;
}

}  // namespace

CoordinateSystem ResolveCoordinateSystem(const std::string& text) {
    UseGdal();
    OGRSpatialReference reference;
    // No file names and no network: the text itself says which system it is.
    const char* const options[] = {"ALLOW_NETWORK_ACCESS=NO", "ALLOW_FILE_ACCESS=NO", nullptr};
    if (text.empty() || reference.SetFromUserInput(text.c_str(), options) != OGRERR_NONE) {
        throw GisError("unknown coordinate system " + (text.empty() ? "\"\"" : text) + ": " +
                       GdalReason("GDAL does not know it"));
    }
    return Describe(reference, text);
}

CoordinateSystem CoordinateSystemFromWkt(const std::string& wkt) {
    UseGdal();
    OGRSpatialReference reference;
    if (reference.importFromWkt(wkt.c_str()) != OGRERR_NONE) {
        throw GisError("unreadable coordinate system: " + GdalReason("GDAL cannot read its WKT"));
    }
    return Describe(reference, "");
}

bool SameCoordinateSystem(const CoordinateSystem& a, const CoordinateSystem& b) {
    if (a.epsgCode != 0 && a.epsgCode == b.epsgCode) {
        return true;
    }
    UseGdal();
    OGRSpatialReference first;
    OGRSpatialReference second;
    if (first.importFromWkt(a.wkt.c_str()) != OGRERR_NONE ||
        second.importFromWkt(b.wkt.c_str()) != OGRERR_NONE) {
        return false;
    }
    const char* const options[] = {"CRITERION=EQUIVALENT_EXCEPT_AXIS_ORDER_GEOGCRS", nullptr};
    return first.IsSame(&second, options) != 0;
}

}  // namespace kafcad
