#include "kafhost/utf8_to_wide.h"

namespace kafhost {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes the code point starting at text[pos] and moves pos past it.
char32_t decodeOne(const std::string& text, std::size_t& pos) {
    const unsigned char lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80) {
        return lead;
    }
    int length = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 1, code = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 2, code = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 3, code = lead & 0x07, minimum = 0x10000;
    } else {
        return kReplacement;
    }
    for (int i = 0; i < length; ++i) {
        if (pos >= text.size()) {
            return kReplacement;
        }
        const unsigned char next = static_cast<unsigned char>(text[pos]);
        if ((next & 0xC0) != 0x80) {
            return kReplacement;
        }
        code = (code << 6) | (next & 0x3F);
        ++pos;
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return kReplacement;
    }
    return code;
}

}  // namespace

std::wstring utf8ToWide(const std::string& text) {
    std::wstring wide;
    wide.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char32_t code = decodeOne(text, pos);
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
