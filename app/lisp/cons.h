// Lists with a dotted tail. kafcad's values hold a list as its elements; a list whose last cdr is
// an atom, such as (8 . "TIN") or (1 2 . 3), keeps that atom as its last element behind the
// marker DotMarker(), a symbol the reader never makes ("."), so that it prints as AutoLISP
// prints it.
//
// Cons(head, tail): the list tail with head in front; a tail that is an atom gives a dotted pair.
// Car(list), Cdr(list): first element / the rest (the atom after the dot for a dotted pair); nil
//   for nil. Throw "bad argument type: consp X" for an atom.
// IsDotted(value): whether the value is a list with a dotted tail.
// ConsCount(value): the number of conses of a list (a dotted pair has one).
#pragma once

#include <cstddef>

#include "app/lisp/value.h"

namespace kafcad {

const Value& DotMarker();
bool IsDotted(const Value& value);
Value Cons(const Value& head, const Value& tail);
Value Car(const Value& list);
Value Cdr(const Value& list);

}  // namespace kafcad
