#include "app/program/read_inputs.h"

#include <filesystem>
#include <stdexcept>

#include "app/lisp/read_source.h"
#include "app/lisp/script_file.h"
#include "app/program/usage_error.h"

namespace kafcad {
namespace {

Source ReadExpression(const std::string& text, int number) {
    const std::string name = "-e " + std::to_string(number);
    Source source;
    source.showValues = true;
    try {
        source.forms = ReadSource(text, name);
    } catch (const MalformedSource& error) {
        throw UsageError(error.what());
    }
    if (source.forms.empty()) {
        throw UsageError("malformed expression (" + name + "): it is empty");
    }
    return source;
}

Source ReadScript(const std::string& path) {
    Source source;
    std::string text;
    try {
        text = ReadScriptFile(path);
    } catch (const std::runtime_error& error) {
        throw UsageError(error.what());
    }
    try {
        source.forms = ReadSource(text, path == "-" ? "standard input" : path);
    } catch (const MalformedSource& error) {
        throw UsageError(error.what());
    }
    if (path != "-") {
        source.folder = std::filesystem::path(path).parent_path().string();
    }
    return source;
}

}  // namespace

std::vector<Source> ReadInputs(const std::vector<Input>& inputs) {
    std::vector<Source> sources;
    int expressions = 0;
    for (const Input& input : inputs) {
        if (input.kind == Input::Kind::kExpression) {
            sources.push_back(ReadExpression(input.text, ++expressions));
        } else {
            sources.push_back(ReadScript(input.text));
        }
    }
    return sources;
}

}  // namespace kafcad
