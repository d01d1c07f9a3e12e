// PrintValue(value): the value in AutoLISP's printed form (kafhost::toLispText), as UTF-8 text
// that reads back to the same value.
// DisplayValue(value): the same, but strings (also inside lists) as their bare text, as princ
// shows them (kafhost::toDisplayText).
#pragma once

#include <string>

#include "app/lisp/value.h"
#include "kafhost/wide_to_utf8.h"

namespace kafcad {

inline std::string PrintValue(const Value& value) {
    return kafhost::wideToUtf8(kafhost::toLispText(value));
}

inline std::string DisplayValue(const Value& value) {
    return kafhost::wideToUtf8(kafhost::toDisplayText(value));
}

}  // namespace kafcad
