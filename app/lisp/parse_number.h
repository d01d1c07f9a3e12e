// ParseNumber(token): the number an AutoLISP token stands for, or nothing when the token is not
// written as a number (it is then a symbol).
//
// Integers are optional sign and digits; one that does not fit 32 bits reads as a real, as in
// AutoLISP. Reals have a decimal point or an exponent: 1.5, .5, -2., 1e-3, 2.5E+10. The tokens
// 1.#INF, -1.#INF and -1.#IND read as the infinities and NaN (how they are printed).
// Throws std::range_error for a real too large to be held in a double.
#pragma once

#include <optional>
#include <string_view>

#include "app/lisp/value.h"

namespace kafcad {

std::optional<Value> ParseNumber(std::string_view token);

}  // namespace kafcad
