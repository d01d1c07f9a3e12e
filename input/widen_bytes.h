// WidenBytes(first, last): the bytes [first, last) as a wide string, one character per byte with
// the byte's value (0 to 255). Point files are read this way: no decoding of any character set.
#pragma once

#include <string>

inline std::wstring WidenBytes(const char* first, const char* last) {
    std::wstring wide;
    wide.reserve(static_cast<std::wstring::size_type>(last - first));
    for (const char* c = first; c != last; ++c) {
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
    }
    return wide;
}
