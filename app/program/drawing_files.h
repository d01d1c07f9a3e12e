// Drawing files of kafcad by their extension: ".dxf" (in any case) is DXF, any other is JSON.
//
// IsDxfPath(path): whether path names a DXF file.
// ReadDrawingFile(path, notes): the drawing in the file; the DXF reader's notes go to notes
//   (standard error when not given) as "kafcad: PATH: NOTE" lines. Throws
//   kafhost::DrawingFileError.
// CheckDrawingFileKeeps(drawing, path): throws kafhost::DrawingFileError when the file's format
//   cannot keep what the drawing holds (a JSON file, what was read from a DXF file beyond it).
// WriteDrawingFile(drawing, path): checks as above and saves the drawing in the file's format.
// Throws
//   kafhost::DrawingFileError.
#pragma once

#include <ostream>
#include <string>

#include "kafhost/drawing_json.h"
#include "kafhost/drawing_snapshot.h"

namespace kafcad {

bool IsDxfPath(const std::string& path);
kafhost::DrawingSnapshot ReadDrawingFile(const std::string& path, std::ostream& notes);
kafhost::DrawingSnapshot ReadDrawingFile(const std::string& path);
void CheckDrawingFileKeeps(const kafhost::DrawingSnapshot& drawing, const std::string& path);
void WriteDrawingFile(const kafhost::DrawingSnapshot& drawing, const std::string& path);

}  // namespace kafcad
