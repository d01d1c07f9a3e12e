// decodeUtf8(text, pos): the UTF-8 sequence starting at text[pos] (pos < text.size()): its code
//   point and length when it is well-formed (no overlong form, no surrogate, nothing beyond
//   U+10FFFF); otherwise valid is false, code is U+FFFD and length covers the bytes that one
//   U+FFFD stands for (the longest start of a well-formed sequence there, at least one byte), as
//   the Unicode Standard recommends.
// utf8ToWide(text): UTF-8 text as a wide string (one wchar_t per code point where wchar_t has
//   32 bits, surrogate pairs where it has 16). Malformed bytes become U+FFFD as decodeUtf8 says.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kafhost {

struct Utf8Sequence {
    char32_t code;
    std::size_t length;
    bool valid;
};

Utf8Sequence decodeUtf8(std::string_view text, std::size_t pos);
std::wstring utf8ToWide(std::string_view text);

}  // namespace kafhost
