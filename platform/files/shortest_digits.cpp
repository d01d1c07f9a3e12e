#include "platform/files/shortest_digits.h"

#include "platform/files/digit_pairs.h"

#include <cstdint>
#include <cstring>

namespace kafhost {
namespace {

using Unsigned = std::uint64_t;

// The binary exponents p (2^p <= value < 2^(p + 1)) the digits are made for: 5^q of the q
// chosen below fits in 64 bits, value * 10^q in 64 bits, and the shift below stays under 64.
constexpr int kLowestExponent = -36;
constexpr int kHighestExponent = 51;
constexpr int kMantissaBits = 52;
constexpr int kExponentBias = 1023;

constexpr Unsigned kPowersOfTen[] = {1,
                                     10,
                                     100,
                                     1000,
                                     10000,
                                     100000,
                                     1000000,
                                     10000000,
                                     100000000,
                                     1000000000,
                                     10000000000,
                                     100000000000,
                                     1000000000000,
                                     10000000000000,
                                     100000000000000,
                                     1000000000000000,
                                     10000000000000000,
                                     100000000000000000,
                                     1000000000000000000};

struct PowersOfFive {
    Unsigned values[28] = {};
    constexpr PowersOfFive() {
        Unsigned power = 1;
        for (Unsigned& value : values) {
            value = power;
            power *= 5;
        }
    }
};
constexpr PowersOfFive kPowersOfFive;

// An unsigned 128-bit number.
struct Wide {
    Unsigned high;
    Unsigned low;
};

Wide multiply(Unsigned a, Unsigned b) {
    const Unsigned mask = 0xFFFFFFFF;
    const Unsigned lowLow = (a & mask) * (b & mask);
    const Unsigned lowHigh = (a & mask) * (b >> 32);
    const Unsigned highLow = (a >> 32) * (b & mask);
    const Unsigned highHigh = (a >> 32) * (b >> 32);
    const Unsigned middle = (lowLow >> 32) + (lowHigh & mask) + (highLow & mask);
    return Wide{highHigh + (lowHigh >> 32) + (highLow >> 32) + (middle >> 32),
                (middle << 32) | (lowLow & mask)};
}

Wide add(Wide a, Unsigned b) {
    const Unsigned low = a.low + b;
    return Wide{a.high + (low < b ? 1 : 0), low};
}

Wide subtract(Wide a, Unsigned b) {
    return Wide{a.high - (a.low < b ? 1 : 0), a.low - b};
}

// x / 2^shift for 0 < shift < 64, with what the division leaves: whether it is at least half of
// 2^shift (half), and whether anything is left below that half (below).
struct Quotient {
    Unsigned whole;
    bool half;
    bool below;
};

Quotient divide(Wide x, int shift) {
    const Unsigned rest = x.low & ((Unsigned{1} << shift) - 1);
    const Unsigned halfBit = Unsigned{1} << (shift - 1);
    return Quotient{(x.low >> shift) | (x.high << (64 - shift)), (rest & halfBit) != 0,
                    (rest & (halfBit - 1)) != 0};
}

// floor(p * log10(2)) for |p| well below 1000.
int decimalExponentOfPowerOfTwo(int p) {
    constexpr int kLog10Of2Scaled = 78913;  // log10(2) * 2^18, rounded down
    constexpr int kScale = 1 << 18;
    const int product = p * kLog10Of2Scaled;
    return product >= 0 ? product / kScale : -((-product + kScale - 1) / kScale);
}

// The number of decimal digits of digits (at least 1), counted from a guess.
int digitCount(Unsigned digits, int guess) {
    int count = guess;
    while (count > 1 && digits < kPowersOfTen[count - 1]) {
        --count;
    }
    while (count < 19 && digits >= kPowersOfTen[count]) {
        ++count;
    }
    return count;
}

// The 20 decimal digits of digits (below 10^20), leading zeros included, followed by 20 padding
// characters, so that the digits can be copied in blocks of fixed size whatever their count. The
// number is cut into parts of eight and four digits whose pairs are made independently of one
// another, rather than by one chain of divisions by 100.
struct TwentyDigits {
    char text[40];
};

void writeEightDigits(char* out, std::uint32_t value) {
    writeFourDigits(out, value / 10000);
    writeFourDigits(out + 4, value % 10000);
}

TwentyDigits twentyDigits(Unsigned digits) {
    constexpr Unsigned kEightDigits = 100000000;
    TwentyDigits result;
    std::memset(result.text + 20, '0', 20);
    const Unsigned upper = digits / kEightDigits;
    writeFourDigits(result.text, static_cast<std::uint32_t>(upper / kEightDigits));
    writeEightDigits(result.text + 4, static_cast<std::uint32_t>(upper % kEightDigits));
    writeEightDigits(result.text + 12, static_cast<std::uint32_t>(digits % kEightDigits));
    return result;
}

// The digits (count of them, at most 17) of the decimal digits * 10^(point - count), in fixed
// notation when that is no longer than the exponent notation. The digits are copied in blocks of
// 16 or 20 characters, which may write past the text's end (at most to out + 33).
char* layOut(char* out, Unsigned digits, int count, int point) {
    const int exponent = point - 1;
    const int magnitude = exponent < 0 ? -exponent : exponent;
    const int exponentLength = (count > 1 ? count + 1 : count) + 2 + (magnitude >= 100 ? 3 : 2);
    const int fixedLength = point >= count ? point : point > 0 ? count + 1 : count + 2 - point;
    const TwentyDigits all = twentyDigits(digits);
    const char* const first = all.text + 20 - count;
    const auto size = [](int length) { return static_cast<std::size_t>(length); };
    constexpr std::size_t kBlock = 16;
    constexpr std::size_t kLongBlock = 20;
    if (fixedLength <= exponentLength) {
        if (point >= count) {
            std::memcpy(out, first, size(count));
            std::memset(out + count, '0', size(point - count));
        } else if (point > 0) {
            // The whole part (point <= 16 characters), the point, then the fraction (at most 16).
            std::memcpy(out, first, kBlock);
            out[point] = '.';
            std::memcpy(out + point + 1, first + point, kBlock);
        } else {
            // Fixed notation is taken for at most three zeros after the point.
            out[0] = '0';
            out[1] = '.';
            std::memset(out + 2, '0', size(-point));
            std::memcpy(out + 2 - point, first, kLongBlock);
        }
        return out + fixedLength;
    }
    out[0] = first[0];
    if (count > 1) {
        out[1] = '.';
        std::memcpy(out + 2, first + 1, kBlock);
        out += count + 1;
    } else {
        out += 1;
    }
    *out++ = 'e';
    *out++ = exponent < 0 ? '-' : '+';
    if (magnitude >= 100) {
        *out++ = static_cast<char>('0' + magnitude / 100);
    }
    *out++ = static_cast<char>('0' + magnitude / 10 % 10);
    *out++ = static_cast<char>('0' + magnitude % 10);
    return out;
}

}  // namespace

char* shortestDigitsText(char* out, double value) {
    Unsigned bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const int biased = static_cast<int>(bits >> kMantissaBits);  // value is positive
    const int p = biased - kExponentBias;
    if (!(value > 0.0) || p < kLowestExponent || p > kHighestExponent) {
        return nullptr;
    }
    const Unsigned fraction = bits & ((Unsigned{1} << kMantissaBits) - 1);
    const Unsigned mantissa = fraction | (Unsigned{1} << kMantissaBits);
    // value = 4 * mantissa / 2^shift2 with shift2 = 54 - p; the reals that read back to value lie
    // within 2 of 4 * mantissa above and 2 below (1 below a power of two), in the same units,
    // their ends included when the mantissa is even (a tie reads back to the even one).
    const int decimalExponent = decimalExponentOfPowerOfTwo(p);  // 10^k <= value
    const int q = 16 - decimalExponent;                          // value * 10^q >= 10^16
    const int shift = 54 - p - q;
    const Unsigned five = kPowersOfFive.values[q];
    const Wide exact = multiply(4 * mantissa, five);
    const Wide upper = add(exact, 2 * five);
    const Wide lower = subtract(exact, fraction == 0 && biased > 1 ? five : 2 * five);
    const bool endsIncluded = (mantissa & 1) == 0;

    // The whole numbers lowest ... highest are the decimals of q places that read back to value.
    const Quotient low = divide(lower, shift);
    const Quotient high = divide(upper, shift);
    const Unsigned lowest = low.whole + (!endsIncluded || low.half || low.below ? 1 : 0);
    const Unsigned highest = high.whole - (!endsIncluded && !high.half && !high.below ? 1 : 0);
    if (lowest > highest) {
        return nullptr;
    }
    // The most trailing digits that can be dropped with a decimal left between the bounds, and
    // value * 10^q rounded down with as many digits dropped (by constant divisions, one digit at
    // a time, rather than one division by a power of ten only known here).
    const Quotient scaled = divide(exact, shift);
    Unsigned digits = scaled.whole;
    int dropped = 0;
    for (Unsigned lowestLeft = lowest, highestLeft = highest;;) {
        lowestLeft = lowestLeft / 10 + (lowestLeft % 10 != 0 ? 1 : 0);
        highestLeft /= 10;
        if (lowestLeft > highestLeft) {
            break;
        }
        ++dropped;
        digits /= 10;
    }
    // Of the decimals of that many digits, the one nearest value, a tie to the even one.
    const Unsigned step = kPowersOfTen[dropped];
    bool up = false;
    if (dropped == 0) {
        up = scaled.half && (scaled.below || (digits & 1) != 0);
    } else {
        const Unsigned rest = scaled.whole - digits * step;
        const Unsigned half = step / 2;
        const bool restBeyond = scaled.half || scaled.below;
        up = rest > half || (rest == half && (restBeyond || (digits & 1) != 0));
    }
    digits += up ? 1 : 0;
    if (digits * step > highest) {
        --digits;
    } else if (digits * step < lowest) {
        ++digits;
    }
    while (digits % 10 == 0) {
        digits /= 10;
        ++dropped;
    }
    const int count = digitCount(digits, 17 - dropped);
    return layOut(out, digits, count, count + dropped - q);
}

}  // namespace kafhost
