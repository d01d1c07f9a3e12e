#include "platform/files/shortest_real.h"

#include "platform/files/digit_pairs.h"
#include "platform/files/shortest_digits.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace kafhost {
namespace {

constexpr int kMostPlaces = 17;
constexpr double kPowersOfTen[kMostPlaces + 1] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,
                                                  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                                  1e12, 1e13, 1e14, 1e15, 1e16, 1e17};
// Fixed notation is shorter than exponent notation for every value in [0.001, 2^51) that has a
// decimal place, and for whole numbers below 10000.
constexpr double kSmallest = 1e-3;
constexpr double kLargest = 2251799813685248.0;  // 2^51
constexpr std::uint64_t kLargestWhole = 10000;

// Binary exponents of the values the direct way takes: value = m * 2^(exponent - 53) with m of 53
// bits, for 0.001 <= value < 2^51.
constexpr int kLowestExponent = -9;
constexpr int kHighestExponent = 51;

// The most decimal places a value of the binary exponent may be written with directly: a decimal
// step of 10^-places at least four times one unit in the last place, 2^(exponent - 53), leaves
// value * 10^places less than a quarter from the decimal's whole number, and one decimal at most
// within the value's rounding interval.
struct PlacesByExponent {
    int places[kHighestExponent - kLowestExponent + 1] = {};

    constexpr PlacesByExponent() {
        for (int exponent = kLowestExponent; exponent <= kHighestExponent; ++exponent) {
            double unit = 1.0;
            for (int e = exponent - 53; e < 0; ++e) {
                unit /= 2.0;
            }
            int most = kMostPlaces;
            while (most > 0 && kPowersOfTen[most] * unit > 0.25) {
                --most;
            }
            places[exponent - kLowestExponent] = most;
        }
    }
};
constexpr PlacesByExponent kPlaces;

// The binary exponent of a positive normal double: value = f * 2^exponent with 0.5 <= f < 1.
int binaryExponent(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return static_cast<int>((bits >> 52) & 0x7FF) - 1022;
}

// The fixed-notation text of a positive value in [0.001, 2^51) when a decimal of at most the
// places its exponent allows reads back to it: scaled is value * 10^places to the nearest whole
// number, and reads back to value when divided by 10^places (both exact in a double, the division
// rounded as reading rounds). Null when no such decimal reads back to value.
char* fewPlacesText(char* out, double value) {
    int places = kPlaces.places[binaryExponent(value) - kLowestExponent];
    const double scale = kPowersOfTen[places];
    const auto scaled = static_cast<std::uint64_t>(value * scale + 0.5);
    if (static_cast<double>(scaled) / scale != value) {
        return nullptr;
    }
    // Trailing zeros dropped, eight, four, two and one at a time.
    std::uint64_t digits = scaled;
    while (places >= 8 && digits % 100000000 == 0) {
        digits /= 100000000;
        places -= 8;
    }
    if (places >= 4 && digits % 10000 == 0) {
        digits /= 10000;
        places -= 4;
    }
    if (places >= 2 && digits % 100 == 0) {
        digits /= 100;
        places -= 2;
    }
    if (places >= 1 && digits % 10 == 0) {
        digits /= 10;
        places -= 1;
    }
    if (places == 0 && digits >= kLargestWhole) {
        return nullptr;
    }
    // The digits from the last, two at a time: the places' digits, the point, then the whole
    // number's digits, one at least.
    char text[24];
    char* first = text + sizeof text;
    const auto writePair = [&first](std::uint64_t pair) {
        first -= 2;
        writeDigitPair(first, static_cast<std::uint32_t>(pair));
    };
    int placesLeft = places;
    for (; placesLeft >= 2; placesLeft -= 2) {
        writePair(digits % 100);
        digits /= 100;
    }
    if (placesLeft == 1) {
        *--first = static_cast<char>('0' + digits % 10);
        digits /= 10;
    }
    if (places > 0) {
        *--first = '.';
    }
    for (; digits >= 100; digits /= 100) {
        writePair(digits % 100);
    }
    if (digits >= 10) {
        writePair(digits);
    } else {
        *--first = static_cast<char>('0' + digits);
    }
    const auto length = static_cast<std::size_t>(text + sizeof text - first);
    std::memcpy(out, first, length);
    return out + length;
}

}  // namespace

char* shortestRealText(char* first, double value) {
    const double size = std::fabs(value);
    char* out = first;
    if (value < 0) {
        *out++ = '-';
    }
    if (size >= kSmallest && size < kLargest) {
        if (char* end = fewPlacesText(out, size)) {
            return end;
        }
    }
    if (char* end = shortestDigitsText(out, size)) {
        return end;
    }
    return std::to_chars(first, first + 32, value).ptr;
}

}  // namespace kafhost
