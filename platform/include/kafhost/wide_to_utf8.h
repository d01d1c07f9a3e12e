// wideToUtf8(text): a wide string as UTF-8 (surrogate pairs joined where wchar_t has 16 bits).
// Values that are no code point (lone surrogates, beyond U+10FFFF) become U+FFFD.
#pragma once

#include <string>

namespace kafhost {

std::string wideToUtf8(const std::wstring& text);

}  // namespace kafhost
