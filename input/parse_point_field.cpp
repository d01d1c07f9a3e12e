#include "input/parse_point_field.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "input/parse_point_field_by_stream.h"
#include "input/widen_bytes.h"

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// White space that the classic locale's extraction skips in every implementation.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

const char* SkipDigits(const char* p, const char* last) {
    while (p != last && IsDigit(*p)) {
        ++p;
    }
    return p;
}

// The end of the number that starts at p: [sign] digits [. digits] [e|E [sign] digits], with at
// least one digit in the mantissa and in the exponent; null when no such number starts at p.
const char* ScanPlainNumber(const char* p, const char* last) {
    if (p != last && (*p == '+' || *p == '-')) {
        ++p;
    }
    const char* mantissa = p;
    p = SkipDigits(p, last);
    bool hasDigits = p != mantissa;
    if (p != last && *p == '.') {
        const char* fraction = ++p;
        p = SkipDigits(p, last);
        hasDigits = hasDigits || p != fraction;
    }
    if (!hasDigits) {
        return nullptr;
    }
    if (p != last && (*p == 'e' || *p == 'E')) {
        ++p;
        if (p != last && (*p == '+' || *p == '-')) {
            ++p;
        }
        const char* exponent = p;
        p = SkipDigits(p, last);
        if (p == exponent) {
            return nullptr;
        }
    }
    return p;
}

// The direct conversion of a plain decimal field; false when the field is not of that simple
// form or its value is out of the normal range, so that the stream must decide.
bool ParsePlainField(const char* first, const char* last, double& value) {
    const char* p = first;
    while (p != last && IsBlank(*p)) {
        ++p;
    }
    const char* end = ScanPlainNumber(p, last);
    if (end == nullptr) {
        return false;
    }
    for (const char* rest = end; rest != last; ++rest) {
        if (!IsBlank(*rest)) {
            return false;
        }
    }
    if (*p == '+') {
        ++p;  // from_chars takes no plus sign
    }
    double converted = 0.0;
    const std::from_chars_result result =
        std::from_chars(p, end, converted, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(converted)) {
        return false;
    }
    value = converted;
    return true;
}

}  // namespace

bool ParsePointField(const char* first, const char* last, double& value) {
    if (ParsePlainField(first, last, value)) {
        return true;
    }
    return ParsePointFieldByStream(WidenBytes(first, last), value);
}
