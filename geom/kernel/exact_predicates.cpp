#include "geom/kernel/exact_predicates.h"

#include <cstdint>
#include <cstring>
#include <limits>

namespace geom {

namespace {

static_assert(std::numeric_limits<double>::is_iec559, "doubles must be IEEE 754 binary64");

// A finite double as mantissa * 2^exponent, the mantissa odd unless it is zero.
struct SplitDouble {
    std::int64_t mantissa;
    int exponent;
};

// Trailing zero bits of v > 0: its lowest set bit, a power of two below 2^53, is exact as a
// double, whose exponent field gives the count.
int TrailingZeros(std::uint64_t v) {
    const double lowest = static_cast<double>(v & (0 - v));
    std::uint64_t bits;
    std::memcpy(&bits, &lowest, sizeof bits);
    return static_cast<int>(bits >> 52) - 1023;
}

SplitDouble Split(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t magnitude = bits & ((std::uint64_t{1} << 52) - 1);
    int exponent = -1074;  // subnormal numbers and zero
    if (biased != 0) {
        magnitude |= std::uint64_t{1} << 52;
        exponent = biased - 1075;
    }
    if (magnitude == 0) {
        return {0, 0};
    }
    const int zeros = TrailingZeros(magnitude);
    magnitude >>= zeros;
    const std::int64_t mantissa = static_cast<std::int64_t>(magnitude);
    return {(bits >> 63) != 0 ? -mantissa : mantissa, exponent + zeros};
}

// The predicate's coordinates split, with the lowest exponent among those that are not zero.
template <int N>
struct SplitSet {
    SplitDouble values[N];
    int lowest = 0;

    explicit SplitSet(const double (&coordinates)[N]) {
        bool any = false;
        for (int k = 0; k < N; ++k) {
            values[k] = Split(coordinates[k]);
            if (values[k].mantissa != 0 && (!any || values[k].exponent < lowest)) {
                lowest = values[k].exponent;
                any = true;
            }
        }
    }

    // All coordinates as 64-bit integers over 2^lowest, each below 2^62 in size; false when one
    // is too large.
    bool ToSmall(std::int64_t (&scaled)[N]) const {
        for (int k = 0; k < N; ++k) {
            const int shift = values[k].mantissa == 0 ? 0 : values[k].exponent - lowest;
            const std::int64_t m = values[k].mantissa;
            const std::uint64_t size = static_cast<std::uint64_t>(m < 0 ? -m : m);
            if (shift > 61 || (size >> (62 - shift)) != 0) {
                return false;
            }
            scaled[k] = m * (std::int64_t{1} << shift);
        }
        return true;
    }
};

template <typename T>
int SignOf(T value) {
    return value > 0 ? 1 : (value < 0 ? -1 : 0);
}

// Signed integer of fixed capacity, enough for the in-circle determinant of any finite doubles
// over one power of two: coordinates below 2^2099, so the determinant below 2^8401.
class WideInt {
public:
    static constexpr int kLimbs = 270;

    WideInt() = default;

    // mantissa * 2^shift, shift >= 0.
    WideInt(std::int64_t mantissa, int shift) {
        negative_ = mantissa < 0;
        std::uint64_t m = negative_ ? 0 - static_cast<std::uint64_t>(mantissa)
                                    : static_cast<std::uint64_t>(mantissa);
        const int whole = shift / 32;
        const int bits = shift % 32;
        for (int k = 0; k < whole; ++k) {
            limbs_[k] = 0;
        }
        size_ = whole;
        std::uint64_t carry = 0;
        while (m != 0 || carry != 0) {
            const std::uint64_t part = ((m & 0xFFFFFFFFu) << bits) | carry;
            limbs_[size_++] = static_cast<std::uint32_t>(part);
            carry = part >> 32;
            m >>= 32;
        }
        Trim();
    }

    int Sign() const { return size_ == 0 ? 0 : (negative_ ? -1 : 1); }

    friend WideInt operator+(const WideInt& a, const WideInt& b) { return Combine(a, b, false); }
    friend WideInt operator-(const WideInt& a, const WideInt& b) { return Combine(a, b, true); }

