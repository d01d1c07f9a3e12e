// Value: an AutoLISP value as kafcad reads, evaluates and prints it. It is the host's own value
// type (kafhost::LispValue), so that values pass to and from the module's functions unchanged:
// nil, T, a 32-bit integer, a real, a string (wide text), a non-empty list (the empty list is
// nil), or a symbol, which only kafcad's evaluator uses.
#pragma once

#include "kafhost/lisp_value.h"

namespace kafcad {

using Value = kafhost::LispValue;

constexpr int kMaxListNesting = 1000;

// T for true, nil for false.
inline Value Truth(bool value) {
    return value ? Value::t() : Value::nil();
}

}  // namespace kafcad
