// wholeNumberText(out, value): writes value in decimal at out, as std::to_chars writes it, and
// returns the end of the text; out must have room for 11 characters.
//
// Numbers from 0 to 99,999,999 (vertex numbers, face sizes, colours) are written two digits per
// division by 100 from kDigitPairs, with their length told by comparisons; others by
// std::to_chars. Inline, as the DXF writer calls it for each of millions of face list items.
#pragma once

#include <charconv>
#include <cstdint>

#include "platform/files/digit_pairs.h"

namespace kafhost {
namespace wholeNumberDetail {

// A number below 10000, without leading zeros.
inline char* upToFourDigits(char* out, std::uint32_t value) {
    if (value < 100) {
        if (value < 10) {
            *out = static_cast<char>('0' + value);
            return out + 1;
        }
        writeDigitPair(out, value);
        return out + 2;
    }
    const std::uint32_t high = value / 100;
    if (high < 10) {
        *out++ = static_cast<char>('0' + high);
    } else {
        writeDigitPair(out, high);
        out += 2;
    }
    writeDigitPair(out, value % 100);
    return out + 2;
}

}  // namespace wholeNumberDetail

inline char* wholeNumberText(char* out, int value) {
    constexpr std::uint32_t kFourDigits = 10000;
    constexpr std::uint32_t kEightDigits = 100000000;
    if (value < 0 || static_cast<std::uint32_t>(value) >= kEightDigits) {
        return std::to_chars(out, out + 11, value).ptr;
    }
    const auto number = static_cast<std::uint32_t>(value);
    if (number < kFourDigits) {
        return wholeNumberDetail::upToFourDigits(out, number);
    }
    out = wholeNumberDetail::upToFourDigits(out, number / kFourDigits);
    writeFourDigits(out, number % kFourDigits);
    return out + 4;
}

}  // namespace kafhost
