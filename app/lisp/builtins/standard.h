// DefineStandardFunctions(library, commandLine): every built-in function of kafcad's AutoLISP
// that needs no drawing: arithmetic, comparison, lists, predicates, numbers, strings,
// conversions, printing and files (the files the script opens are kept with the library's
// functions). The evaluator adds its own (higher_order.h); the drawing's come from
// app/program.
#pragma once

#include "app/lisp/builtins/library.h"
#include "app/lisp/command_line_output.h"

namespace kafcad {

void DefineStandardFunctions(BuiltinLibrary& library, CommandLineOutput& commandLine);

}  // namespace kafcad
