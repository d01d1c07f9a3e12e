#include "platform/files/whole_number_text.h"

#include <charconv>
#include <cstdint>
#include <cstring>

#include "platform/files/digit_pairs.h"

namespace kafhost {
namespace {

constexpr std::uint32_t kFourDigits = 10000;
constexpr std::uint32_t kEightDigits = 100000000;

void writePair(char* out, std::uint32_t pair) {
    std::memcpy(out, kDigitPairs.text + 2 * pair, 2);
}

// A number below 10000, without leading zeros.
char* upToFourDigits(char* out, std::uint32_t value) {
    if (value < 100) {
        if (value < 10) {
            *out = static_cast<char>('0' + value);
            return out + 1;
        }
        writePair(out, value);
        return out + 2;
    }
    const std::uint32_t high = value / 100;
    if (high < 10) {
        *out++ = static_cast<char>('0' + high);
    } else {
        writePair(out, high);
        out += 2;
    }
    writePair(out, value % 100);
    return out + 2;
}

}  // namespace

char* wholeNumberText(char* out, int value) {
    if (value < 0 || static_cast<std::uint32_t>(value) >= kEightDigits) {
        return std::to_chars(out, out + 11, value).ptr;
    }
    const auto number = static_cast<std::uint32_t>(value);
    if (number < kFourDigits) {
        return upToFourDigits(out, number);
    }
    out = upToFourDigits(out, number / kFourDigits);
    const std::uint32_t low = number % kFourDigits;
    writePair(out, low / 100);
    writePair(out + 2, low % 100);
    return out + 4;
}

}  // namespace kafhost
