#include "input/point_field.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <istream>
#include <locale>
#include <sstream>
#include <system_error>

#include "input/short_decimal.h"
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
    // The usual field, a short decimal and nothing else, needs neither scan.
    if (ConvertShortDecimal(first, last, value)) {
        return true;
    }
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
    if (ConvertShortDecimal(p, end, value)) {
        return true;
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

// The end of the field that starts at first: the next delimiter, or last.
const char* FieldEnd(const char* first, const char* last, int delimiter) {
    if (delimiter < 0) {
        return last;
    }
    const void* found = std::memchr(first, delimiter, static_cast<std::size_t>(last - first));
    return found != nullptr ? static_cast<const char*>(found) : last;
}

}  // namespace

bool ParsePointFieldByStream(const std::wstring& field, double& value) {
    std::wistringstream stream(field);
    stream.imbue(std::locale::classic());
    double extracted = 0.0;
    stream >> extracted;
    if (stream.fail()) {
        return false;
    }
    // After a number that ends the field, eofbit is already set and ws only adds failbit; what
    // counts is that the whole field was used.
    stream >> std::ws;
    if (!stream.eof()) {
        return false;
    }
    value = extracted;
    return true;
}

bool ParsePointField(const char* first, const char* last, double& value) {
    if (ParsePlainField(first, last, value)) {
        return true;
    }
    return ParsePointFieldByStream(WidenBytes(first, last), value);
}

PointRowStatus ParsePointRow(const char* first, const char* last, wchar_t delimiter,
                             double (&xyz)[3]) {
    // A delimiter beyond the byte range never occurs in a row: the row is then one field.
    const long code = static_cast<long>(delimiter);
    const int delimiterByte = code >= 0 && code <= 0xFF ? static_cast<int>(code) : -1;
    int count = 0;
    const char* field = first;
    while (field != last) {
        const char* end = FieldEnd(field, last, delimiterByte);
        if (end != field) {
            double value = 0.0;
            if (!ParsePointField(field, end, value)) {
                return PointRowStatus::kUnparsable;
            }
            if (count < 3) {
                xyz[count] = value;
            }
            ++count;
        }
        field = end == last ? last : end + 1;
    }
    return count < 3 ? PointRowStatus::kTooFewValues : PointRowStatus::kPoint;
}
