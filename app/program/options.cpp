#include "app/program/options.h"

#include "app/gis/coordinate_system.h"
#include "app/program/picture_support.h"
#include "app/program/usage_error.h"

namespace kafcad {
namespace {

// Walks the arguments, handing out option names and their values.
class ArgumentCursor {
public:
    explicit ArgumentCursor(const std::vector<std::string>& arguments) : arguments_(arguments) {}

    bool Done() const { return next_ >= arguments_.size(); }

    // The next argument as it is written (no --name=VALUE split).
    std::string NextPlain() { return arguments_[next_++]; }

    // The next option's name; a value written as --name=VALUE is kept for Value().
    std::string NextName() {
        std::string argument = arguments_[next_++];
        inlineValue_.reset();
        const std::size_t equals = argument.find('=');
        if (argument.rfind("--", 0) == 0 && equals != std::string::npos) {
            inlineValue_ = argument.substr(equals + 1);
            argument.resize(equals);
        }
        return argument;
    }

    std::string Value(const std::string& name) {
        if (inlineValue_) {
            return *inlineValue_;
        }
        if (Done()) {
            throw UsageError("option " + name + " needs a value");
        }
        return arguments_[next_++];
    }

    void RejectValue(const std::string& name) const {
        if (inlineValue_) {
            throw UsageError("option " + name + " takes no value");
        }
    }

private:
    const std::vector<std::string>& arguments_;
    std::size_t next_ = 0;
    std::optional<std::string> inlineValue_;
};

void SetOnce(std::optional<std::string>& slot, const std::string& name, std::string value) {
    if (slot) {
        throw UsageError("option " + name + " given twice");
    }
    slot = std::move(value);
}

// A whole number 1 ... 16384 written with digits only, or 0 when the text is not one.
int PictureSide(const std::string& text) {
    if (text.empty() || text.size() > 5 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return 0;
    }
    const int side = std::stoi(text);
    return side <= 16384 ? side : 0;
}

}  // namespace

PictureSize ParsePictureSize(const std::string& text) {
    const std::size_t x = text.find_first_of("xX");
    const int width = PictureSide(text.substr(0, x));
    const int height = x == std::string::npos ? width : PictureSide(text.substr(x + 1));
    if (width == 0 || height == 0) {
        throw UsageError("option --png-size needs WxH or N (1 to 16384 pixels), not \"" + text +
                         "\"");
    }
    return PictureSize{width, height};
}

Options ParseOptions(const std::vector<std::string>& arguments) {
    Options options;
    std::optional<std::string> pngSize;
    ArgumentCursor cursor(arguments);
    bool scriptsOnly = false;
    while (!cursor.Done()) {
        if (scriptsOnly) {
            options.inputs.push_back({Input::Kind::kScript, cursor.NextPlain()});
            continue;
        }
        const std::string name = cursor.NextName();
        if (name == "-e" || name == "--eval") {
            options.inputs.push_back({Input::Kind::kExpression, cursor.Value(name)});
        } else if (name == "--drawing") {
            SetOnce(options.drawingPath, name, cursor.Value(name));
        } else if (name == "--layer") {
            options.layers.push_back(ParseLayerOption(cursor.Value(name)));
        } else if (name == "--save") {
            SetOnce(options.savePath, name, cursor.Value(name));
        } else if (name == "--png") {
            if (!PicturesAvailable()) {
                throw UsageError(
                    "option --png is not available: this kafcad is built without "
                    "PNG pictures (no cairo on this system)");
            }
            SetOnce(options.pngPath, name, cursor.Value(name));
        } else if (name == "--png-size") {
            SetOnce(pngSize, name, cursor.Value(name));
            options.pngSize = ParsePictureSize(*pngSize);
        } else if (name == "--crs") {
            if (!GisAvailable()) {
                throw UsageError(std::string("option --crs is not available: ") + kGisUnavailable);
            }
            SetOnce(options.crs, name, cursor.Value(name));
        } else if (name == "--module") {
            SetOnce(options.modulePath, name, cursor.Value(name));
        } else if (name == "--help" || name == "-h") {
            cursor.RejectValue(name);
            options.help = true;
        } else if (name == "--version") {
            cursor.RejectValue(name);
            options.version = true;
        } else if (name == "--") {
            scriptsOnly = true;
        } else if (name.size() > 1 && name[0] == '-') {
            throw UsageError("unknown option " + name);
        } else {
            options.inputs.push_back({Input::Kind::kScript, name});
        }
    }
    if (pngSize && !options.pngPath) {
        throw UsageError("option --png-size needs --png FILE");
    }
    return options;
}

}  // namespace kafcad
