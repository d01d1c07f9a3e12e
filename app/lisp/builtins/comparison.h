// DefineComparisonFunctions(library): = /= < > <= >= over numbers (integers and reals compare
// by value) and strings (by character codes). Each takes one or more arguments and gives T or
// nil: = whether all are equal, /= whether no two neighbours are, the others whether every
// neighbouring pair is in that order. = and /= also take other values (nil, T, symbols equal
// themselves; lists never equal); the ordering ones fail with "bad argument type: numberp: X"
// (or stringp after a string).
#pragma once

#include "app/lisp/builtins/library.h"

namespace kafcad {

void DefineComparisonFunctions(BuiltinLibrary& library);

}  // namespace kafcad
