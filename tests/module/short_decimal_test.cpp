// The short-decimal conversion of point fields: what it accepts must convert bit for bit as
// std::from_chars does; what it refuses is left to from_chars.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "input/short_decimal.h"

namespace {

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Converts text; gives whether the short conversion took it, and checks the value if so.
bool ConvertsLikeFromChars(const std::string& text) {
    double value = 0.0;
    if (!ConvertShortDecimal(text.data(), text.data() + text.size(), value)) {
        return false;
    }
    double expected = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), expected);
    EXPECT_TRUE(result.ec == std::errc() && result.ptr == text.data() + text.size()) << text;
    EXPECT_TRUE(SameBits(value, expected)) << text << ": " << value << " vs " << expected;
    return true;
}

TEST(ShortDecimalTest, TakesOnlyPlainDecimalsWithinExactRange) {
    const struct {
        const char* text;
        bool taken;
    } cases[] = {
        {"350929.323", true},
        {"-0.5", true},
        {"5.", true},
        {".5", true},
        {"0000000000000000001", true},
        {"9007199254740992", true},   // 2^53
        {"9007199254740993", false},  // past 2^53
        {"0.9007199254740992", true},
        {"-90071992547.40993", false},
        {"1234567890123456789", false},   // 19 digits, past 2^53
        {"00000000000000000001", false},  // 20 digits
        {"1e3", false},
        {"+1", false},
        {"1.2.3", false},
        {"", false},
        {"-", false},
        {".", false},
        {"-.", false},
        {" 1", false},
        {"1,5", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ConvertsLikeFromChars(c.text), c.taken) << "[" << c.text << "]";
    }
    double value = 1.0;
    ASSERT_TRUE(ConvertShortDecimal("-0.000", "-0.000" + 6, value));
    EXPECT_TRUE(std::signbit(value));
    EXPECT_EQ(value, 0.0);
    value = 7.0;
    EXPECT_FALSE(ConvertShortDecimal("1e3", "1e3" + 3, value));
    EXPECT_EQ(value, 7.0);  // left alone when refused
}

// Digit strings of every length up to 19 with the point anywhere: the quotients that are not
// exact (most of them) must round as from_chars rounds, halfway cases of few digits included.
TEST(ShortDecimalTest, RandomDecimalsRoundAsFromChars) {
    std::mt19937_64 random(27);
    int taken = 0;
    int refused = 0;
    for (int i = 0; i < 400000; ++i) {
        const int digits = 1 + static_cast<int>(random() % 19);
        std::string text = random() % 4 == 0 ? "-" : "";
        std::string number;
        for (int k = 0; k < digits; ++k) {
            // Runs of nines and zeros reach the edges of the range and the halfway cases.
            const auto kind = random() % 8;
            number += kind == 0 ? '9' : kind == 1 ? '0' : static_cast<char>('0' + random() % 10);
        }
        const auto point = random() % (static_cast<unsigned>(digits) + 2);
        if (point <= static_cast<unsigned>(digits)) {
            number.insert(point, ".");
        }
        text += number;
        (ConvertsLikeFromChars(text) ? taken : refused) += 1;
    }
    // Both answers in quantity, or the set proves little.
    EXPECT_GT(taken, 200000);
    EXPECT_GT(refused, 50000);
}

}  // namespace
