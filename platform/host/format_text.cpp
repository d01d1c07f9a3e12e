// formatHostText: the command line's printf.
#include "platform/host/format_text.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string_view>

#include "kafhost/utf8_to_wide.h"

namespace kafhost {
namespace {

struct Spec {
    std::string flags;
    int width = -1;
    int precision = -1;
    std::string length;  // "", "hh", "h", "l", "ll", "L", "z", "j", "t", "w"
    wchar_t conversion = 0;
};

bool isFlag(wchar_t c) {
    return c == L'-' || c == L'+' || c == L' ' || c == L'#' || c == L'0';
}

int readNumber(const wchar_t*& p) {
    int value = 0;
    while (*p >= L'0' && *p <= L'9') {
        value = value * 10 + (*p - L'0');
        ++p;
    }
    return value;
}

// Reads the length modifier at p (also Microsoft's I32, I64, I and w).
std::string readLength(const wchar_t*& p) {
    if (p[0] == L'h' && p[1] == L'h') {
        p += 2;
        return "hh";
    }
    if (p[0] == L'l' && p[1] == L'l') {
        p += 2;
        return "ll";
    }
    if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4') {
        p += 3;
        return "ll";
    }
    if (p[0] == L'I' && p[1] == L'3' && p[2] == L'2') {
        p += 3;
        return "";
    }
    if (p[0] == L'I') {
        ++p;
        return "z";
    }
    switch (*p) {
        case L'h':
        case L'l':
        case L'L':
        case L'z':
        case L'j':
        case L't':
        case L'w':
            return std::string(1, static_cast<char>(*p++));
        default:
            return "";
    }
}

// The narrow printf format of one conversion, with the given C length modifier.
std::string narrowFormat(const Spec& spec, const char* length) {
    std::string format = "%" + spec.flags;
    if (spec.width >= 0) {
        format += std::to_string(spec.width);
    }
    if (spec.precision >= 0) {
        format += "." + std::to_string(spec.precision);
    }
    format += length;
    format += static_cast<char>(spec.conversion);
    return format;
}

template <typename T>
void appendFormatted(std::wstring& out, const std::string& format, T value) {
    char buffer[512];
    int n = std::snprintf(buffer, sizeof buffer, format.c_str(), value);
    if (n < 0) {
        return;
    }
    if (static_cast<std::size_t>(n) < sizeof buffer) {
        out.append(buffer, buffer + n);
        return;
    }
    std::string big(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(&big[0], big.size(), format.c_str(), value);
    out.append(big.begin(), big.begin() + n);
}

void appendPadded(std::wstring& out, const Spec& spec, const std::wstring& text) {
    const bool left = spec.flags.find('-') != std::string::npos;
    const std::size_t width = spec.width > 0 ? static_cast<std::size_t>(spec.width) : 0;
    const std::size_t padding = text.size() < width ? width - text.size() : 0;
    if (!left) {
        out.append(padding, L' ');
    }
    out += text;
    if (left) {
        out.append(padding, L' ');
    }
}

void appendSigned(std::wstring& out, const Spec& spec, va_list& args) {
    long long value;
    if (spec.length == "ll") {
        value = va_arg(args, long long);
    } else if (spec.length == "l") {
        value = va_arg(args, long);
    } else if (spec.length == "z" || spec.length == "t") {
        value = va_arg(args, std::ptrdiff_t);
    } else if (spec.length == "j") {
        value = static_cast<long long>(va_arg(args, std::intmax_t));
    } else if (spec.length == "h") {
        value = static_cast<short>(va_arg(args, int));
    } else if (spec.length == "hh") {
        value = static_cast<signed char>(va_arg(args, int));
    } else {
        value = va_arg(args, int);
    }
    appendFormatted(out, narrowFormat(spec, "ll"), value);
}

void appendUnsigned(std::wstring& out, const Spec& spec, va_list& args) {
    unsigned long long value;
    if (spec.length == "ll") {
        value = va_arg(args, unsigned long long);
    } else if (spec.length == "l") {
        value = va_arg(args, unsigned long);
    } else if (spec.length == "z" || spec.length == "t") {
        value = va_arg(args, std::size_t);
    } else if (spec.length == "j") {
        value = static_cast<unsigned long long>(va_arg(args, std::uintmax_t));
    } else if (spec.length == "h") {
        value = static_cast<unsigned short>(va_arg(args, unsigned int));
    } else if (spec.length == "hh") {
        value = static_cast<unsigned char>(va_arg(args, unsigned int));
    } else {
        value = va_arg(args, unsigned int);
    }
    appendFormatted(out, narrowFormat(spec, "ll"), value);
}

// Infinities and NaNs are spelled here, not by the C library: libraries differ on the sign of a
// NaN (glibc writes "-nan" for one with its sign bit set, MinGW-w64 "nan"). The sign comes first
// ("-", or "+" or " " as the flags ask), then "inf" or "nan", upper case for F E G A; padded to
// the width with blanks, never zeros.
void appendNonFinite(std::wstring& out, const Spec& spec, bool negative, bool isNan) {
    std::wstring text;
    if (negative) {
        text += L'-';
    } else if (spec.flags.find('+') != std::string::npos) {
        text += L'+';
    } else if (spec.flags.find(' ') != std::string::npos) {
        text += L' ';
    }
    const bool upper = spec.conversion >= L'A' && spec.conversion <= L'Z';
    text += isNan ? (upper ? L"NAN" : L"nan") : (upper ? L"INF" : L"inf");
    appendPadded(out, spec, text);
}

template <typename T>
void appendFloatingValue(std::wstring& out, const Spec& spec, const char* length, T value) {
    if (!std::isfinite(value)) {
        appendNonFinite(out, spec, std::signbit(value), std::isnan(value));
    } else {
        appendFormatted(out, narrowFormat(spec, length), value);
    }
}

void appendFloating(std::wstring& out, const Spec& spec, va_list& args) {
    if (spec.length == "L") {
        appendFloatingValue(out, spec, "L", va_arg(args, long double));
    } else {
        appendFloatingValue(out, spec, "", va_arg(args, double));
    }
}

void appendString(std::wstring& out, const Spec& spec, bool narrow, va_list& args) {
    std::wstring text;
    if (narrow) {
        const char* value = va_arg(args, const char*);
        if (value == nullptr) {
            text = L"(null)";
        } else {
            std::size_t length = std::strlen(value);
            if (spec.precision >= 0 && static_cast<std::size_t>(spec.precision) < length) {
                length = static_cast<std::size_t>(spec.precision);
            }
            text = utf8ToWide(std::string_view(value, length));
        }
    } else {
        const wchar_t* value = va_arg(args, const wchar_t*);
        text = value != nullptr ? value : L"(null)";
        if (value != nullptr && spec.precision >= 0 &&
            static_cast<std::size_t>(spec.precision) < text.size()) {
            text.resize(static_cast<std::size_t>(spec.precision));
        }
    }
    appendPadded(out, spec, text);
}

void appendCharacter(std::wstring& out, const Spec& spec, bool narrow, va_list& args) {
    const int value = va_arg(args, int);
    const wchar_t c = narrow ? static_cast<wchar_t>(static_cast<unsigned char>(value))
                             : static_cast<wchar_t>(value);
    appendPadded(out, spec, std::wstring(1, c));
}

}  // namespace

std::wstring formatHostText(const wchar_t* format, va_list args) {
    std::wstring out;
    va_list rest;
    va_copy(rest, args);
    for (const wchar_t* p = format; *p != L'\0'; ++p) {
        if (*p != L'%') {
            out += *p;
            continue;
        }
        const wchar_t* start = p++;
        if (*p == L'%') {
            out += L'%';
            continue;
        }
        Spec spec;
        while (isFlag(*p)) {
            spec.flags += static_cast<char>(*p++);
        }
        if (*p == L'*') {
            spec.width = va_arg(rest, int);
            if (spec.width < 0) {
                spec.flags += '-';
                spec.width = -spec.width;
            }
            ++p;
        } else if (*p >= L'0' && *p <= L'9') {
            spec.width = readNumber(p);
        }
        if (*p == L'.') {
            ++p;
            if (*p == L'*') {
                spec.precision = va_arg(rest, int);
                ++p;
            } else {
                spec.precision = readNumber(p);
            }
        }
        spec.length = readLength(p);
        spec.conversion = *p;
        switch (*p) {
            case L'd':
            case L'i':
                appendSigned(out, spec, rest);
                break;
            case L'u':
            case L'o':
            case L'x':
            case L'X':
                appendUnsigned(out, spec, rest);
                break;
            case L'f':
            case L'F':
            case L'e':
            case L'E':
            case L'g':
            case L'G':
            case L'a':
            case L'A':
                appendFloating(out, spec, rest);
                break;
            case L's':
                appendString(out, spec, spec.length == "h", rest);
                break;
            case L'S':
                appendString(out, spec, spec.length != "l" && spec.length != "w", rest);
                break;
            case L'c':
                appendCharacter(out, spec, spec.length == "h", rest);
                break;
            case L'C':
                appendCharacter(out, spec, spec.length != "l" && spec.length != "w", rest);
                break;
            case L'p':
                appendFormatted(out, "%p", va_arg(rest, void*));
                break;
            case L'n':
                (void)va_arg(rest, void*);
                break;
            default:
                // Not a conversion: copy it as written.
                out.append(start, p + (*p != L'\0' ? 1 : 0));
                if (*p == L'\0') {
                    --p;
                }
                break;
        }
    }
    va_end(rest);
    return out;
}

}  // namespace kafhost