    friend WideInt operator*(const WideInt& a, const WideInt& b) {
        WideInt r;
        if (a.size_ == 0 || b.size_ == 0) {
            return r;
        }
        r.size_ = a.size_ + b.size_;
        for (int k = 0; k < r.size_; ++k) {
            r.limbs_[k] = 0;
        }
        for (int i = 0; i < a.size_; ++i) {
            std::uint64_t carry = 0;
            for (int j = 0; j < b.size_; ++j) {
                const std::uint64_t t =
                    static_cast<std::uint64_t>(a.limbs_[i]) * b.limbs_[j] + r.limbs_[i + j] + carry;
                r.limbs_[i + j] = static_cast<std::uint32_t>(t);
                carry = t >> 32;
            }
            r.limbs_[i + b.size_] = static_cast<std::uint32_t>(carry);
        }
        r.negative_ = a.negative_ != b.negative_;
        r.Trim();
        return r;
    }

private:
    // a + b, or a - b when subtract is set.
    static WideInt Combine(const WideInt& a, const WideInt& b, bool subtract) {
        const bool bNegative = b.negative_ != subtract;
        WideInt r;
        if (a.negative_ == bNegative) {
            AddMagnitudes(a, b, r);
            r.negative_ = a.negative_;
        } else if (CompareMagnitudes(a, b) >= 0) {
            SubtractMagnitudes(a, b, r);
            r.negative_ = a.negative_;
        } else {
            SubtractMagnitudes(b, a, r);
            r.negative_ = bNegative;
        }
        r.Trim();
        return r;
    }

    static void AddMagnitudes(const WideInt& a, const WideInt& b, WideInt& r) {
        const int longer = a.size_ > b.size_ ? a.size_ : b.size_;
        std::uint64_t carry = 0;
        for (int k = 0; k < longer; ++k) {
            carry += static_cast<std::uint64_t>(k < a.size_ ? a.limbs_[k] : 0u) +
                     (k < b.size_ ? b.limbs_[k] : 0u);
            r.limbs_[k] = static_cast<std::uint32_t>(carry);
            carry >>= 32;
        }
        r.size_ = longer;
        if (carry != 0) {
            r.limbs_[r.size_++] = static_cast<std::uint32_t>(carry);
        }
    }

    // |a| - |b| for |a| >= |b|.
    static void SubtractMagnitudes(const WideInt& a, const WideInt& b, WideInt& r) {
        std::uint64_t borrow = 0;
        for (int k = 0; k < a.size_; ++k) {
            const std::uint64_t take =
                static_cast<std::uint64_t>(k < b.size_ ? b.limbs_[k] : 0u) + borrow;
            const std::uint64_t have = a.limbs_[k];
            borrow = have < take ? 1 : 0;
            r.limbs_[k] = static_cast<std::uint32_t>(have + (borrow << 32) - take);
        }
        r.size_ = a.size_;
    }

    static int CompareMagnitudes(const WideInt& a, const WideInt& b) {
        if (a.size_ != b.size_) {
            return a.size_ < b.size_ ? -1 : 1;
        }
        for (int k = a.size_ - 1; k >= 0; --k) {
            if (a.limbs_[k] != b.limbs_[k]) {
                return a.limbs_[k] < b.limbs_[k] ? -1 : 1;
            }
        }
        return 0;
    }

    void Trim() {
        while (size_ > 0 && limbs_[size_ - 1] == 0) {
            --size_;
        }
        if (size_ == 0) {
            negative_ = false;
        }
    }

