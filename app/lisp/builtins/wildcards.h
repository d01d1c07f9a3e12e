// WildcardMatch(text, pattern): whether text matches the wild-card pattern as AutoCAD's wcmatch
// reads it (case-sensitive):
//   #  one digit            @  one letter (A-Z, a-z)      .  one character that is neither
//   *  any run, also empty  ?  any one character          [abc] [a-z] one of them; [~...] none
//   ~  first in a pattern: anything but the pattern       `  the next character as itself
//   ,  separates patterns; the text matches when it matches any of them
// An unclosed "[" stands for itself. Matching takes time proportional to the lengths' product.
#pragma once

#include <string>

namespace kafcad {

bool WildcardMatch(const std::wstring& text, const std::wstring& pattern);

}  // namespace kafcad
