// ReadInputs(inputs): the forms of every script and -e expression, in order, all read before
// any is evaluated. A script "-" is read from standard input. Throws UsageError for a script
// that cannot be read ("cannot read script PATH: REASON"), text that is not well-formed
// ("malformed expression (SOURCE, line L, column C): WHAT", SOURCE being the script's path,
// "standard input" or "-e N" counted from 1) and an -e text that holds no expression.
#pragma once

#include <string>
#include <vector>

#include "app/lisp/value.h"
#include "app/program/options.h"

namespace kafcad {

struct Source {
    std::vector<Value> forms;
    // True for an -e expression, whose values are shown; a script's are not.
    bool showValues = false;
    // The script's folder, where load also looks (empty for -e and standard input).
    std::string folder;
};

std::vector<Source> ReadInputs(const std::vector<Input>& inputs);

}  // namespace kafcad
