// PrintValue(value): the value in AutoLISP's printed form, as UTF-8 text that reads back to the
// same value: nil, T, integers plainly, reals as FormatReal, strings in double quotes with
// \" \\ \n \t \r \e and other control characters as \ooo, symbols by name, lists in
// parentheses with their elements separated by one space.
// DisplayValue(value): the same, but strings (also inside lists) as their bare text, as princ
// shows them.
#pragma once

#include <string>

#include "app/lisp/value.h"

namespace kafcad {

std::string PrintValue(const Value& value);
std::string DisplayValue(const Value& value);

}  // namespace kafcad