    // Only limbs_[0 .. size_ - 1] are ever read; the rest stays uninitialised.
    std::uint32_t limbs_[kLimbs];
    int size_ = 0;
    bool negative_ = false;
};

int SignOf(const WideInt& value) {
    return value.Sign();
}

template <int N>
void ToWide(const SplitSet<N>& split, WideInt (&wide)[N]) {
    for (int k = 0; k < N; ++k) {
        const SplitDouble& v = split.values[k];
        wide[k] = WideInt(v.mantissa, v.mantissa == 0 ? 0 : v.exponent - split.lowest);
    }
}

// The sign of (bx - ax)(cy - ay) - (by - ay)(cx - ax) over integers of type T.
template <typename T>
int OrientOf(const T& ax, const T& ay, const T& bx, const T& by, const T& cx, const T& cy) {
    const T left = (bx - ax) * (cy - ay);
    const T right = (by - ay) * (cx - ax);
    return SignOf(left - right);
}

template <typename T>
int InCircleOf(const T& adx, const T& ady, const T& bdx, const T& bdy, const T& cdx, const T& cdy) {
    const T aLift = adx * adx + ady * ady;
    const T bLift = bdx * bdx + bdy * bdy;
    const T cLift = cdx * cdx + cdy * cdy;
    const T det = aLift * (bdx * cdy - cdx * bdy) + bLift * (cdx * ady - adx * cdy) +
                  cLift * (adx * bdy - bdx * ady);
    return SignOf(det);
}

bool Below(std::int64_t value, std::int64_t limit) {
    return value < limit && value > -limit;
}

// Coordinates that are all whole numbers below 2^30 in size, as 64-bit integers (the common case
// of the decisions that reach the exact evaluation: points on an integer grid); false otherwise.
template <int N>
bool AsWholeNumbers(const double (&coordinates)[N], std::int64_t (&whole)[N]) {
    for (int k = 0; k < N; ++k) {
        const double v = coordinates[k];
        if (!(v < 1073741824.0 && v > -1073741824.0)) {
            return false;
        }
        whole[k] = static_cast<std::int64_t>(v);
        if (static_cast<double>(whole[k]) != v) {
            return false;
        }
    }
    return true;
}

// The in-circle determinant of differences below 2^14 in size, in 64 bits: the lifts and the
// cross terms stay below 2^29, the determinant below 2^61.
int SmallInCircle(const std::int64_t (&s)[8]) {
    const std::int64_t limit = std::int64_t{1} << 14;
    const std::int64_t diff[6] = {s[0] - s[6], s[1] - s[7], s[2] - s[6],
                                  s[3] - s[7], s[4] - s[6], s[5] - s[7]};
    for (const std::int64_t v : diff) {
        if (!Below(v, limit)) {
            return 2;
        }
    }
    const std::int64_t aLift = diff[0] * diff[0] + diff[1] * diff[1];
    const std::int64_t bLift = diff[2] * diff[2] + diff[3] * diff[3];
    const std::int64_t cLift = diff[4] * diff[4] + diff[5] * diff[5];
    const std::int64_t det = aLift * (diff[2] * diff[5] - diff[4] * diff[3]) +
                             bLift * (diff[4] * diff[1] - diff[0] * diff[5]) +
                             cLift * (diff[0] * diff[3] - diff[2] * diff[1]);
    return SignOf(det);
}

// The orientation of coordinates below 2^62 whose differences are below 2^31 in size, in 64
// bits; 2 when a difference is too large.
int SmallOrient(const std::int64_t (&s)[6]) {
    const std::int64_t limit = std::int64_t{1} << 31;
    if (Below(s[2] - s[0], limit) && Below(s[5] - s[1], limit) && Below(s[3] - s[1], limit) &&
        Below(s[4] - s[0], limit)) {
        return OrientOf(s[0], s[1], s[2], s[3], s[4], s[5]);
    }
    return 2;
}

}  // namespace

int ExactOrientSign(PlanPoint a, PlanPoint b, PlanPoint c) {
    const double coordinates[6] = {a.x, a.y, b.x, b.y, c.x, c.y};
    std::int64_t s[6];
    if (AsWholeNumbers(coordinates, s)) {
        return OrientOf(s[0], s[1], s[2], s[3], s[4], s[5]);
    }
    const SplitSet<6> split(coordinates);
    if (split.ToSmall(s)) {
        const int sign = SmallOrient(s);
        if (sign != 2) {
            return sign;
        }
    }
    WideInt w[6];
    ToWide(split, w);
    return OrientOf(w[0], w[1], w[2], w[3], w[4], w[5]);
}

int ExactInCircleSign(PlanPoint a, PlanPoint b, PlanPoint c, PlanPoint d) {
    const double coordinates[8] = {a.x, a.y, b.x, b.y, c.x, c.y, d.x, d.y};
    std::int64_t s[8];
    if (AsWholeNumbers(coordinates, s)) {
        const int sign = SmallInCircle(s);
        if (sign != 2) {
            return sign;
        }
    }
    const SplitSet<8> split(coordinates);
    if (split.ToSmall(s)) {
        const int sign = SmallInCircle(s);
        if (sign != 2) {
            return sign;
        }
    }
    WideInt w[8];
    ToWide(split, w);
    return InCircleOf(w[0] - w[6], w[1] - w[7], w[2] - w[6], w[3] - w[7], w[4] - w[6], w[5] - w[7]);
}

}  // namespace geom
