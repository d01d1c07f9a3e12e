// utf8ToWide(text): UTF-8 text as a wide string (one wchar_t per code point where wchar_t has
// 32 bits, surrogate pairs where it has 16). Malformed bytes become U+FFFD.
#pragma once

#include <string>

namespace kafhost {

std::wstring utf8ToWide(const std::string& text);

}  // namespace kafhost
