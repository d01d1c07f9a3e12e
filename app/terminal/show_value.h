// ShowValue(value, commandLine): shows a value as the host's command line echoes it: on a line
// of its own (a new line is started after the module's text), in its printed form; the quiet
// value of (princ) shows nothing.
#pragma once

#include "app/lisp/command_line_output.h"
#include "app/lisp/value.h"

namespace kafcad {

void ShowValue(const Value& value, CommandLineOutput& commandLine);

}  // namespace kafcad
