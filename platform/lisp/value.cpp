// LispValue and its printed form.
#include <cmath>
#include <cstdio>
#include <cstdlib>

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
        value.items_ = std::move(items);
    }
    return value;
}

LispValue LispValue::point(double x, double y) {
    return list({real(x), real(y)});
}

LispValue LispValue::point(double x, double y, double z) {
    return list({real(x), real(y), real(z)});
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
            return text_ == other.text_;
        case Kind::kList:
            return items_ == other.items_;
        default:
            return true;
    }
}

namespace {

// The fewest significant digits that read back as the same double.
std::wstring realText(double value) {
    char buffer[40];
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(buffer, sizeof buffer, "%.*g", precision, value);
        if (std::strtod(buffer, nullptr) == value) {
            break;
        }
    }
    std::wstring text(buffer, buffer + std::char_traits<char>::length(buffer));
    if (std::isfinite(value) && text.find_first_of(L".e") == std::wstring::npos) {
        text += L".0";
    }
    return text;
}

void appendText(const LispValue& value, std::wstring& out) {
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
            out += L'"';
            for (const wchar_t c : value.asString()) {
                if (c == L'"' || c == L'\\') {
                    out += L'\\';
                }
                out += c;
            }
            out += L'"';
            break;
        case LispValue::Kind::kList:
            out += L'(';
            for (std::size_t i = 0; i < value.items().size(); ++i) {
                if (i > 0) {
                    out += L' ';
                }
                appendText(value.items()[i], out);
            }
            out += L')';
            break;
    }
}

}  // namespace

std::wstring toLispText(const LispValue& value) {
    std::wstring text;
    appendText(value, text);
    return text;
}

}  // namespace kafhost
