#include "input/survey_point_file.h"

#include <algorithm>
#include <bitset>
#include <charconv>
#include <cmath>
#include <cstring>
#include <cwctype>
#include <new>
#include <sstream>
#include <string>

#include "arxapi.h"
#include "geom/kernel/keep_reads.h"
#include "geom/kernel/large_allocation.h"
#include "host/error_lines.h"
#include "host/progress_meter.h"
#include "host/pump_messages.h"
#include "input/las_point_file.h"
#include "input/point_file.h"
#include "input/short_decimal.h"

namespace {

constexpr int kListedRowErrors = 10;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// A field of a row: the bytes [first, last), the row's own or, for a quoted field, a copy.
struct Field {
    const char* first;
    const char* last;
};

// One field from p on, up to the delimiter (for a blank delimiter: up to any blank): a quoted
// part has its quotes removed ("" inside for one quote), in `unquoted`; spaces at its end are
// dropped. A field without quotes is left where it is in the row.
Field ReadField(const char*& p, const char* last, char delimiter, bool blankDelimiter,
                std::string& unquoted) {
    const auto ends = [&](const char* at) {
        return blankDelimiter ? IsBlank(*at) : *at == delimiter;
    };
    Field field{p, p};
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
        field = Field{unquoted.data(), unquoted.data() + unquoted.size()};
    } else if (blankDelimiter) {
        while (p != last && !IsBlank(*p)) {
            ++p;
        }
        field.last = p;
    } else {
        const void* end = std::memchr(p, delimiter, static_cast<std::size_t>(last - p));
        p = end != nullptr ? static_cast<const char*>(end) : last;
        field.last = p;
    }
    while (field.last != field.first && IsBlank(field.last[-1])) {
        --field.last;
    }
    return field;
}

// The first fields of rows, `count` at most (the layout's; the rest of a row is never kept,
// however many fields it has), with room for the quoted ones.
class RowFields {
public:
    explicit RowFields(std::size_t count) : unquoted_(count) { fields_.reserve(count); }

    // Splits a row, spaces before each field dropped.
    void Split(const char* first, const char* last, char delimiter) {
        fields_.clear();
        const bool blankDelimiter = IsBlank(delimiter) || delimiter == '\0';
        const char* p = first;
        while (fields_.size() < unquoted_.size()) {
            while (p != last && IsBlank(*p)) {
                ++p;
            }
            if (blankDelimiter && p == last) {
                return;
            }
            fields_.push_back(
                ReadField(p, last, delimiter, blankDelimiter, unquoted_[fields_.size()]));
            if (p == last) {
                return;
            }
            if (!blankDelimiter) {
                ++p;
            }
        }
    }

    std::size_t Size() const { return fields_.size(); }
    const Field& operator[](int k) const { return fields_[static_cast<std::size_t>(k)]; }

private:
    std::vector<Field> fields_;
    std::vector<std::string> unquoted_;
};

