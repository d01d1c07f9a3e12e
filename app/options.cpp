#include "app/options.h"

#include "app/usage_error.h"

namespace kafcad {
namespace {

// Walks the arguments, handing out option names and their values.
class ArgumentCursor {
public:
    explicit ArgumentCursor(const std::vector<std::string>& arguments) : arguments_(arguments) {}

    bool Done() const { return next_ >= arguments_.size(); }

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
        if (inlineValue_)
            return *inlineValue_;
        if (Done())
            throw UsageError("option " + name + " needs a value");
        return arguments_[next_++];
    }

    void RejectValue(const std::string& name) const {
        if (inlineValue_)
            throw UsageError("option " + name + " takes no value");
    }

private:
    const std::vector<std::string>& arguments_;
    std::size_t next_ = 0;
    std::optional<std::string> inlineValue_;
};

void SetOnce(std::optional<std::string>& slot, const std::string& name, std::string value) {
    if (slot)
        throw UsageError("option " + name + " given twice");
    slot = std::move(value);
}

}  // namespace

Options ParseOptions(const std::vector<std::string>& arguments) {
    Options options;
    ArgumentCursor cursor(arguments);
    while (!cursor.Done()) {
        const std::string name = cursor.NextName();
        if (name == "-e" || name == "--eval") {
            options.expressions.push_back(cursor.Value(name));
        } else if (name == "--drawing") {
            SetOnce(options.drawingPath, name, cursor.Value(name));
        } else if (name == "--layer") {
            const std::string layer = cursor.Value(name);
            if (layer.empty())
                throw UsageError("option --layer needs a non-empty layer name");
            options.layers.push_back(layer);
        } else if (name == "--save") {
            SetOnce(options.savePath, name, cursor.Value(name));
        } else if (name == "--module") {
            SetOnce(options.modulePath, name, cursor.Value(name));
        } else if (name == "--help" || name == "-h") {
            cursor.RejectValue(name);
            options.help = true;
        } else if (name == "--version") {
            cursor.RejectValue(name);
            options.version = true;
        } else if (!name.empty() && name[0] == '-') {
            throw UsageError("unknown option " + name);
        } else {
            throw UsageError("unexpected argument \"" + name + "\" (expressions follow -e)");
        }
    }
    if (!options.help && !options.version && options.expressions.empty())
        throw UsageError("no expression given (use -e EXPR)");
    return options;
}

}  // namespace kafcad
