#include "input/short_decimal.h"

#include <cfloat>
#include <cstdint>

namespace {

constexpr int kMostDigits = 19;  // any 19 digits fit in 64 bits
// The divisors for up to kMostDigits places, all held exactly by a double (up to 1e22 are).
constexpr double kPowersOfTen[kMostDigits + 1] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,
                                                  1e7,  1e8,  1e9,  1e10, 1e11, 1e12, 1e13,
                                                  1e14, 1e15, 1e16, 1e17, 1e18, 1e19};
constexpr std::uint64_t kMostExactInteger = std::uint64_t{1} << 53;

// Adds the digits from p on to digits; gives where they end.
const char* AddDigits(const char* p, const char* last, std::uint64_t& digits) {
    // Past kMostDigits the sum wraps around (unsigned), and the count refuses the text.
    for (; p != last && static_cast<unsigned char>(*p - '0') < 10; ++p) {
        digits = digits * 10 + static_cast<unsigned char>(*p - '0');
    }
    return p;
}

}  // namespace

bool ConvertShortDecimal(const char* first, const char* last, double& value) {
    // With wider intermediate precision the quotient would be rounded twice.
    if (FLT_EVAL_METHOD != 0) {
        return false;
    }
    const bool negative = first != last && *first == '-';
    if (negative) {
        ++first;
    }
    std::uint64_t digits = 0;
    const char* point = AddDigits(first, last, digits);
    const char* end = point;
    if (end != last && *end == '.') {
        end = AddDigits(end + 1, last, digits);
    }
    const long places = point != end ? end - point - 1 : 0;
    const long count = (point - first) + places;
    if (end != last || count == 0 || count > kMostDigits || digits > kMostExactInteger) {
        return false;
    }
    const double magnitude = static_cast<double>(digits) / kPowersOfTen[places];
    value = negative ? -magnitude : magnitude;
    return true;
}
