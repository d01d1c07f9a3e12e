// ToHostValue(value): the value as the host's interpreter hands it to a module function: strings
// converted from UTF-8 to wide text, lists element by element. Throws LispError for a symbol,
// which kafcad cannot pass.
// FromHostValue(value): a function's result as a kafcad value, strings converted to UTF-8.
#pragma once

#include "app/lisp/value.h"
#include "kafhost/lisp_value.h"

namespace kafcad {

kafhost::LispValue ToHostValue(const Value& value);
Value FromHostValue(const kafhost::LispValue& value);

}  // namespace kafcad
