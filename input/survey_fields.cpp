#include "input/survey_fields.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "input/short_decimal.h"

namespace {

// One field from p on, up to the delimiter (for a blank delimiter: up to any blank): a quoted
// part has its quotes removed ("" inside for one quote), in `unquoted`; spaces at its end are
// dropped. A field without quotes is left where it is in the row.
SurveyField ReadField(const char*& p, const char* last, char delimiter, bool blankDelimiter,
                      std::string& unquoted) {
    const auto ends = [&](const char* at) {
        return blankDelimiter ? IsSurveyBlank(*at) : *at == delimiter;
    };
    SurveyField field{p, p};
    if (p != last && *p == '"') {
        unquoted.clear();
        for (++p; p != last; ++p) {
            if (*p == '"' && (p + 1 == last || p[1] != '"')) {
                ++p;
                break;
            }
            p += *p == '"' ? 1 : 0;
            unquoted += *p;
        }
        while (p != last && !ends(p)) {
            unquoted += *p++;
        }
        field = SurveyField{unquoted.data(), unquoted.data() + unquoted.size()};
    } else if (blankDelimiter) {
        while (p != last && !IsSurveyBlank(*p)) {
            ++p;
        }
        field.last = p;
    } else {
        const void* end = std::memchr(p, delimiter, static_cast<std::size_t>(last - p));
        p = end != nullptr ? static_cast<const char*>(end) : last;
        field.last = p;
    }
    while (field.last != field.first && IsSurveyBlank(field.last[-1])) {
        --field.last;
    }
    return field;
}

}  // namespace

void SurveyFields::Split(const char* first, const char* last, char delimiter) {
    fields_.clear();
    const bool blankDelimiter = IsSurveyBlank(delimiter) || delimiter == '\0';
    const char* p = first;
    while (fields_.size() < unquoted_.size()) {
        while (p != last && IsSurveyBlank(*p)) {
            ++p;
        }
        if (blankDelimiter && p == last) {
            return;
        }
        fields_.push_back(ReadField(p, last, delimiter, blankDelimiter, unquoted_[fields_.size()]));
        if (p == last) {
            return;
        }
        if (!blankDelimiter) {
            ++p;
        }
    }
}

// A number stops at a comma, so only a field not taken whole is searched for one.
bool ParseSurveyCoordinate(const SurveyField& field, bool decimalComma, std::string& decimal,
                           double& value) {
    const char* first = field.first;
    const char* last = field.last;
    if (first != last && *first == '+') {
        ++first;
    }
    if (first == last) {
        return false;
    }
    // The usual field, a short decimal and nothing else, is converted directly.
    return ConvertShortDecimal(first, last, value) ||
           ConvertSurveyNumber(first, last, decimalComma, decimal, value);
}

bool ConvertSurveyNumber(const char* first, const char* last, bool decimalComma,
                         std::string& decimal, double& value) {
    auto result = std::from_chars(first, last, value);
    if (result.ptr != last && decimalComma && std::find(first, last, ',') != last) {
        decimal.assign(first, last);
        std::replace(decimal.begin(), decimal.end(), ',', '.');
        first = decimal.data();
        last = first + decimal.size();
        result = std::from_chars(first, last, value);
    }
    return result.ec == std::errc() && result.ptr == last && std::isfinite(value);
}
