// DefinePredicateFunctions(library): tests of values.
//   (atom x)            T unless x is a non-empty list
//   (listp x)           T for a list or nil
//   (vl-consp x)        T for a non-empty list
//   (null x) (not x)    T for nil
//   (equal a b [fuzz])  T when a and b are equal as ValuesEqual says (numbers within fuzz)
//   (eq a b)            T when a and b are the same: equal atoms, or one and the same list
//   (type x)            INT, REAL, STR, SYM, LIST, USUBR (a user function or lambda),
//                       ENAME, PICKSET, FILE; nil for nil. A quoted built-in name is a SYM
#pragma once

#include "app/lisp/builtins/library.h"

namespace kafcad {

void DefinePredicateFunctions(BuiltinLibrary& library);

}  // namespace kafcad
