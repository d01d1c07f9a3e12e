// ReadForms(text): the AutoLISP expressions written in text (UTF-8), in order, as values to
// evaluate.
//
// Reads integers, reals, strings with the escapes \" \\ \n \t \r \e and \ooo (an octal character
// code, 0 to 255), symbols (names in upper case; nil and T in any case read as nil and T),
// lists in parentheses, 'x as (quote x), and skips ; comments to the end of the line. Throws
// ReadError (what and where) for unbalanced parentheses, unterminated strings, unknown escapes,
// dotted pairs, numbers out of range and lists and quotes nested more than 1000 levels deep
// ("too deeply nested ...").
#pragma once

#include <string>
#include <vector>

#include "app/lisp/value.h"

namespace kafcad {

std::vector<Value> ReadForms(const std::string& text);

}  // namespace kafcad
