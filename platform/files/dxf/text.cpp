#include "platform/files/dxf/text.h"

#include <algorithm>
#include <charconv>
#include <cwctype>

#include "kafhost/drawing_json.h"
#include "kafhost/utf8_to_wide.h"
#include "kafhost/wide_to_utf8.h"

namespace kafhost {

std::string encodeDxfName(const std::wstring& name, const std::string& what) {
    if (name.empty()) {
        throw DrawingFileError("a " + what + " has no name");
    }
    // The NUL as well: a name cut short there would name another layer.
    static const wchar_t kCharacters[] = L"\r\n<>/\\\":;?*|=`\0";
    static const std::wstring kRefused(kCharacters, sizeof kCharacters / sizeof(wchar_t) - 1);
    const std::size_t bad = name.find_first_of(kRefused);
    if (bad != std::wstring::npos) {
        const std::string character =
            name[bad] == L'\r' || name[bad] == L'\n' ? std::string("a line break")
            : name[bad] == L'\0'                     ? std::string("a NUL character")
                                 : "\"" + std::string(1, static_cast<char>(name[bad])) + "\"";
        throw DrawingFileError(what + " \"" + wideToUtf8(name) + "\" holds " + character +
                               ", which DXF names cannot hold");
    }
    return wideToUtf8(name);
}

void checkDxfName(const std::wstring& name, const std::string& what, std::size_t line) {
    try {
        encodeDxfName(name, what);
    } catch (const DrawingFileError& error) {
        throw DrawingFileError("line " + std::to_string(line) + ": " + error.what());
    }
}

std::wstring decodeDxfText(std::string_view value, bool utf8) {
    std::wstring text;
    std::size_t pos = 0;
    while (pos < value.size()) {
        const std::size_t escape = value.find("\\U+", pos);
        const std::string_view plain = value.substr(pos, escape - pos);
        if (utf8) {
            text += utf8ToWide(std::string(plain));
        } else {
            for (const char c : plain) {
                text += static_cast<wchar_t>(static_cast<unsigned char>(c));
            }
        }
        if (escape == std::string_view::npos) {
            break;
        }
        unsigned code = 0;
        const char* digits = value.data() + escape + 3;
        const char* end = value.data() + std::min(value.size(), escape + 7);
        const auto parsed = std::from_chars(digits, end, code, 16);
        if (parsed.ptr == end && end - digits == 4) {
            text += static_cast<wchar_t>(code);
            pos = escape + 7;
        } else {
            text += L"\\U+";
            pos = escape + 3;
        }
    }
    return text;
}

std::wstring dxfNameKey(const std::wstring& name) {
    std::wstring key = name;
    for (wchar_t& c : key) {
        c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    }
    return key;
}

}  // namespace kafhost
