#include "input/survey_row.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

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
bool SurveyRowReader::ReadPlain(const char* p, const char* last, double (&xyz)[3]) {
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
            } else if (!ConvertSurveyNumber(number, end, kCommaToo, decimal_, xyz[coordinate])) {
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
