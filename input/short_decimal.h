// ScanDecimal<kCommaToo>(first, last, scanned): reads from first the longest text of an optional
// '-', digits and at most one decimal mark ('.', or with kCommaToo also ','), and gives where it
// ends. scanned.exact tells whether that text is a short decimal: at least one digit, at most 19
// digits in all and no more than 2^53 as an integer without the mark; scanned.Value() is then its
// value (the mark read as a point).
//
// ConvertShortDecimal(first, last, value): the value of the bytes [first, last) when they are
// exactly such a short decimal with '.' as its mark. Gives false, with value unset, for any other
// text (exponents, longer digit strings).
//
// A short decimal converts with a single division of two exactly held doubles, so its value is
// the correctly rounded one, the same that std::from_chars gives for the text with a '.' mark.
// Where the platform's double arithmetic is not plain IEEE double precision (FLT_EVAL_METHOD !=
// 0) no text is exact: std::from_chars must decide then.
#pragma once

#include <cfloat>
#include <cstdint>

namespace short_decimal {

constexpr int kMostDigits = 19;  // any 19 digits fit in 64 bits
// The divisors for up to kMostDigits places, all held exactly by a double (up to 1e22 are).
constexpr double kPowersOfTen[kMostDigits + 1] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,
                                                  1e7,  1e8,  1e9,  1e10, 1e11, 1e12, 1e13,
                                                  1e14, 1e15, 1e16, 1e17, 1e18, 1e19};
constexpr std::uint64_t kMostExactInteger = std::uint64_t{1} << 53;

// Adds the digits from p on to digits; gives where they end.
inline const char* AddDigits(const char* p, const char* last, std::uint64_t& digits) {
    // Past kMostDigits the sum wraps around (unsigned), and the count refuses the text.
    for (; p != last && static_cast<unsigned char>(*p - '0') < 10; ++p) {
        digits = digits * 10 + static_cast<unsigned char>(*p - '0');
    }
    return p;
}

}  // namespace short_decimal

struct ScannedDecimal {
    std::uint64_t digits = 0;
    long places = 0;
    bool negative = false;
    bool exact = false;

    double Value() const {
        const double magnitude = static_cast<double>(digits) / short_decimal::kPowersOfTen[places];
        return negative ? -magnitude : magnitude;
    }
};

template <bool kCommaToo>
inline const char* ScanDecimal(const char* first, const char* last, ScannedDecimal& scanned) {
    scanned.negative = first != last && *first == '-';
    if (scanned.negative) {
        ++first;
    }
    scanned.digits = 0;
    const char* point = short_decimal::AddDigits(first, last, scanned.digits);
    const char* end = point;
    if (end != last && (*end == '.' || (kCommaToo && *end == ','))) {
        end = short_decimal::AddDigits(end + 1, last, scanned.digits);
    }
    scanned.places = point != end ? end - point - 1 : 0;
    const long count = (point - first) + scanned.places;
    // With wider intermediate precision the quotient would be rounded twice.
    scanned.exact = FLT_EVAL_METHOD == 0 && count != 0 && count <= short_decimal::kMostDigits &&
                    scanned.digits <= short_decimal::kMostExactInteger;
    return end;
}

bool ConvertShortDecimal(const char* first, const char* last, double& value);
