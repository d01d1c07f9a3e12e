// Reals as drawing files write them: the same text as std::to_chars, character for character,
// whichever way the text is made (a few decimal places, the shortest digits, std::to_chars itself).
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "platform/files/shortest_real.h"
#include "platform/files/whole_number_text.h"

namespace {

std::string Written(double value) {
    char text[40];
    std::memset(text, '#', sizeof text);
    char* end = kafhost::shortestRealText(text, value);
    EXPECT_LE(end - text, 32);
    return std::string(text, end);
}

std::string Expected(double value) {
    char text[40];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

double FromDecimal(const std::string& text) {
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// Counts the values whose text differs from std::to_chars, showing the first few.
int Mismatches(const std::vector<double>& values) {
    int count = 0;
    for (const double value : values) {
        for (const double signed_value : {value, -value}) {
            const std::string written = Written(signed_value);
            const std::string expected = Expected(signed_value);
            if (written != expected && ++count <= 5) {
                ADD_FAILURE() << "wrote " << written << " for " << expected;
            }
        }
    }
    return count;
}

TEST(ShortestReal, EdgesOfTheDirectWayAndOfDoubles) {
    const double tiny = std::numeric_limits<double>::denorm_min();
    const double largest = std::numeric_limits<double>::max();
    std::vector<double> values = {0.0,      -0.0,
                                  1.0,      0.5,
                                  0.001,    0.0015,
                                  0.005,    0.01,
                                  0.1,      0.2,
                                  0.3,      0.7,
                                  9.5,      10.0,
                                  99.99,    100.0,
                                  1000.0,   9999.0,
                                  10000.0,  12000.0,
                                  100000.0, 1.5e15,
                                  1e16,     1e17,
                                  1e21,     1e22,
                                  1e23,     tiny,
                                  1e-300,   1e300,
                                  largest,  1.0 / 3,
                                  2.0 / 3,  3.141592653589793,
                                  0.1 + 0.2};
    // Either side of the bounds the direct way keeps to: 0.001, 10000 and 2^51, and the powers of
    // two where a double's step doubles.
    for (const double bound : {0.001, 10000.0, 2251799813685248.0, 4503599627370496.0, 1024.0, 0.5,
                               0.125, 1048576.0, 1099511627776.0}) {
        double below = bound;
        double above = bound;
        for (int step = 0; step < 4; ++step) {
            below = std::nextafter(below, 0.0);
            above = std::nextafter(above, largest);
            values.push_back(below);
            values.push_back(above);
        }
    }
    EXPECT_EQ(Mismatches(values), 0);
}

TEST(ShortestReal, DecimalsOfEveryLengthAndTheirNeighbours) {
    std::mt19937_64 random(20261207);
    std::vector<double> values;
    for (int places = 0; places <= 17; ++places) {
        for (int wholeDigits = 0; wholeDigits <= 16; ++wholeDigits) {
            for (int sample = 0; sample < 60; ++sample) {
                std::string text = wholeDigits == 0 ? "0" : "";
                for (int i = 0; i < wholeDigits; ++i) {
                    text += static_cast<char>('0' + random() % 10);
                }
                if (places > 0) {
                    text += '.';
                    for (int i = 0; i < places; ++i) {
                        text += static_cast<char>('0' + random() % 10);
                    }
                }
                // Halves and ties: a last digit of 5, and trailing zeros.
                if (sample % 3 == 1 && places > 0) {
                    text.back() = '5';
                } else if (sample % 3 == 2 && places > 1) {
                    text[text.size() - 1] = '0';
                    text[text.size() - 2] = '0';
                }
                const double value = FromDecimal(text);
                values.push_back(value);
                values.push_back(std::nextafter(value, 0.0));
                values.push_back(std::nextafter(value, 1e300));
            }
        }
    }
    EXPECT_EQ(Mismatches(values), 0);
}

TEST(ShortestReal, RandomBitPatternsAndSurveyCoordinates) {
    std::mt19937_64 random(7);
    std::vector<double> values;
    for (int i = 0; i < 200000; ++i) {
        double value = 0.0;
        const std::uint64_t bits = random();
        std::memcpy(&value, &bits, sizeof value);
        if (std::isfinite(value)) {
            values.push_back(value);
        }
    }
    // Coordinates of millimetres and their differences to a shifted origin, as meshes hold them.
    std::uniform_int_distribution<std::int64_t> millimetres(0, 999999999);
    for (int i = 0; i < 200000; ++i) {
        const double value = static_cast<double>(millimetres(random)) / 1000.0;
        values.push_back(value);
        values.push_back(value - 350000.0);
        values.push_back(value * 0.001);
    }
    EXPECT_EQ(Mismatches(values), 0);
}

// Compares count values made by next() with std::to_chars, both signs, without building strings;
// gives how many differ, showing the first few.
template <typename Next>
int MismatchesOf(int count, Next next) {
    int mismatches = 0;
    for (int i = 0; i < count; ++i) {
        const double value = next();
        for (const double signed_value : {value, -value}) {
            char written[40];
            char expected[40];
            char* writtenEnd = kafhost::shortestRealText(written, signed_value);
            char* expectedEnd =
                std::to_chars(expected, expected + sizeof expected, signed_value).ptr;
            if ((writtenEnd - written != expectedEnd - expected ||
                 std::memcmp(written, expected, static_cast<std::size_t>(expectedEnd - expected)) !=
                     0) &&
                ++mismatches <= 5) {
                ADD_FAILURE() << "wrote " << std::string(written, writtenEnd) << " for "
                              << std::string(expected, expectedEnd);
            }
        }
    }
    return mismatches;
}

double FromBits(std::uint64_t bits) {
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Millions of reals of every binary exponent the shortest-digits way takes and a few either side
// of its range: random mantissas, the lowest and highest mantissa of each exponent (powers of two
// and their neighbours), and random decimals of 1 to 17 digits read in and moved a step or none.
TEST(ShortestReal, MillionsOfRandomRealsAroundTheShortestDigitsRange) {
    std::mt19937_64 random(20261207);
    const auto exponentBits = [&random]() {
        return static_cast<std::uint64_t>(1023 - 40 + static_cast<int>(random() % 96)) << 52;
    };
    const std::uint64_t fractionMask = (std::uint64_t{1} << 52) - 1;
    EXPECT_EQ(MismatchesOf(2000000,
                           [&]() { return FromBits(exponentBits() | (random() & fractionMask)); }),
              0);
    EXPECT_EQ(MismatchesOf(400000,
                           [&]() {
                               const std::uint64_t edge = random() % 4;
                               const std::uint64_t fraction =
                                   edge < 2 ? edge : fractionMask - (edge - 2);
                               return FromBits(exponentBits() | fraction);
                           }),
              0);
    EXPECT_EQ(MismatchesOf(1500000,
                           [&]() {
                               // digits * 10^exponent, as reading its text gives it.
                               char text[48];
                               const int digits = 1 + static_cast<int>(random() % 17);
                               std::uint64_t largest = 1;
                               for (int i = 0; i < digits; ++i) {
                                   largest *= 10;
                               }
                               char* end = std::to_chars(text, text + 24, random() % largest).ptr;
                               *end++ = 'e';
                               const int exponent = static_cast<int>(random() % 40) - 28;
                               end = std::to_chars(end, text + sizeof text, exponent).ptr;
                               double value = 0.0;
                               std::from_chars(text, end, value);
                               const int step = static_cast<int>(random() % 3);
                               return step == 0   ? value
                                      : step == 1 ? std::nextafter(value, 0.0)
                                                  : std::nextafter(value, 1e300);
                           }),
              0);
}

}  // namespace

TEST(WholeNumberText, SameTextAsToCharsAtEveryLength) {
    // Each power of ten, its neighbours, the ends of int and random numbers of every length.
    std::vector<int> values = {0, std::numeric_limits<int>::max(), std::numeric_limits<int>::min()};
    for (long long power = 1; power <= 1000000000; power *= 10) {
        for (const long long value : {power - 1, power, power + 1, 2 * power, 5 * power - 1}) {
            if (value <= std::numeric_limits<int>::max()) {
                values.push_back(static_cast<int>(value));
                values.push_back(static_cast<int>(-value));
            }
        }
    }
    std::mt19937 random(11);
    for (int digits = 1; digits <= 9; ++digits) {
        std::uniform_int_distribution<int> length(0, static_cast<int>(std::pow(10, digits)) - 1);
        for (int i = 0; i < 2000; ++i) {
            values.push_back(length(random));
        }
    }
    for (const int value : values) {
        char written[16];
        std::memset(written, '#', sizeof written);
        char* const end = kafhost::wholeNumberText(written, value);
        ASSERT_LE(end - written, 11);
        char expected[16];
        char* const expectedEnd = std::to_chars(expected, expected + sizeof expected, value).ptr;
        EXPECT_EQ(std::string(written, end), std::string(expected, expectedEnd));
        EXPECT_EQ(*end, '#') << value;
    }
}
