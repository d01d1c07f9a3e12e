#include "app/program/drawing_output.h"

#include <cmath>
#include <utility>
#include <vector>

#include "app/lisp/builtins/argument_checks.h"
#include "app/lisp/error.h"
#include "app/picture/profile_plot.h"
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

// A profile as kaf-profile gives it: (station elevation) lists, nil between runs.
std::vector<std::vector<std::pair<double, double>>> ProfileRuns(const Value& profile) {
    std::vector<std::vector<std::pair<double, double>>> runs(1);
    for (const Value& item : ListArgument(profile)) {
        if (item.isNil()) {
            runs.emplace_back();
            continue;
        }
        const std::vector<Value>& pair = ListArgument(item);
        if (pair.size() != 2 || !pair[0].isNumber() || !pair[1].isNumber()) {
            throw LispError("bad argument value: a profile point has to be (station elevation)");
        }
        runs.back().emplace_back(pair[0].asNumber(), pair[1].asNumber());
    }
    return runs;
}

// The profiles of the plot: each a profile, or a list of its label and the profile.
std::vector<PlotProfile> PlotProfiles(const Value& value) {
    std::vector<PlotProfile> profiles;
    for (const Value& item : ListArgument(value)) {
        PlotProfile profile;
        profile.label = "Profile " + std::to_string(profiles.size() + 1);
        const std::vector<Value>& parts = ListArgument(item);
        if (!parts.empty() && parts[0].kind() == Value::Kind::kString) {
            if (parts.size() != 2) {
                throw LispError("bad argument value: a labelled profile is (\"label\" profile)");
            }
            profile.label = FileNameArgument(parts[0]);
            profile.runs = ProfileRuns(parts[1]);
        } else {
            profile.runs = ProfileRuns(item);
        }
        profiles.push_back(std::move(profile));
    }
    return profiles;
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
    library.Define("kafcad-profile-png", [](const std::vector<Value>& arguments) {
        CheckArgumentCount(arguments, 2, 5);
        const std::string path = FileNameArgument(arguments[0]);
        const std::vector<PlotProfile> profiles = PlotProfiles(arguments[1]);
        double exaggeration = 1.0;
        if (arguments.size() > 2) {
            exaggeration = NumberArgument(arguments[2]);
            if (!(exaggeration > 0.0 && std::isfinite(exaggeration))) {
                throw LispError(
                    "bad argument value: the vertical exaggeration has to be a "
                    "positive number");
            }
        }
        PictureSize size{1200, 600};
        if (arguments.size() > 3) {
            size.width = PictureSide(arguments[3]);
            size.height = arguments.size() > 4 ? PictureSide(arguments[4]) : size.width / 2;
        }
        try {
            RenderProfilePlot(profiles, exaggeration, path, size.width, size.height);
        } catch (const std::runtime_error& error) {
            throw LispError("cannot write picture " + path + ": " + error.what());
        }
        return arguments[0];
    });
}

}  // namespace kafcad
