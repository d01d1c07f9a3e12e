// The point-file number rule: the fast field conversion must accept and reject exactly what the
// classic-locale stream extraction does, with bit-identical values.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "input/point_field.h"
#include "input/widen_bytes.h"

namespace {

struct Conversion {
    bool ok = false;
    double value = 0.0;
};

Conversion Fast(const std::string& field) {
    Conversion c;
    c.ok = ParsePointField(field.data(), field.data() + field.size(), c.value);
    return c;
}

Conversion ByStream(const std::string& field) {
    Conversion c;
    c.ok = ParsePointFieldByStream(WidenBytes(field.data(), field.data() + field.size()), c.value);
    return c;
}

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void ExpectSameAsStream(const std::string& field) {
    const Conversion fast = Fast(field);
    const Conversion stream = ByStream(field);
    ASSERT_EQ(fast.ok, stream.ok) << "field [" << field << "]";
    if (fast.ok) {
        ASSERT_TRUE(SameBits(fast.value, stream.value))
            << "field [" << field << "]: " << fast.value << " vs " << stream.value;
    }
}

TEST(PointFieldTest, ClassicExtractionRulesHold) {
    const struct {
        const char* field;
        bool ok;
        double value;
    } cases[] = {
        {"1.5", true, 1.5},
        {"  -0.5  ", true, -0.5},
        {"+.5", true, 0.5},
        {"5.", true, 5.0},
        {"1e3", true, 1000.0},
        {"2E-1", true, 0.2},
        {"\t7\r", true, 7.0},
        {"1e-400", true, 0.0},
        {"1e", false, 0},
        {"1e+", false, 0},
        {"inf", false, 0},
        {"nan", false, 0},
        {"0x1p3", false, 0},
        {"+-1", false, 0},
        {"1.5.2", false, 0},
        {".", false, 0},
        {"-", false, 0},
        {" ", false, 0},
        {"1 2", false, 0},
        {"1e400", false, 0},
        {"-1e400", false, 0},
        {"1,5", false, 0},
        {"\xEF\xBB\xBF"
         "1",
         false, 0},
    };
    for (const auto& c : cases) {
        const Conversion fast = Fast(c.field);
        EXPECT_EQ(fast.ok, c.ok) << "[" << c.field << "]";
        if (c.ok && fast.ok) {
            EXPECT_EQ(fast.value, c.value) << "[" << c.field << "]";
        }
        ExpectSameAsStream(c.field);
    }
}

// Fields put together at random from pieces that exercise every branch of the extraction:
// signs, points, exponent letters with and without digits, blanks of every kind, hexadecimal
// and special-value spellings, out-of-range exponents, long digit strings and stray bytes.
TEST(PointFieldTest, RandomFieldsMatchTheStreamExtraction) {
    std::vector<std::string> pieces;
    std::istringstream list(
        "0|1|9|12345|00|-|+|.|e|E|x|0x|p| |\t|\r|\v|\f|inf|nan|INF|1e|e5|5|+-|..|\xA0|\x85|\x1c|"
        "1e400|1e-400|1e-310|2.2250738585072011e-308|12345678901234567890123456789|"
        "0.000000000000000000000000000001|a|,|;|3.14159|9999999999999999999999e-5|4.9e-324|"
        "1.7976931348623157e308|1.7976931348623159e308|0.1|123456789012345678|\xEF\xBB\xBF");
    for (std::string piece; std::getline(list, piece, '|');) {
        pieces.push_back(piece);
    }
    ASSERT_EQ(pieces.size(), 46u);
    std::mt19937 random(20240611);
    int accepted = 0;
    for (int i = 0; i < 300000; ++i) {
        std::string field;
        const int count = 1 + static_cast<int>(random() % 6);
        for (int k = 0; k < count; ++k) {
            field += pieces[random() % pieces.size()];
        }
        ExpectSameAsStream(field);
        accepted += Fast(field).ok ? 1 : 0;
    }
    // The set must reach both answers in quantity, or it proves little.
    EXPECT_GT(accepted, 20000);
    EXPECT_LT(accepted, 280000);
}

TEST(PointFieldTest, RandomPlainNumbersMatchTheStreamExtraction) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> coordinate(-1e7, 1e7);
    char text[64];
    for (int i = 0; i < 100000; ++i) {
        const double value = coordinate(random);
        const int digits = 1 + static_cast<int>(random() % 17);
        std::snprintf(text, sizeof text, (i % 3 == 0) ? "%.*e" : "%.*f", digits, value);
        ExpectSameAsStream(text);
    }
}

TEST(PointRowTest, SplitsAtTheFirstDelimiterCharacterAndSkipsEmptyFields) {
    double xyz[3] = {};
    const std::string row = ";;1;;2;3;";
    ASSERT_EQ(ParsePointRow(row.data(), row.data() + row.size(), L';', xyz),
              PointRowStatus::kPoint);
    EXPECT_EQ(xyz[0], 1.0);
    EXPECT_EQ(xyz[1], 2.0);
    EXPECT_EQ(xyz[2], 3.0);

    const std::string fourNumbers = "4;5;6;7";
    ASSERT_EQ(ParsePointRow(fourNumbers.data(), fourNumbers.data() + fourNumbers.size(), L';', xyz),
              PointRowStatus::kPoint);
    EXPECT_EQ(xyz[2], 6.0);

    const std::string letter = "1.5;2.5;3.5;X";
    EXPECT_EQ(ParsePointRow(letter.data(), letter.data() + letter.size(), L';', xyz),
              PointRowStatus::kUnparsable);
    const std::string two = "1;2";
    EXPECT_EQ(ParsePointRow(two.data(), two.data() + two.size(), L';', xyz),
              PointRowStatus::kTooFewValues);
    // A delimiter outside the byte range never splits: the row is one field.
    EXPECT_EQ(ParsePointRow(row.data(), row.data() + row.size(), L'\x13B', xyz),
              PointRowStatus::kUnparsable);
}

}  // namespace
