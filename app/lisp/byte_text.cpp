#include "app/lisp/byte_text.h"

#include "kafhost/wide_to_utf8.h"

namespace kafcad {
namespace {

constexpr char32_t kEscapedByte = 0xDC00;

// The length of the well-formed UTF-8 sequence at bytes[pos] and its code point; 0 when there is
// none.
int DecodeOne(const std::string& bytes, std::size_t pos, char32_t& code) {
    const unsigned char lead = static_cast<unsigned char>(bytes[pos]);
    int length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (pos + length > bytes.size()) {
        return 0;
    }
    for (int i = 1; i < length; ++i) {
        const unsigned char next = static_cast<unsigned char>(bytes[pos + i]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (next & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return 0;
    }
    return length;
}

bool IsEscapedByte(wchar_t c) {
    const char32_t code = static_cast<char32_t>(c);
    return code >= kEscapedByte + 0x80 && code <= kEscapedByte + 0xFF;
}

}  // namespace

std::wstring BytesToWide(const std::string& bytes) {
    std::wstring text;
    text.reserve(bytes.size());
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        char32_t code = 0;
        const int length = DecodeOne(bytes, pos, code);
        if (length == 0) {
            text += static_cast<wchar_t>(kEscapedByte + static_cast<unsigned char>(bytes[pos]));
            ++pos;
        } else {
            text += static_cast<wchar_t>(code);
            pos += length;
        }
    }
    return text;
}

std::string WideToBytes(const std::wstring& text) {
    std::string bytes;
    bytes.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (IsEscapedByte(text[pos])) {
            bytes += static_cast<char>(static_cast<char32_t>(text[pos]) - kEscapedByte);
            ++pos;
            continue;
        }
        std::size_t end = pos;
        while (end < text.size() && !IsEscapedByte(text[end])) {
            ++end;
        }
        bytes += kafhost::wideToUtf8(text.substr(pos, end - pos));
        pos = end;
    }
    return bytes;
}

}  // namespace kafcad
