// The drawing's outputs, from the end of a run and from AutoLISP.
//
// SaveDrawing(drawing, path): saves the drawing (the host's snapshot) in the file's format
//   (WriteDrawingFile). Throws OutputError "cannot save drawing PATH: cannot write: REASON".
// WritePicture(drawing, path, size): draws the top view into the PNG picture path
//   (RenderTopView). Throws OutputError "cannot write picture PATH: REASON".
// PictureFailure(path, fileError): that text for the picture file's own failure
//   ("PATH: cannot write: REASON").
// DefineDrawingFunctions(library, host): the functions that do so without ending the session:
//   (kafcad-save "file")                   saves the drawing; gives the file name
//   (kafcad-png "file" [width [height]])   writes the picture (default 1200 x 1200, height
//                                          the width when left out); gives the file name
//   (kafcad-profile-png "file" profiles [exaggeration [width [height]]])
//                                          plots profiles as kaf-profile gives them, each
//                                          alone or as ("label" profile), station against
//                                          elevation (RenderProfilePlot; default exaggeration
//                                          1, 1200 x 600, height half the width when left out)
//   Their failures are LispErrors with the texts above.
#pragma once

#include <stdexcept>
#include <string>

#include "app/lisp/builtins/library.h"
#include "app/program/options.h"
#include "kafhost/host.h"

namespace kafcad {

class OutputError : public std::runtime_error {
public:
    explicit OutputError(const std::string& message) : std::runtime_error(message) {}
};

std::string PictureFailure(const std::string& path, const std::string& fileError);
void SaveDrawing(const kafhost::DrawingSnapshot& drawing, const std::string& path);
void WritePicture(const kafhost::DrawingSnapshot& drawing, const std::string& path,
                  const PictureSize& size);
void DefineDrawingFunctions(BuiltinLibrary& library, kafhost::Host& host);

}  // namespace kafcad
