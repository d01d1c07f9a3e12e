// Handles and their hexadecimal texts.
#include <cwchar>

#include "kafhost/host.h"

namespace kafhost {

std::wstring handleText(std::uint64_t handle) {
    static const wchar_t kDigits[] = L"0123456789ABCDEF";
    wchar_t buffer[17];
    std::size_t start = 16;
    buffer[16] = L'\0';
    do {
        buffer[--start] = kDigits[handle & 0xF];
        handle >>= 4;
    } while (handle != 0);
    return std::wstring(buffer + start);
}

std::uint64_t parseHandle(const std::wstring& text) {
    if (text.empty() || text.size() > 16) {
        return 0;
    }
    std::uint64_t value = 0;
    for (const wchar_t c : text) {
        int digit;
        if (c >= L'0' && c <= L'9') {
            digit = c - L'0';
        } else if (c >= L'A' && c <= L'F') {
            digit = c - L'A' + 10;
        } else if (c >= L'a' && c <= L'f') {
            digit = c - L'a' + 10;
        } else {
            return 0;
        }
        value = value << 4 | static_cast<std::uint64_t>(digit);
    }
    return value;
}

}  // namespace kafhost

AcDbHandle::AcDbHandle(const ACHAR* text)
    : value_(text != nullptr ? kafhost::parseHandle(text) : 0) {}

bool AcDbHandle::getIntoAsciiBuffer(ACHAR* buffer, std::size_t bufferLength) const {
    const std::wstring text = kafhost::handleText(value_);
    if (buffer == nullptr || bufferLength < text.size() + 1) {
        return false;
    }
    std::wmemcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}
