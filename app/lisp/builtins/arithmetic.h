// DefineArithmeticFunctions(library): + - * / with AutoLISP's number rules. Integers stay
// integers (32 bits, wrapping on overflow, / truncating toward zero) until a real takes part;
// then the result is real. No argument gives 0; (- x) negates; (/ x) gives x. Division by zero
// fails with "divide by zero"; a non-number with "bad argument type: numberp: X".
#pragma once

#include "app/lisp/builtins/library.h"

namespace kafcad {

void DefineArithmeticFunctions(BuiltinLibrary& library);

}  // namespace kafcad
