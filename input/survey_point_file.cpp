#include "input/survey_point_file.h"

#include <algorithm>
#include <bitset>
#include <charconv>
#include <cmath>
#include <cwctype>
#include <sstream>
#include <string>
#include <unordered_set>

#include "arxapi.h"
#include "host/error_lines.h"
#include "host/progress_meter.h"
#include "host/pump_messages.h"
#include "input/las_point_file.h"
#include "input/point_file.h"

namespace {

constexpr int kListedRowErrors = 10;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// One field from p on, up to the delimiter (for a blank delimiter: up to any blank): a quoted
// part has its quotes removed ("" inside for one quote); spaces at its end are dropped.
std::string ReadField(const char*& p, const char* last, char delimiter, bool blankDelimiter) {
    std::string field;
    if (p != last && *p == '"') {
        for (++p; p != last; ++p) {
            if (*p == '"' && (p + 1 == last || p[1] != '"')) {
                ++p;
                break;
            }
            p += *p == '"' ? 1 : 0;
            field += *p;
        }
    }
    while (p != last && !(blankDelimiter ? IsBlank(*p) : *p == delimiter)) {
        field += *p++;
    }
    while (!field.empty() && IsBlank(field.back())) {
        field.pop_back();
    }
    return field;
}

// Splits a row into its first `count` fields at most (the layout's; the rest of a row is never
// kept, however many fields it has), spaces before each field dropped.
void SplitRow(const char* first, const char* last, char delimiter, std::size_t count,
              std::vector<std::string>& fields) {
    fields.clear();
    const bool blankDelimiter = IsBlank(delimiter) || delimiter == '\0';
    const char* p = first;
    while (fields.size() < count) {
        while (p != last && IsBlank(*p)) {
            ++p;
        }
        if (blankDelimiter && p == last) {
            return;
        }
        fields.push_back(ReadField(p, last, delimiter, blankDelimiter));
        if (p == last) {
            return;
        }
        if (!blankDelimiter) {
            ++p;
        }
    }
}

// A coordinate: the whole field a finite number, the decimal mark '.', or ',' when allowed.
bool ParseCoordinate(std::string field, bool decimalComma, double& value) {
    if (decimalComma) {
        for (char& c : field) {
            if (c == ',') {
                c = '.';
            }
        }
    }
    const char* first = field.data();
    const char* last = first + field.size();
    if (first != last && *first == '+') {
        ++first;
    }
    if (first == last) {
        return false;
    }
    const auto result = std::from_chars(first, last, value);
    return result.ec == std::errc() && result.ptr == last && std::isfinite(value);
}

struct PlanKey {
    double x;
    double y;
    bool operator==(const PlanKey& other) const { return x == other.x && y == other.y; }
};

struct PlanKeyHash {
    std::size_t operator()(const PlanKey& key) const {
        // +0.0 and -0.0 are one position.
        const std::hash<double> hash;
        return hash(key.x + 0.0) * 1000003u ^ hash(key.y + 0.0);
    }
};

bool ParseColumnLetters(const std::wstring& letters, SurveyColumns& parsed) {
    std::wstring seen;
    for (std::size_t i = 0; i < letters.size(); ++i) {
        const wchar_t letter = static_cast<wchar_t>(std::towupper(letters[i]));
        if (seen.find(letter) != std::wstring::npos ||
            std::wstring(L"PNEXYZD").find(letter) == std::wstring::npos) {
            return false;
        }
        seen += letter;
        const int column = static_cast<int>(i);
        if (letter == L'E' || letter == L'X') {
            parsed.x = parsed.x < 0 ? column : -2;
        } else if (letter == L'N' || letter == L'Y') {
            parsed.y = parsed.y < 0 ? column : -2;
        } else if (letter == L'Z') {
            parsed.z = column;
        }
    }
    return parsed.x >= 0 && parsed.y >= 0 && parsed.z >= 0;
}

// "2,9": class numbers 0 ... 255, at least one.
bool ParseClassList(const std::wstring& list, std::bitset<256>& classes) {
    std::size_t at = 0;
    while (true) {
        std::size_t end = at;
        int number = 0;
        while (end < list.size() && end - at < 3 && list[end] >= L'0' && list[end] <= L'9') {
            number = number * 10 + (list[end] - L'0');
            ++end;
        }
        if (end == at || number > 255) {
            return false;
        }
        classes.set(static_cast<std::size_t>(number));
        if (end == list.size()) {
            return true;
        }
        if (list[end] != L',') {
            return false;
        }
        at = end + 1;
    }
}

// The words after the column letters, separated by spaces: class=..., nowithheld, nonoise.
bool ParseLasChoices(const std::wstring& words, LasChoices& choices) {
    std::wistringstream stream(words);
    std::wstring word;
    while (stream >> word) {
        for (wchar_t& c : word) {
            c = static_cast<wchar_t>(std::towlower(c));
        }
        const bool isClasses = word.rfind(L"class=", 0) == 0;
        bool* given = isClasses               ? &choices.onlyClasses
                      : word == L"nowithheld" ? &choices.skipWithheld
                      : word == L"nonoise"    ? &choices.skipNoise
                                              : nullptr;
        if (given == nullptr || *given ||
            (isClasses && !ParseClassList(word.substr(6), choices.classes))) {
            return false;
        }
        *given = true;
    }
    return true;
}

}  // namespace

