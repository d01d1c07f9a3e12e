// ReadSource(text, sourceName): the forms of one source text (a script file, standard input, an
// -e text). Throws MalformedSource when the text is not well-formed, with the message
// "malformed expression (SOURCE, line L, column C): WHAT", e.g. "malformed expression
// (terrain.lsp, line 3, column 1): missing ")" for the "(" opened here".
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "app/lisp/value.h"

namespace kafcad {

class MalformedSource : public std::runtime_error {
public:
    explicit MalformedSource(const std::string& message) : std::runtime_error(message) {}
};

std::vector<Value> ReadSource(const std::string& text, const std::string& sourceName);

}  // namespace kafcad
