#include "input/path_from_wide.h"

#include <type_traits>

namespace {

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// The name's bytes; rawBytes tells whether a lone U+DC80 ... U+DCFF put back a byte.
std::string NameBytes(const std::wstring& name, bool& rawBytes) {
    std::string bytes;
    rawBytes = false;
    for (std::wstring::size_type i = 0; i < name.size(); ++i) {
        char32_t c = static_cast<char32_t>(name[i]);
        if (sizeof(wchar_t) == 2 && c >= 0xD800 && c < 0xDC00 && i + 1 < name.size()) {
            const char32_t low = static_cast<char32_t>(name[i + 1]);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (c >= 0xDC80 && c <= 0xDCFF) {
            bytes.push_back(static_cast<char>(c - 0xDC00));
            rawBytes = true;
        } else {
            AppendUtf8(bytes, c);
        }
    }
    return bytes;
}

}  // namespace

std::filesystem::path PathFromWide(const std::wstring& name) {
    if constexpr (std::is_same_v<std::filesystem::path::value_type, wchar_t>) {
        return std::filesystem::path(name);
    } else {
        bool rawBytes = false;
        const std::string bytes = NameBytes(name, rawBytes);
        // Bytes that are not UTF-8 are the system's own: the path takes them as they are.
        return rawBytes ? std::filesystem::path(bytes) : std::filesystem::u8path(bytes);
    }
}
