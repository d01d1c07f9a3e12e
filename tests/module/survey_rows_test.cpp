// The rows of survey point files in every form they come in, read by ReadSurveyPointFiles as
// the reader's rule says: a row split at its delimiter (blanks: at runs of spaces and tabs),
// spaces around fields dropped, quoted fields unquoted, the layout's coordinate fields each a
// finite number as std::from_chars reads it after one optional '+', a comma being the decimal
// mark where the delimiter is not one; rows that are not so are skipped. Plain decimals of any
// length, signs, decimal commas, exponents, quotes, blanks around fields, words and bytes above
// 127 in the other columns, missing, empty and extra fields, and words where numbers belong.
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "input/survey_point_file.h"
#include "module_fixture.h"
#include "support/files.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The fields of a row, each trimmed of blanks and unquoted; the generated quoted fields are a
// quote, bytes without quotes, a quote, and then blanks at most.
std::vector<std::string> SplitRow(const std::string& row, char delimiter) {
    const bool blanks = IsBlank(delimiter);
    std::vector<std::string> fields;
    std::size_t at = 0;
    while (true) {
        while (at < row.size() && IsBlank(row[at])) {
            ++at;
        }
        if (blanks && at == row.size()) {
            return fields;
        }
        std::string field;
        if (at < row.size() && row[at] == '"') {
            const std::size_t close = row.find('"', at + 1);
            field = row.substr(at + 1, close - at - 1);
            at = close + 1;
            while (at < row.size() && IsBlank(row[at])) {
                ++at;
            }
        } else {
            std::size_t end = at;
            while (end < row.size() && (blanks ? !IsBlank(row[end]) : row[end] != delimiter)) {
                ++end;
            }
            field = row.substr(at, end - at);
            while (!field.empty() && IsBlank(field.back())) {
                field.pop_back();
            }
            at = end;
        }
        fields.push_back(field);
        if (at == row.size()) {
            return fields;
        }
        at += blanks ? 0 : 1;
    }
}

bool FromChars(const std::string& text, double& value) {
    const char* last = text.data() + text.size();
    const std::from_chars_result result = std::from_chars(text.data(), last, value);
    return result.ec == std::errc() && result.ptr == last && std::isfinite(value);
}

bool Coordinate(std::string text, char delimiter, double& value) {
    if (!text.empty() && text[0] == '+') {
        text.erase(0, 1);
    }
    if (FromChars(text, value)) {
        return true;
    }
    if (delimiter == ',' || text.find(',') == std::string::npos) {
        return false;
    }
    for (char& c : text) {
        c = c == ',' ? '.' : c;
    }
    return FromChars(text, value);
}

using Bits = std::array<std::uint64_t, 3>;

Bits BitsOf(double x, double y, double z) {
    Bits bits;
    const double values[3] = {x, y, z};
    std::memcpy(bits.data(), values, sizeof values);
    return bits;
}

// A coordinate's text in one of many forms, most of them readable.
std::string CoordinateText(std::mt19937& random) {
    const auto digits = [&](int most) {
        std::string text;
        const int count = static_cast<int>(random() % static_cast<unsigned>(most + 1));
        for (int k = 0; k < count; ++k) {
            text += static_cast<char>('0' + random() % 10);
        }
        return text;
    };
    const auto decimal = [&](char mark) {
        std::string text = (random() % 3 == 0 ? "-" : "") + digits(random() % 4 == 0 ? 22 : 8);
        if (random() % 4 != 0) {
            text += mark + digits(random() % 4 == 0 ? 22 : 5);
        }
        return text;
    };
    static const char* const odd[] = {"nan",
                                      "inf",
                                      "-inf",
                                      "1e400",
                                      "1e-400",
                                      "0x1A",
                                      "1-2",
                                      "1..2",
                                      "1.2.3",
                                      ".",
                                      "-",
                                      "+",
                                      "+-5",
                                      "--5",
                                      "+.5",
                                      "5.",
                                      "-.5",
                                      "1,2,3",
                                      "1,000.5",
                                      "12 34",
                                      "\xC3\xA9",
                                      "12\xA0",
                                      "5e",
                                      "5e+",
                                      "E5",
                                      "1e5x",
                                      "0.1f",
                                      "",
                                      "9007199254740993",
                                      "123456789012345678901234567890.5"};
    switch (random() % 12) {
        case 0:
            return odd[random() % (sizeof odd / sizeof odd[0])];
        case 1:
            return "+" + decimal('.');
        case 2:
            return decimal(',');
        case 3:
            return decimal('.') + (random() % 2 == 0 ? "e" : "E") + (random() % 2 == 0 ? "-" : "") +
                   digits(3);
        case 4:
            return "\"" + decimal(random() % 2 == 0 ? '.' : ',') + "\"";
        case 5:
            return decimal('.') + (random() % 2 == 0 ? "x" : "'");
        default:
            return decimal('.');
    }
}

