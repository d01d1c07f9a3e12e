#include "app/lisp/read_source.h"

#include "app/lisp/read_error.h"
#include "app/lisp/read_forms.h"

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

std::vector<Value> ReadSource(const std::string& text, const std::string& sourceName) {
    try {
        return ReadForms(text);
    } catch (const ReadError& error) {
        throw MalformedSource("malformed expression (" + sourceName + ", " +
                              Position(text, error.offset()) + "): " + error.what());
    }
}

}  // namespace kafcad
