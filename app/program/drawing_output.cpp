#include "app/program/drawing_output.h"

#include "app/lisp/builtins/argument_checks.h"
#include "app/lisp/error.h"
#include "app/picture/render_top_view.h"
#include "app/program/drawing_files.h"
#include "kafhost/drawing_json.h"

namespace kafcad {
namespace {

constexpr int kMaxPictureSide = 16384;

int PictureSide(const Value& value) {
    const int side = IntegerArgument(value);
    if (side < 1 || side > kMaxPictureSide) {
        throw LispError("bad argument value: picture side " + std::to_string(side) +
                        " (1 to 16384 pixels)");
    }
    return side;
}

}  // namespace

std::string PictureFailure(const std::string& path, const std::string& fileError) {
    // The file's own failure: its text starts with the path and says what could not be done.
    const std::string prefix = path + ": cannot write: ";
    const std::string reason =
        fileError.rfind(prefix, 0) == 0 ? fileError.substr(prefix.size()) : fileError;
    return "cannot write picture " + path + ": " + reason;
}

void SaveDrawing(const kafhost::DrawingSnapshot& drawing, const std::string& path) {
    try {
        WriteDrawingFile(drawing, path);
    } catch (const kafhost::DrawingFileError& error) {
        throw OutputError(std::string("cannot save drawing ") + error.what());
    }
}

void WritePicture(const kafhost::DrawingSnapshot& drawing, const std::string& path,
                  const PictureSize& size) {
    try {
        RenderTopView(drawing, path, size.width, size.height);
    } catch (const kafhost::DrawingFileError& error) {
        throw OutputError(PictureFailure(path, error.what()));
    } catch (const std::runtime_error& error) {
        throw OutputError("cannot write picture " + path + ": " + error.what());
    }
}

void DefineDrawingFunctions(BuiltinLibrary& library, kafhost::Host& host) {
    library.Define("kafcad-save", [&host](const std::vector<Value>& arguments) {
        CheckArgumentCount(arguments, 1, 1);
        try {
            SaveDrawing(host.snapshot(), FileNameArgument(arguments[0]));
        } catch (const OutputError& error) {
            throw LispError(error.what());
        }
        return arguments[0];
    });
    library.Define("kafcad-png", [&host](const std::vector<Value>& arguments) {
        CheckArgumentCount(arguments, 1, 3);
        const std::string path = FileNameArgument(arguments[0]);
        PictureSize size;
        if (arguments.size() > 1) {
            size.width = PictureSide(arguments[1]);
            size.height = arguments.size() > 2 ? PictureSide(arguments[2]) : size.width;
        }
        try {
            WritePicture(host.snapshot(), path, size);
        } catch (const OutputError& error) {
            throw LispError(error.what());
        }
        return arguments[0];
    });
}

}  // namespace kafcad
