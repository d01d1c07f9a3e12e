// LispValue and its printed forms.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <string>
#include <utility>

#include "kafhost/lisp_value.h"

namespace kafhost {

LispValue LispValue::t() {
    LispValue value;
    value.kind_ = Kind::kT;
    return value;
}

LispValue LispValue::integer(std::int32_t number) {
    LispValue value;
    value.kind_ = Kind::kInteger;
    value.integer_ = number;
    return value;
}

LispValue LispValue::real(double number) {
    LispValue value;
    value.kind_ = Kind::kReal;
    value.real_ = number;
    return value;
}

LispValue LispValue::string(std::wstring text) {
    LispValue value;
    value.kind_ = Kind::kString;
    value.text_ = std::move(text);
    return value;
}

LispValue LispValue::list(std::vector<LispValue> items) {
    LispValue value;
    if (!items.empty()) {
        value.kind_ = Kind::kList;
        for (const LispValue& item : items) {
            value.depth_ = std::max(value.depth_, item.depth_ + 1);
        }
        value.items_ = std::make_shared<const std::vector<LispValue>>(std::move(items));
    }
    return value;
}

LispValue LispValue::point(double x, double y) {
    return list({real(x), real(y)});
}

LispValue LispValue::point(double x, double y, double z) {
    return list({real(x), real(y), real(z)});
}

LispValue LispValue::symbol(std::wstring name) {
    LispValue value;
    value.kind_ = Kind::kSymbol;
    value.text_ = std::move(name);
    return value;
}

const std::vector<LispValue>& LispValue::items() const {
    static const std::vector<LispValue> kNone;
    return items_ ? *items_ : kNone;
}

double LispValue::asNumber() const {
    return kind_ == Kind::kInteger ? static_cast<double>(integer_) : real_;
}

bool LispValue::operator==(const LispValue& other) const {
    if (kind_ != other.kind_) {
        return false;
    }
    switch (kind_) {
        case Kind::kInteger:
            return integer_ == other.integer_;
        case Kind::kReal:
            return real_ == other.real_ || (std::isnan(real_) && std::isnan(other.real_));
        case Kind::kString:
        case Kind::kSymbol:
            return text_ == other.text_;
        case Kind::kList:
            return items_ == other.items_ || *items_ == *other.items_;
        default:
            return true;
    }
}

namespace {

// The shortest form that reads back exactly, fixed or scientific, whichever is shorter, always
// with a decimal point.
std::wstring realText(double value) {
    if (std::isnan(value)) {
        return L"-1.#IND";
    }
    if (std::isinf(value)) {
        return value > 0 ? L"1.#INF" : L"-1.#INF";
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::wstring text(buffer, result.ptr);
    const std::size_t exponent = text.find(L'e');
    const std::wstring mantissa = text.substr(0, exponent);
    if (mantissa.find(L'.') != std::wstring::npos) {
        return text;
    }
    if (exponent == std::wstring::npos) {
        return text + L".0";
    }
    return mantissa + L".0" + text.substr(exponent);
}

// Characters written as a backslash and a letter in a quoted string.
constexpr std::pair<wchar_t, wchar_t> kEscapes[] = {{L'"', L'"'},  {L'\\', L'\\'}, {L'\n', L'n'},
                                                    {L'\t', L't'}, {L'\r', L'r'},  {L'\x1b', L'e'}};

void appendQuoted(const std::wstring& text, std::wstring& out) {
    out += L'"';
    for (const wchar_t c : text) {
        const auto escape = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                         [c](const auto& entry) { return entry.first == c; });
        if (escape != std::end(kEscapes)) {
            out += L'\\';
            out += escape->second;
        } else if (static_cast<std::uint32_t>(c) < 0x20 || c == 0x7f) {
            // Other control characters as their octal code.
            wchar_t octal[8];
            std::swprintf(octal, 8, L"\\%03o", static_cast<unsigned>(c));
            out += octal;
        } else {
            out += c;
        }
    }
    out += L'"';
}

void appendText(const LispValue& value, bool quoted, std::wstring& out) {
    switch (value.kind()) {
        case LispValue::Kind::kNil:
            out += L"nil";
            break;
        case LispValue::Kind::kT:
            out += L"T";
            break;
        case LispValue::Kind::kInteger:
            out += std::to_wstring(value.asInteger());
            break;
        case LispValue::Kind::kReal:
            out += realText(value.asReal());
            break;
        case LispValue::Kind::kString:
            if (quoted) {
                appendQuoted(value.asString(), out);
            } else {
                out += value.asString();
            }
            break;
        case LispValue::Kind::kSymbol:
            out += value.symbolName();
            break;
        case LispValue::Kind::kList:
            out += L'(';
            for (std::size_t i = 0; i < value.items().size(); ++i) {
                if (i > 0) {
                    out += L' ';
                }
                appendText(value.items()[i], quoted, out);
            }
            out += L')';
            break;
    }
}

}  // namespace

std::wstring toLispText(const LispValue& value) {
    std::wstring text;
    appendText(value, true, text);
    return text;
}

std::wstring toDisplayText(const LispValue& value) {
    std::wstring text;
    appendText(value, false, text);
    return text;
}

}  // namespace kafhost
