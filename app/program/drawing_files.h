// Drawing files of kafcad by their extension: ".dxf" (in any case) is DXF, any other is JSON.
//
// IsDxfPath(path): whether path names a DXF file.
// ReadDrawingFile(path, notes): the drawing in the file; what the DXF reader skipped goes to notes
//   (standard error when not given) as "kafcad: PATH: NOTE" lines. Throws
//   kafhost::DrawingFileError.
// WriteDrawingFile(drawing, path): saves the drawing in the file's format. Throws
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
void WriteDrawingFile(const kafhost::DrawingSnapshot& drawing, const std::string& path);

}  // namespace kafcad
