#include "platform/files/shortest_real.h"

#include <charconv>
#include <cmath>
#include <cstdint>

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

// Writes the decimal digits of value (at least places of them, zero-padded on the left).
char* digitsOf(char* out, std::uint64_t value, int places) {
    char digits[24];
    char* start = digits + sizeof digits;
    do {
        *--start = static_cast<char>('0' + value % 10);
        value /= 10;
        --places;
    } while (value != 0 || places > 0);
    while (start != digits + sizeof digits) {
        *out++ = *start++;
    }
    return out;
}

// The fixed-notation text of a positive value with at most `places` decimal places, where a
// decimal of that many places that reads back to value is the only one within the value's rounding
// interval: scaled is value * 10^places to the nearest whole number, and reads back to value when
// divided by 10^places (both exact in a double, the division rounded as reading rounds). Null when
// no decimal of that many places reads back to value.
char* fewPlacesText(char* out, double value) {
    int exponent = 0;
    std::frexp(value, &exponent);
    // One unit in the last place of value is 2^(exponent - 53); a decimal step of 10^-places at
    // least four times as large leaves the scaled product less than a quarter from the decimal's
    // whole number, and one decimal at most within the rounding interval.
    const double unit = std::ldexp(1.0, exponent - 53);
    int places = kMostPlaces;
    while (places > 0 && kPowersOfTen[places] * unit > 0.25) {
        --places;
    }
    const double scale = kPowersOfTen[places];
    const auto scaled = static_cast<std::uint64_t>(value * scale + 0.5);
    if (static_cast<double>(scaled) / scale != value) {
        return nullptr;
    }
    std::uint64_t whole = scaled;
    while (places > 0 && whole % 10 == 0) {
        whole /= 10;
        --places;
    }
    if (places == 0) {
        return whole < kLargestWhole ? digitsOf(out, whole, 1) : nullptr;
    }
    const auto divisor = static_cast<std::uint64_t>(kPowersOfTen[places]);
    out = digitsOf(out, whole / divisor, 1);
    *out++ = '.';
    return digitsOf(out, whole % divisor, places);
}

}  // namespace

char* shortestRealText(char* first, double value) {
    const double size = std::fabs(value);
    if (size >= kSmallest && size < kLargest) {
        char* out = first;
        if (value < 0) {
            *out++ = '-';
        }
        if (char* end = fewPlacesText(out, size)) {
            return end;
        }
    }
    return std::to_chars(first, first + 32, value).ptr;
}

}  // namespace kafhost
