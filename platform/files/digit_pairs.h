// kDigitPairs.text holds the two-character texts "00" to "99", the one of n at text + 2 * n, so
// that numbers are written two digits per division by 100.
#pragma once

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

}  // namespace kafhost
