#include "app/lisp/byte_text.h"

#include "kafhost/utf8_to_wide.h"
#include "kafhost/wide_to_utf8.h"

namespace kafcad {
namespace {

constexpr char32_t kEscapedByte = 0xDC00;

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
        const kafhost::Utf8Sequence sequence = kafhost::decodeUtf8(bytes, pos);
        if (!sequence.valid) {
            // Byte by byte, so that each byte of a malformed sequence comes back.
            text += static_cast<wchar_t>(kEscapedByte + static_cast<unsigned char>(bytes[pos]));
            ++pos;
        } else {
            text += static_cast<wchar_t>(sequence.code);
            pos += sequence.length;
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