// A coordinate: the whole field a finite number, the decimal mark '.', or ',' when allowed
// (`decimal` then holds the field with its commas turned). A number stops at a comma, so only a
// field not taken whole is searched for one.
bool ParseCoordinate(const Field& field, bool decimalComma, std::string& decimal, double& value) {
    const char* first = field.first;
    const char* last = field.last;
    if (first != last && *first == '+') {
        ++first;
    }
    if (first == last) {
        return false;
    }
    // The usual field, a short decimal and nothing else, is converted directly.
    if (ConvertShortDecimal(first, last, value)) {
        return true;
    }
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

// The plan positions seen, found by a table of open addressing (linear probing) at most 75 %
// full, sized ahead for the rows to come so that it seldom grows (any size, not only powers of
// two, so that it takes no more than that). The positions are kept in the order they come,
// numbered from 1. A slot of 32 bits holds a number (0: empty) in its low bits, as many as the
// table's size needs, and as many bits of the position's hash as are left above them, so that the
// table takes 4 bytes a slot and positions are read back only where those bits agree: the table
// is the one place read at random. +0.0 and -0.0 are one position; a position with a NaN
// coordinate equals none and is not kept.
class PlanPositions {
public:
    // Room for `count` more positions.
    void Expect(std::size_t count) {
        if (kept_.empty()) {
            kept_.reserve(count);
            // Filled in order, one position a row but for the duplicates: made present at once.
            geom::PrepareRoomForWriting(kept_.data(), count * sizeof(Position));
        } else {
            kept_.reserve(kept_.size() + count);
        }
        const std::size_t size = (kept_.size() + count) / 3 * 4 + 1024;
        if (size > slots_.size()) {
            Rehash(size);
        }
    }

    // The hash of a position, for Touch and Insert.
    static std::uint64_t Hash(double x, double y) {
        std::uint64_t h = Bits(x) * 0x9E3779B97F4A7C15u ^ Bits(y);
        h ^= h >> 31;
        h *= 0xBF58476D1CE4E5B9u;
        h ^= h >> 29;
        return h;
    }

    // Reads the slots where the searches of the positions of these hashes start, all at once,
    // so that their cache misses overlap rather than come one after the other in Insert.
    void Touch(const std::uint64_t* hashes, std::size_t count) {
        std::uint32_t empty = 0;
        for (std::size_t k = 0; k < count && !slots_.empty(); ++k) {
            empty += slots_[Home(hashes[k])] == 0 ? 1 : 0;
        }
        geom::KeepReads(empty);
    }

    // Whether the position, of that hash, is new; it is then kept.
    bool Insert(double x, double y, std::uint64_t hash) {
        if (std::isnan(x) || std::isnan(y)) {
            return true;
        }
        // Every number must stay within the slot's bits for numbers.
        if (4 * (kept_.size() + 1) > 3 * slots_.size()) {
            Rehash(2 * slots_.size() + 1024);
        }
        const std::uint32_t check = Check(hash);
        std::size_t k = Home(hash);
        for (; slots_[k] != 0; k = Next(k)) {
            if ((slots_[k] & ~numberMask_) == check) {
                const Position& seen = kept_[(slots_[k] & numberMask_) - 1];
                if (seen.x == x && seen.y == y) {
                    return false;
                }
            }
        }
        kept_.push_back(Position{x, y});
        slots_[k] = static_cast<std::uint32_t>(kept_.size()) | check;
        return true;
    }

private:
    struct Position {
        double x;
        double y;
    };
    static std::uint64_t Bits(double v) {
        v += 0.0;
        std::uint64_t bits = 0;
        std::memcpy(&bits, &v, sizeof bits);
        return bits;
    }
    // The slot a search starts at: the hash's top 32 bits scaled to the table's size.
    std::size_t Home(std::uint64_t hash) const {
        return static_cast<std::size_t>(((hash >> 32) * slots_.size()) >> 32);
    }
    // The hash's bits a slot keeps above the number: taken from its low 32 bits.
    std::uint32_t Check(std::uint64_t hash) const {
        return static_cast<std::uint32_t>(hash) & ~numberMask_;
    }
    std::size_t Next(std::size_t k) const { return k + 1 == slots_.size() ? 0 : k + 1; }
    void Rehash(std::size_t size) {
        if (size > (std::uint64_t{1} << 32)) {
            throw std::bad_alloc();
        }
        // Numbers stay below the size (the table is at most 75 % full).
        std::uint32_t mask = 0;
        while (mask < size - 1) {
            mask = mask << 1 | 1;
        }
        numberMask_ = mask;
        std::vector<std::uint32_t> slots;
        slots.reserve(size);
        geom::PrepareRoomForWriting(slots.data(), size * sizeof(std::uint32_t));  // cleared below
        slots.resize(size, 0);
        slots_.swap(slots);
        for (std::size_t number = 1; number <= kept_.size(); ++number) {
            const Position& p = kept_[number - 1];
            const std::uint64_t hash = Hash(p.x, p.y);
            std::size_t k = Home(hash);
            while (slots_[k] != 0) {
                k = Next(k);
            }
            slots_[k] = static_cast<std::uint32_t>(number) | Check(hash);
        }
    }

    std::vector<Position> kept_;
    std::vector<std::uint32_t> slots_;
    std::uint32_t numberMask_ = 0;
};

// Hands on the points at plan positions no earlier point had, in their order, and counts them
// and the rest. The points wait in batches, whose positions are looked up together (Touch); a
// position's hash is taken when it comes, so that Touch is a tight run of reads.
class FirstAtPositions {
public:
    FirstAtPositions(const SurveyPointSink& add, SurveyReadCounts& counts)
        : add_(add), counts_(counts) {}

    void Expect(std::size_t rows) { positions_.Expect(rows); }
    void Add(double x, double y, double z) {
        batch_[size_] = Point{x, y, z};
        hashes_[size_++] = PlanPositions::Hash(x, y);
        if (size_ == kBatch) {
            Flush();
        }
    }
    void Flush() {
        positions_.Touch(hashes_, size_);
        const std::size_t count = size_;
        size_ = 0;
        for (std::size_t k = 0; k < count; ++k) {
            const Point& p = batch_[k];
            if (positions_.Insert(p.x, p.y, hashes_[k])) {
                add_(p.x, p.y, p.z);
                ++counts_.read;
            } else {
                ++counts_.duplicates;
            }
        }
    }

private:
    struct Point {
        double x;
        double y;
        double z;
    };
    static constexpr std::size_t kBatch = 64;

    const SurveyPointSink& add_;
    SurveyReadCounts& counts_;
    PlanPositions positions_;
    Point batch_[kBatch];
    std::uint64_t hashes_[kBatch];
    std::size_t size_ = 0;
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
    FirstAtPositions firstAt(add, counts);
    RowFields fields(needed);
    std::string decimal;
    int listed = 0;
    // The sink finds the repeats itself after the last file, or the search finds them here.
    const bool dropLater = options.findDuplicates && options.dropRepeats;
    const bool search = options.findDuplicates && !dropLater;
    const auto addNew = [&](double x, double y, double z) {
        if (search) {
            firstAt.Add(x, y, z);
            return;
        }
        add(x, y, z);
        ++counts.read;
    };
    for (const std::wstring& name : files) {
        if (StartsAsLasFile(name)) {
            const bool read = ReadLasPointFile(name, columns.las, label, addNew, options.quiet);
            firstAt.Flush();
            if (!read) {
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
        const std::int64_t lines = file.CountLines();
        if (search) {
            firstAt.Expect(static_cast<std::size_t>(lines));
        }
        StartProgressMeter(meter, name.c_str(), static_cast<double>(lines));
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
            fields.Split(first, last, separator);
            double x = 0.0;
            double y = 0.0;
            double z = 0.0;
            const bool readable = fields.Size() >= needed &&
                                  ParseCoordinate(fields[columns.x], decimalComma, decimal, x) &&
                                  ParseCoordinate(fields[columns.y], decimalComma, decimal, y) &&
                                  ParseCoordinate(fields[columns.z], decimalComma, decimal, z);
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
        firstAt.Flush();
        if (!dataStarted) {
            ReportFunctionError(label, (L"File " + name + L" has no point rows in the layout " +
                                        columns.layout + L"!")
                                           .c_str());
            return false;
        }
    }
    if (dropLater) {
        counts.duplicates = static_cast<std::int32_t>(options.dropRepeats());
        counts.read -= counts.duplicates;
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
