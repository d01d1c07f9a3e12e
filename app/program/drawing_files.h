// Drawing files of kafcad by their extension (in any case): ".dxf" is DXF, ".xml" is LandXML,
// ".gpkg" is GeoPackage (written only), any other is JSON. LandXML and GeoPackage files carry the
// drawing's coordinate system (DrawingCoordinateSystem).
//
// IsDxfPath(path), IsLandXmlPath(path), IsGeoPackagePath(path): whether path names a DXF, a
//   LandXML or a GeoPackage file.
// ReadDrawingFile(path, notes): the drawing in the file; what the DXF or LandXML reader skipped
//   goes to notes (standard error when not given) as "kafcad: PATH: NOTE" lines; a LandXML file's
//   coordinate system becomes the drawing's (AdoptCoordinateSystem). Throws
//   kafhost::DrawingFileError, also for a GeoPackage file (kafcad writes them only).
// CheckLayerNames(names, path): throws kafhost::DrawingFileError (the path first) for a layer name
//   that is not text (bytes of another encoding given to --layer): a file would hold U+FFFD in
//   its place, and two such layers would become one.
// CheckDrawingFileKeeps(drawing, path): checks the layer names as above, and throws
//   kafhost::DrawingFileError when a JSON file cannot keep what the drawing holds (what was read
//   from a DXF file beyond what JSON holds).
// WriteDrawingFile(drawing, path, notes): checks as above and saves the drawing in the file's
//   format; what LandXML or GeoPackage leaves out goes to notes (standard error when not given) as
//   such lines. Throws kafhost::DrawingFileError.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "kafhost/drawing_json.h"
#include "kafhost/drawing_snapshot.h"

namespace kafcad {

bool IsDxfPath(const std::string& path);
bool IsLandXmlPath(const std::string& path);
bool IsGeoPackagePath(const std::string& path);
kafhost::DrawingSnapshot ReadDrawingFile(const std::string& path, std::ostream& notes);
kafhost::DrawingSnapshot ReadDrawingFile(const std::string& path);
void CheckLayerNames(const std::vector<std::wstring>& names, const std::string& path);
void CheckDrawingFileKeeps(const kafhost::DrawingSnapshot& drawing, const std::string& path);
void WriteDrawingFile(const kafhost::DrawingSnapshot& drawing, const std::string& path,
                      std::ostream& notes);
void WriteDrawingFile(const kafhost::DrawingSnapshot& drawing, const std::string& path);

}  // namespace kafcad