// A column that is not read: a number, a word, a quoted text holding delimiters, blanks and
// numbers, bytes above 127, or nothing.
std::string OtherText(std::mt19937& random) {
    static const char* const texts[] = {"17",
                                        "P\xC3\xA9g-5",
                                        "KERB",
                                        "\"a; b, c\td\"",
                                        "\xA0\xFF",
                                        "",
                                        "1e5",
                                        "\"\"",
                                        "x\"y\"z",
                                        "-",
                                        "3,5",
                                        "GND.2",
                                        "\"5;6;7;8;9;x\"",
                                        "\"5,6,7,8,9,x\"",
                                        "\"5 6 7 8 9 x\"",
                                        "\"5\t6\t7\t8\t9\tx\"",
                                        "\"5|6|7|8|9|x\""};
    return texts[random() % (sizeof texts / sizeof texts[0])];
}

std::string Gap(std::mt19937& random) {
    static const char* const gaps[] = {"", "", "", " ", "\t", "  \t"};
    return gaps[random() % 6];
}

// Rows of the layout's columns and the delimiter, with blanks around fields, rows cut short or
// carrying more columns, and blank rows between them.
std::string RowsText(const std::string& layout, char delimiter, int rows, std::mt19937& random) {
    const std::string between = IsBlank(delimiter) ? "" : std::string(1, delimiter);
    std::string text;
    for (int row = 0; row < rows; ++row) {
        std::vector<std::string> fields;
        for (const char letter : layout) {
            const bool coordinate = letter != 'P' && letter != 'D';
            fields.push_back(coordinate ? CoordinateText(random) : OtherText(random));
        }
        if (random() % 10 == 0) {
            fields.resize(random() % fields.size());
        } else if (random() % 8 == 0) {
            fields.push_back(OtherText(random));
        }
        std::string line = Gap(random);
        for (std::size_t k = 0; k < fields.size(); ++k) {
            std::string field = fields[k];
            // A blank-delimited field is never empty nor holds a blank, unless quoted.
            if (IsBlank(delimiter) && field.empty()) {
                field = "w";
            }
            const bool quoted = !field.empty() && field[0] == '"';
            if (IsBlank(delimiter) && !quoted && field.find_first_of(" \t") != std::string::npos) {
                field = "w";
            }
            line += (k == 0 ? "" : between + Gap(random)) + field + Gap(random);
            if (IsBlank(delimiter) && k + 1 < fields.size()) {
                line += " ";
            }
        }
        text += line + (random() % 20 == 0 ? "\n \t\n" : "\n");
    }
    return text;
}

class SurveyRows : public HostTest {};

TEST_F(SurveyRows, EveryFormOfRowIsReadAsTheRuleReadsIt) {
    TempFolder folder;
    std::mt19937 random(2027);
    int file = 0;
    for (const char delimiter : {';', ',', ' ', '\t', '|', '-'}) {
        for (const char* layout : {"XYZ", "PNEZD", "PENZ", "NEZD", "DZYPX"}) {
            SCOPED_TRACE(std::string("delimiter [") + delimiter + "] layout " + layout);
            const std::string text = RowsText(layout, delimiter, 3000, random);
            SurveyColumns columns;
            ASSERT_TRUE(
                ParseSurveyLayout(std::wstring(layout, layout + std::strlen(layout)), columns));
            // A header row first, so that every later unreadable row counts as skipped.
            std::vector<Bits> expected;
            std::int32_t skipped = 1;
            std::size_t at = 0;
            while (at < text.size()) {
                const std::size_t end = text.find('\n', at);
                const std::string row = text.substr(at, end - at);
                at = end + 1;
                if (row.find_first_not_of(" \t") == std::string::npos) {
                    continue;
                }
                const std::vector<std::string> fields = SplitRow(row, delimiter);
                const int needed = std::max(columns.x, std::max(columns.y, columns.z)) + 1;
                double xyz[3];
                if (static_cast<int>(fields.size()) >= needed &&
                    Coordinate(fields[static_cast<std::size_t>(columns.x)], delimiter, xyz[0]) &&
                    Coordinate(fields[static_cast<std::size_t>(columns.y)], delimiter, xyz[1]) &&
                    Coordinate(fields[static_cast<std::size_t>(columns.z)], delimiter, xyz[2])) {
                    expected.push_back(BitsOf(xyz[0], xyz[1], xyz[2]));
                } else {
                    ++skipped;
                }
            }
            ASSERT_GT(expected.size(), 200u);
            ASSERT_GT(skipped, 200);
            const std::wstring name =
                folder.Write("rows" + std::to_string(file++) + ".txt", "Header\n" + text).wstring();
            std::vector<Bits> points;
            SurveyReadCounts counts;
            ASSERT_TRUE(ReadSurveyPointFiles(
                {name}, columns, static_cast<wchar_t>(delimiter), L"test",
                [&points](double x, double y, double z) { points.push_back(BitsOf(x, y, z)); },
                counts));
            ASSERT_EQ(points.size(), expected.size());
            for (std::size_t k = 0; k < points.size(); ++k) {
                ASSERT_EQ(points[k], expected[k]) << "point " << k;
            }
            EXPECT_EQ(counts.read, static_cast<std::int32_t>(expected.size()));
            EXPECT_EQ(counts.skipped, skipped);
        }
    }
}

}  // namespace
