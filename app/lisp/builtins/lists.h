// DefineListFunctions(library): the list functions.
//   (list x ...)            the arguments as a list (none: nil)
//   (cons x l)              l with x in front; a dotted pair (x . l) when l is an atom
//   (car l) (cdr l)         first element / the rest; nil for nil; "bad argument type: consp X"
//   (caar l) ... (cddddr l) the combinations of car and cdr to four levels, read from the right
//   (nth n l)               element n counted from 0, nil past the end or below 0
//   (length l)              number of elements (0 for nil)
//   (append l ...)          one list of all the lists' elements
//   (reverse l) (last l)    the elements in reverse order / the last element
//   (member x l)            the list from the first element equal to x (nil when none)
//   (assoc key alist)       the first element of alist whose car is equal to key
//   (subst new old l)       l with every element equal to old replaced by new
//   (vl-remove x l)         l without the elements equal to x
//   (vl-position x l)       the index of the first element equal to x, nil when none
// A list argument that is not a list fails with "bad argument type: listp X" (a dotted list
// with "bad list: X"), an index that is not an integer with "bad argument type: fixnump: X".
// Elements are compared as equal compares them (ValuesEqual).
//
// ValuesEqual(a, b, fuzz): numbers within fuzz of each other (an integer equals a real of its
// value), strings and symbols by text, lists element by element.
#pragma once

#include "app/lisp/builtins/library.h"

namespace kafcad {

void DefineListFunctions(BuiltinLibrary& library);
bool ValuesEqual(const Value& a, const Value& b, double fuzz = 0.0);

}  // namespace kafcad
