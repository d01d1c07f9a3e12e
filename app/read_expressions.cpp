#include "app/read_expressions.h"

#include "app/read_error.h"
#include "app/read_forms.h"
#include "app/usage_error.h"

namespace kafcad {
namespace {

// "line L, column C" (both from 1) of a byte offset in text.
std::string Position(const std::string& text, std::size_t offset) {
    std::size_t line = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(offset - lineStart + 1);
}

}  // namespace

std::vector<Value> ReadExpressions(const std::vector<std::string>& texts) {
    std::vector<Value> expressions;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::string which = "-e " + std::to_string(i + 1);
        std::vector<Value> forms;
        try {
            forms = ReadForms(texts[i]);
        } catch (const ReadError& error) {
            throw UsageError("malformed expression (" + which + ", " +
                             Position(texts[i], error.offset()) + "): " + error.what());
        }
        if (forms.empty())
            throw UsageError("malformed expression (" + which + "): it is empty");
        for (Value& form : forms)
            expressions.push_back(std::move(form));
    }
    return expressions;
}

}  // namespace kafcad
