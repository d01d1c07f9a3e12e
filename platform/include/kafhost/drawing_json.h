// Drawing files: a drawing snapshot as JSON text, and reading and writing such files.
//
// The file is one object:
//   {"layers": [{"name": "0", "hidden": false}, ...],  (and, where not the default, "color"
//               1 ... 255, "trueColor" [r, g, b], "linetype", "lineweight" -3 ... 211)
//    "entities": [{"handle": "2A", "type": "AcDbSubDMesh", "space": "model", "layer": "0",
//                  "erased": false, <geometry>}, ...],
//    "nextHandle": "2B"}
// with the geometry of each type:
//   AcDbSubDMesh      "vertices" [[x, y, z], ...], "faces" [[i, j, k], ...] (indices from 0),
//                     "vertexColors" [[r, g, b], ...] (empty or one per vertex), "subDLevel"
//   AcDbPolyFaceMesh  "vertices" [[x, y, z], ...], "faces" [[a, b, c, d], ...] (the face
//                     records' vertex numbers: from 1, 0 for none, negative for a hidden edge)
//   AcDbFace          "corners" [[x, y, z] x 4], "edgeVisible" [4 flags] (optional: all visible)
//   AcDbPolyline      "vertices" [[x, y], ...], "bulges" [one per vertex], "elevation", "closed"
//   AcDb3dPolyline    "vertices" [[x, y, z], ...], "closed"
//   AcDbPoint         "position" [x, y, z]
//   AcDbLine          "start" [x, y, z], "end" [x, y, z]
//   AcDbText          "position" [x, y, z], "alignmentPoint" [x, y, z] (optional: the position),
//                     "text", "textStyle" (optional: "Standard"), "height" (above 0),
//                     "rotation" (radians, optional: 0), "horizontalMode" 0 ... 5 and
//                     "verticalMode" 0 ... 3 (optional: 0)
// "nextHandle" is optional; reading without it lets the drawing continue above the highest
// handle. Numbers are written with the fewest digits that read back to the same double.
//
// drawingToJson(drawing): the file text (one layer or entity per line), ending in a line break.
// drawingFromJson(text): the snapshot the text describes. Throws DrawingFileError, saying what is
//   wrong and where (line and column of a syntax error, or the path to the value such as
//   entities[3].faces[7][2]), for text that is not such a drawing.
// saveDrawingFile(drawing, path): writes the file through a temporary file in the same folder
//   that then replaces path, so a save that fails leaves an earlier file intact. Throws
//   DrawingFileError.
// loadDrawingFile(path): reads and parses the file. Throws DrawingFileError (the path first).
// checkSaveTarget(path): throws the DrawingFileError a save to path would throw before writing
//   anything when path is not a regular file or a name not yet taken (a folder, a device, a pipe,
//   /dev/stdout), so that a program can refuse such a target before it starts its work.
#pragma once

#include <stdexcept>
#include <string>

#include "kafhost/drawing_snapshot.h"

namespace kafhost {

class DrawingFileError : public std::runtime_error {
public:
    explicit DrawingFileError(const std::string& message) : std::runtime_error(message) {}
};

std::string drawingToJson(const DrawingSnapshot& drawing);
DrawingSnapshot drawingFromJson(const std::string& text);
void saveDrawingFile(const DrawingSnapshot& drawing, const std::string& path);
DrawingSnapshot loadDrawingFile(const std::string& path);
void checkSaveTarget(const std::string& path);

}  // namespace kafhost
