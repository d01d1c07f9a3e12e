// kDigitPairs.text holds the two-character texts "00" to "99", the one of n at text + 2 * n, so
// that numbers are written two digits per division by 100.
// writeDigitPair(out, pair): the two digits of pair (below 100) at out.
// writeFourDigits(out, value): the four digits of value (below 10000) at out, leading zeros
// included.
#pragma once

#include <cstdint>
#include <cstring>

namespace kafhost {

struct DigitPairs {
    char text[200] = {};
    constexpr DigitPairs() {
        for (int i = 0; i < 100; ++i) {
            text[2 * i] = static_cast<char>('0' + i / 10);
            text[2 * i + 1] = static_cast<char>('0' + i % 10);
        }
    }
};
inline constexpr DigitPairs kDigitPairs;

inline void writeDigitPair(char* out, std::uint32_t pair) {
    std::memcpy(out, kDigitPairs.text + 2 * pair, 2);
}

inline void writeFourDigits(char* out, std::uint32_t value) {
    writeDigitPair(out, value / 100);
    writeDigitPair(out + 2, value % 100);
}

}  // namespace kafhost
