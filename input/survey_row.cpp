#include "input/survey_row.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <system_error>

#include "input/short_decimal.h"

namespace {

// A byte a number's text can hold: a delimiter that is one must be split at first.
bool CanBeInNumber(char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+';
}

SurveyRowReader::Kind ChooseKind(char delimiter, int needed, int mostColumns) {
    using Kind = SurveyRowReader::Kind;
    if (needed > mostColumns) {
        return Kind::FieldsOnly;
    }
    if (IsSurveyBlank(delimiter) || delimiter == '\0') {
        return Kind::Blanks;
    }
    if (CanBeInNumber(delimiter)) {
        return Kind::FieldsOnly;
    }
    return delimiter == ',' ? Kind::Delimiter : Kind::DelimiterComma;
}

// The value of the text [first, last), an optional '-', digits and one decimal mark at most, that
// is no short decimal: std::from_chars, a comma read as a point. False when it does not convert
// to a finite number, or is too long for the copy that turns a comma.
template <bool kCommaToo>
bool ConvertLongDecimal(const char* first, const char* last, double& value) {
    char turned[64];
    if (kCommaToo) {
        const char* comma = std::find(first, last, ',');
        if (comma != last) {
            if (last - first > static_cast<std::ptrdiff_t>(sizeof turned)) {
                return false;
            }
            const auto size = static_cast<std::size_t>(last - first);
            std::memcpy(turned, first, size);
            turned[comma - first] = '.';
            first = turned;
            last = turned + size;
        }
    }
    double converted = 0.0;
    const std::from_chars_result result = std::from_chars(first, last, converted);
    if (result.ec != std::errc() || result.ptr != last || !std::isfinite(converted)) {
        return false;
    }
    value = converted;
    return true;
}

}  // namespace

SurveyRowReader::SurveyRowReader(int x, int y, int z, char delimiter)
    : x_(x),
      y_(y),
      z_(z),
      needed_(std::max(x, std::max(y, z)) + 1),
      delimiter_(delimiter),
      kind_(ChooseKind(delimiter, needed_, kMostColumns)),
      fields_(static_cast<std::size_t>(needed_)) {
    std::fill(std::begin(coordinate_), std::end(coordinate_), -1);
    if (kind_ != Kind::FieldsOnly) {
        coordinate_[x] = 0;
        coordinate_[y] = 1;
        coordinate_[z] = 2;
    }
}

bool SurveyRowReader::Read(const char* first, const char* last, double (&xyz)[3]) {
    bool read = false;
    switch (kind_) {
        case Kind::Blanks:
            read = ReadPlain<true, true>(first, last, xyz);
            break;
        case Kind::Delimiter:
            read = ReadPlain<false, false>(first, last, xyz);
            break;
        case Kind::DelimiterComma:
            read = ReadPlain<false, true>(first, last, xyz);
            break;
        case Kind::FieldsOnly:
            break;
    }
    return read || ReadFields(first, last, xyz);
}

// One pass: each field's blanks skipped, a column not read passed over, a coordinate scanned as
// a decimal that must then end its field. False for anything else (a quote, an exponent, a
// missing field, ...), which the fields decide; what it reads, they would read the same.
template <bool kBlanks, bool kCommaToo>
bool SurveyRowReader::ReadPlain(const char* p, const char* last, double (&xyz)[3]) const {
    for (int column = 0; column < needed_; ++column) {
        while (p != last && IsSurveyBlank(*p)) {
            ++p;
        }
        if (p == last || *p == '"') {
            return false;
        }
        const int coordinate = coordinate_[column];
        if (coordinate < 0) {
            if (kBlanks) {
                while (p != last && !IsSurveyBlank(*p)) {
                    ++p;
                }
            } else {
                const void* end = std::memchr(p, delimiter_, static_cast<std::size_t>(last - p));
                p = end != nullptr ? static_cast<const char*>(end) : last;
            }
        } else {
            const char* number = *p == '+' ? p + 1 : p;
            ScannedDecimal scanned;
            const char* end = ScanDecimal<kCommaToo>(number, last, scanned);
            p = end;
            if (kBlanks) {
                if (p != last && !IsSurveyBlank(*p)) {
                    return false;
                }
            } else {
                while (p != last && IsSurveyBlank(*p)) {
                    ++p;
                }
                if (p != last && *p != delimiter_) {
                    return false;
                }
            }
            if (scanned.exact) {
                xyz[coordinate] = scanned.Value();
            } else if (!ConvertLongDecimal<kCommaToo>(number, end, xyz[coordinate])) {
                return false;
            }
        }
        if (!kBlanks) {
            if (p == last) {
                return column + 1 == needed_;
            }
            ++p;
        }
    }
    return true;
}

bool SurveyRowReader::ReadFields(const char* first, const char* last, double (&xyz)[3]) {
    fields_.Split(first, last, delimiter_);
    const bool decimalComma = delimiter_ != ',';
    return fields_.Size() >= static_cast<std::size_t>(needed_) &&
           ParseSurveyCoordinate(fields_[x_], decimalComma, decimal_, xyz[0]) &&
           ParseSurveyCoordinate(fields_[y_], decimalComma, decimal_, xyz[1]) &&
           ParseSurveyCoordinate(fields_[z_], decimalComma, decimal_, xyz[2]);
}