bool ParseSurveyLayout(const std::wstring& layout, SurveyColumns& columns) {
    SurveyColumns parsed;
    parsed.layout = layout;
    const std::size_t wordEnd = std::min(layout.find(L' '), layout.size());
    if (!ParseColumnLetters(layout.substr(0, wordEnd), parsed) ||
        !ParseLasChoices(layout.substr(wordEnd), parsed.las)) {
        return false;
    }
    columns = parsed;
    return true;
}

bool ReadSurveyPointFiles(const std::vector<std::wstring>& files, const SurveyColumns& columns,
                          wchar_t delimiter, const wchar_t* label, const SurveyPointSink& add,
                          SurveyReadCounts& counts, SurveyReadOptions options) {
    const EndProgressMeterOnExit endMeter;
    const char separator = delimiter < 0x80 ? static_cast<char>(delimiter) : '\0';
    const bool decimalComma = separator != ',';
    const std::size_t needed =
        static_cast<std::size_t>(std::max(columns.x, std::max(columns.y, columns.z))) + 1;
    std::unordered_set<PlanKey, PlanKeyHash> positions;
    std::vector<std::string> fields;
    int listed = 0;
    const auto addNew = [&](double x, double y, double z) {
        if (options.findDuplicates && !positions.insert(PlanKey{x, y}).second) {
            ++counts.duplicates;
            return;
        }
        add(x, y, z);
        ++counts.read;
    };
    for (const std::wstring& name : files) {
        if (StartsAsLasFile(name)) {
            if (!ReadLasPointFile(name, columns.las, label, addNew, options.quiet)) {
                return false;
            }
            continue;
        }
        PointFile file(name, LineEnds::AnyNewline);
        if (!file.IsOpen()) {
            ReportFunctionError(label, (L"File " + name + L" cannot be opened!").c_str());
            return false;
        }
        PumpMessagesThrottled();
        ProgressMeterState meter;
        StartProgressMeter(meter, name.c_str(), static_cast<double>(file.CountLines()));
        bool dataStarted = false;
        std::int64_t row = 0;
        const char* first = nullptr;
        const char* last = nullptr;
        while (file.NextLine(first, last)) {
            ++row;
            UpdateProgressMeter(meter, name.c_str(), static_cast<double>(row));
            if (row == 1 && last - first >= 3 && first[0] == '\xEF' && first[1] == '\xBB' &&
                first[2] == '\xBF') {
                first += 3;
            }
            const char* p = first;
            while (p != last && IsBlank(*p)) {
                ++p;
            }
            if (p == last) {
                continue;
            }
            SplitRow(first, last, separator, needed, fields);
            double x = 0.0;
            double y = 0.0;
            double z = 0.0;
            const bool readable = fields.size() >= needed &&
                                  ParseCoordinate(fields[columns.x], decimalComma, x) &&
                                  ParseCoordinate(fields[columns.y], decimalComma, y) &&
                                  ParseCoordinate(fields[columns.z], decimalComma, z);
            if (!readable) {
                ++counts.skipped;
                if (options.quiet) {
                    continue;
                }
                if (dataStarted && listed < kListedRowErrors) {
                    acutPrintf(L"\n%s, row %d cannot be read and is skipped.", name.c_str(),
                               static_cast<int>(row));
                } else if (dataStarted && listed == kListedRowErrors) {
                    acutPrintf(L"\nFurther rows that cannot be read are not listed.");
                }
                listed += dataStarted ? 1 : 0;
                continue;
            }
            dataStarted = true;
            addNew(x, y, z);
        }
        if (!dataStarted) {
            ReportFunctionError(label, (L"File " + name + L" has no point rows in the layout " +
                                        columns.layout + L"!")
                                           .c_str());
            return false;
        }
    }
    if (options.quiet) {
        return true;
    }
    if (!options.findDuplicates) {
        acutPrintf(L"\nRows read: %d, skipped: %d", counts.read, counts.skipped);
        return true;
    }
    acutPrintf(L"\nRows read: %d, skipped: %d, duplicate plan positions: %d", counts.read,
               counts.skipped, counts.duplicates);
    return true;
}
