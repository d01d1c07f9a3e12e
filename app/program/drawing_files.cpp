#include "app/program/drawing_files.h"

#include <cctype>
#include <iostream>
#include <memory>
#include <vector>

#include "app/gis/coordinate_system.h"
#include "app/gis/write_geopackage.h"
#include "app/lisp/script_file.h"
#include "app/terminal/escape_controls.h"
#include "kafhost/drawing_dxf.h"
#include "kafhost/drawing_json.h"
#include "kafhost/drawing_landxml.h"
#include "kafhost/utf8_to_wide.h"
#include "kafhost/wide_to_utf8.h"

namespace kafcad {
namespace {

bool HasExtension(const std::string& path, const std::string& extension) {
    if (path.size() < extension.size()) {
        return false;
    }
    for (std::size_t i = 0; i < extension.size(); ++i) {
        const char c = path[path.size() - extension.size() + i];
        if (std::tolower(static_cast<unsigned char>(c)) != extension[i]) {
            return false;
        }
    }
    return true;
}

void ShowNotes(const std::string& path, const std::vector<std::string>& notes, std::ostream& out) {
    for (const std::string& note : notes) {
        out << "kafcad: " << EscapeControls(path + ": " + note) << "\n";
    }
}

// The drawing's coordinate system as a LandXML file names it; null when it has none.
std::unique_ptr<kafhost::LandXmlCoordinateSystem> LandXmlSystem() {
    const std::optional<CoordinateSystem>& system = DrawingCoordinateSystem();
    if (!system) {
        return nullptr;
    }
    return std::make_unique<kafhost::LandXmlCoordinateSystem>(kafhost::LandXmlCoordinateSystem{
        system->name, system->epsgCode != 0 ? std::to_string(system->epsgCode) : "", system->wkt});
}

// A LandXML file's coordinate system, by its WKT or else its EPSG code, taken over.
void AdoptLandXmlSystem(const kafhost::LandXmlCoordinateSystem& found, const std::string& path) {
    try {
        const CoordinateSystem system = !found.wkt.empty()
                                            ? CoordinateSystemFromWkt(found.wkt)
                                            : ResolveCoordinateSystem("EPSG:" + found.epsgCode);
        AdoptCoordinateSystem(system, path);
    } catch (const GisError& error) {
        const std::string reason = error.what();
        throw kafhost::DrawingFileError(reason.rfind(path, 0) == 0 ? reason : path + ": " + reason);
    }
}

}  // namespace

bool IsGeoPackagePath(const std::string& path) {
    return HasExtension(path, ".gpkg");
}

bool IsDxfPath(const std::string& path) {
    return HasExtension(path, ".dxf");
}

bool IsLandXmlPath(const std::string& path) {
    return HasExtension(path, ".xml");
}

kafhost::DrawingSnapshot ReadDrawingFile(const std::string& path, std::ostream& notes) {
    const std::string kind = UnreadableKind(path);
    if (!kind.empty()) {
        throw kafhost::DrawingFileError(path + ": cannot open: " + kind);
    }
    if (IsGeoPackagePath(path)) {
        throw kafhost::DrawingFileError(path +
                                        ": kafcad writes GeoPackage files but reads no drawing "
                                        "from them");
    }
    if (!IsDxfPath(path) && !IsLandXmlPath(path)) {
        return kafhost::loadDrawingFile(path);
    }
    std::vector<std::string> skipped;
    kafhost::LandXmlCoordinateSystem system;
    kafhost::DrawingSnapshot drawing =
        IsDxfPath(path)
            ? kafhost::loadDxfDrawingFile(path, skipped)
            : kafhost::loadLandXmlDrawingFile(path, skipped, GisAvailable() ? &system : nullptr);
    if (!system.epsgCode.empty() || !system.wkt.empty()) {
        AdoptLandXmlSystem(system, path);
    }
    ShowNotes(path, skipped, notes);
    return drawing;
}

kafhost::DrawingSnapshot ReadDrawingFile(const std::string& path) {
    return ReadDrawingFile(path, std::cerr);
}

void CheckLayerNames(const std::vector<std::wstring>& names, const std::string& path) {
    for (const std::wstring& name : names) {
        const std::string utf8 = kafhost::wideToUtf8(name);
        if (kafhost::utf8ToWide(utf8) != name) {
            throw kafhost::DrawingFileError(path + ": the layer name \"" + utf8 +
                                            "\" is not UTF-8 text, which drawing files hold");
        }
    }
}

void CheckDrawingFileKeeps(const kafhost::DrawingSnapshot& drawing, const std::string& path) {
    std::vector<std::wstring> layerNames;
    for (const kafhost::LayerInfo& layer : drawing.layers) {
        layerNames.push_back(layer.name);
    }
    CheckLayerNames(layerNames, path);
    // LandXML is an exchange of surfaces only: what it leaves out is named when it is written.
    if (IsDxfPath(path) || IsLandXmlPath(path) || IsGeoPackagePath(path)) {
        return;
    }
    const std::string losses = kafhost::dxfDataJsonCannotKeep(drawing);
    if (!losses.empty()) {
        throw kafhost::DrawingFileError(path +
                                        ": a JSON drawing file cannot keep what the DXF "
                                        "file held (" +
                                        losses + "); save it as .dxf");
    }
}

void WriteDrawingFile(const kafhost::DrawingSnapshot& drawing, const std::string& path,
                      std::ostream& notes) {
    CheckDrawingFileKeeps(drawing, path);
    if (IsLandXmlPath(path)) {
        std::vector<std::string> leftOut;
        kafhost::saveLandXmlDrawingFile(drawing, path, leftOut, LandXmlSystem().get());
        ShowNotes(path, leftOut, notes);
    } else if (IsGeoPackagePath(path)) {
        std::vector<std::string> leftOut;
        try {
            WriteGeoPackage(drawing, DrawingCoordinateSystem(), path, leftOut);
        } catch (const GisError& error) {
            throw kafhost::DrawingFileError(error.what());
        }
        ShowNotes(path, leftOut, notes);
    } else if (IsDxfPath(path)) {
        kafhost::saveDxfDrawingFile(drawing, path);
    } else {
        kafhost::saveDrawingFile(drawing, path);
    }
}

void WriteDrawingFile(const kafhost::DrawingSnapshot& drawing, const std::string& path) {
    WriteDrawingFile(drawing, path, std::cerr);
}

}  // namespace kafcad
