// Evaluate(form, functions): the value of one AutoLISP expression.
//
// Numbers, strings, nil and T evaluate to themselves; (quote x) gives x; a list headed by a
// symbol calls that function of the library with its arguments evaluated in order. Throws
// LispError with AutoLISP's reasons: "no function definition: NAME" and "bad function: X"
// (exit status 2), "too few arguments" / "too many arguments" for quote, and for symbols used
// as variables, which kafcad does not have yet.
#pragma once

#include "app/function_library.h"
#include "app/value.h"

namespace kafcad {

Value Evaluate(const Value& form, FunctionLibrary& functions);

}  // namespace kafcad
