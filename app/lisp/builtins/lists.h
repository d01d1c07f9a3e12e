// DefineListFunctions(library): list, car, cdr, cadr, nth, length, append.
//   (list x ...)        the arguments as a list (none: nil)
//   (car l) (cdr l)     first element / the rest; nil for nil; "bad argument type: consp X"
//   (cadr l)            second element (car of cdr)
//   (nth n l)           element n counted from 0, nil past the end or below 0
//   (length l)          number of elements (0 for nil)
//   (append l ...)      one list of all the lists' elements
// A list argument that is not a list fails with "bad argument type: listp X", an index that is
// not an integer with "bad argument type: fixnump: X".
#pragma once

#include "app/lisp/builtins/library.h"

namespace kafcad {

void DefineListFunctions(BuiltinLibrary& library);

}  // namespace kafcad
