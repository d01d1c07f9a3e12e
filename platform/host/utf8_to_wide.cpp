#include "kafhost/utf8_to_wide.h"

namespace kafhost {

Utf8Sequence decodeUtf8(std::string_view text, std::size_t pos) {
    constexpr Utf8Sequence kMalformed{0xFFFD, 1, false};
    const unsigned char lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        return {lead, 1, true};
    }
    // The continuation bytes a lead byte takes, and the range of the first of them, which rules
    // out overlong forms (E0, F0), surrogates (ED) and code points beyond U+10FFFF (F4).
    std::size_t extra = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return kMalformed;
    }
    char32_t code = lead & (0x3Fu >> extra);
    for (std::size_t k = 1; k <= extra; ++k) {
        if (pos + k >= text.size()) {
            return {0xFFFD, k, false};
        }
        const unsigned char next = static_cast<unsigned char>(text[pos + k]);
        if (next < low || next > high) {
            return {0xFFFD, k, false};
        }
        code = (code << 6) | (next & 0x3Fu);
        low = 0x80;
        high = 0xBF;
    }
    return {code, extra + 1, true};
}

std::wstring utf8ToWide(std::string_view text) {
    std::wstring wide;
    wide.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const Utf8Sequence sequence = decodeUtf8(text, pos);
        pos += sequence.length;
        const char32_t code = sequence.code;
        if (sizeof(wchar_t) == 2 && code > 0xFFFF) {
            wide += static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
            wide += static_cast<wchar_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            wide += static_cast<wchar_t>(code);
        }
    }
    return wide;
}

}  // namespace kafhost
