#include "input/survey_point_file.h"

#include <algorithm>
#include <bitset>
#include <cwctype>
#include <sstream>
#include <string>

#include "arxapi.h"
#include "host/error_lines.h"
#include "host/progress_meter.h"
#include "host/pump_messages.h"
#include "input/las_point_file.h"
#include "input/point_file.h"
#include "input/survey_row.h"

namespace {

constexpr int kListedRowErrors = 10;

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
                          SurveyReadCounts& counts, const SurveyReadOptions& options) {
    const EndProgressMeterOnExit endMeter;
    const char separator = delimiter < 0x80 ? static_cast<char>(delimiter) : '\0';
    SurveyRowReader rows(columns.x, columns.y, columns.z, separator);
    int listed = 0;
    const auto addRead = [&](double x, double y, double z) {
        add(x, y, z);
        ++counts.read;
    };
    for (const std::wstring& name : files) {
        if (StartsAsLasFile(name)) {
            if (!ReadLasPointFile(name, columns.las, label, addRead, options.quiet)) {
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
            // The meter (and the message pumping it does when due) every 1024 rows: per row its
            // window lookup cost as much as reading the row.
            if ((++row & 0x3FF) == 0) {
                UpdateProgressMeter(meter, name.c_str(), static_cast<double>(row));
            }
            if (row == 1 && last - first >= 3 && first[0] == '\xEF' && first[1] == '\xBB' &&
                first[2] == '\xBF') {
                first += 3;
            }
            while (first != last && IsSurveyBlank(*first)) {
                ++first;
            }
            if (first == last) {
                continue;
            }
            double xyz[3];
            if (!rows.Read(first, last, xyz)) {
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
            addRead(xyz[0], xyz[1], xyz[2]);
        }
        if (!dataStarted) {
            ReportFunctionError(label, (L"File " + name + L" has no point rows in the layout " +
                                        columns.layout + L"!")
                                           .c_str());
            return false;
        }
    }
    if (options.dropRepeats) {
        counts.duplicates = static_cast<std::int32_t>(options.dropRepeats());
        counts.read -= counts.duplicates;
    }
    if (options.quiet) {
        return true;
    }
    if (!options.dropRepeats) {
        acutPrintf(L"\nRows read: %d, skipped: %d", counts.read, counts.skipped);
        return true;
    }
    acutPrintf(L"\nRows read: %d, skipped: %d, duplicate plan positions: %d", counts.read,
               counts.skipped, counts.duplicates);
    return true;
}
