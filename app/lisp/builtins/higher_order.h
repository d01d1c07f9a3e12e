// DefineHigherOrderFunctions(library, evaluator): the functions that call functions or
// evaluate, which the evaluator defines for itself. A function argument is a quoted symbol
// naming a user or library function ('car, 'myfunc) or a lambda ((lambda (x) ...), quoted or
// written with function).
//   (mapcar f list ...)         the list of f applied to the lists' elements in step; as long as
//                               the shortest list
//   (apply f list)              f called with the list's elements as its arguments
//   (eval x)                    the value of x evaluated
//   (vl-remove-if f list)       the elements for which f gives nil
//   (vl-remove-if-not f list)   the elements for which f gives something other than nil
//   (vl-member-if f list)       the list from the first element for which f is not nil
//   (vl-sort list less)         the list sorted by the function less (stable; duplicates kept)
//   (boundp 'name)              T when the variable holds a value other than nil
//   (exit) (quit)               end the evaluation with the error "quit / exit abort"
#pragma once

#include "app/lisp/builtins/library.h"

namespace kafcad {

class Evaluator;

void DefineHigherOrderFunctions(BuiltinLibrary& library, Evaluator& evaluator);

}  // namespace kafcad
