#include "app/program/drawing_files.h"

#include <cctype>
#include <iostream>
#include <vector>

#include "app/lisp/script_file.h"
#include "app/terminal/escape_controls.h"
#include "kafhost/drawing_dxf.h"
#include "kafhost/drawing_json.h"

namespace kafcad {

bool IsDxfPath(const std::string& path) {
    const std::string extension = ".dxf";
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

kafhost::DrawingSnapshot ReadDrawingFile(const std::string& path, std::ostream& notes) {
    const std::string kind = UnreadableKind(path);
    if (!kind.empty()) {
        throw kafhost::DrawingFileError(path + ": cannot open: " + kind);
    }
    if (!IsDxfPath(path)) {
        return kafhost::loadDrawingFile(path);
    }
    std::vector<std::string> skipped;
    kafhost::DrawingSnapshot drawing = kafhost::loadDxfDrawingFile(path, skipped);
    for (const std::string& note : skipped) {
        notes << "kafcad: " << path << ": " << EscapeControls(note) << "\n";
    }
    return drawing;
}

kafhost::DrawingSnapshot ReadDrawingFile(const std::string& path) {
    return ReadDrawingFile(path, std::cerr);
}

void CheckDrawingFileKeeps(const kafhost::DrawingSnapshot& drawing, const std::string& path) {
    const std::string losses = IsDxfPath(path) ? "" : kafhost::dxfDataJsonCannotKeep(drawing);
    if (!losses.empty()) {
        throw kafhost::DrawingFileError(path +
                                        ": a JSON drawing file cannot keep what the DXF "
                                        "file held (" +
                                        losses + "); save it as .dxf");
    }
}

void WriteDrawingFile(const kafhost::DrawingSnapshot& drawing, const std::string& path) {
    CheckDrawingFileKeeps(drawing, path);
    if (IsDxfPath(path)) {
        kafhost::saveDxfDrawingFile(drawing, path);
    } else {
        kafhost::saveDrawingFile(drawing, path);
    }
}

}  // namespace kafcad
