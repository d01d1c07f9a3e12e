// Exact plane predicates for checking triangulations in tests.
//
// ExactOrient(a, b, c) gives the sign (-1, 0, 1) of (b - a) x (c - a): 1 when a, b, c run
// counter-clockwise. ExactInCircle(a, b, c, d) gives the sign of the in-circle determinant: 1
// when d lies strictly inside the circle through a, b, c (taken counter-clockwise), 0 on it.
// Both are exact for all finite doubles. ExactWithinVertically(a, b, c, p, tolerance): for a, b, c
// counter-clockwise, whether p lies within `tolerance` (at it counts) above or below the plane
// through a, b, c, exactly, always in big integers. The determinant is first evaluated in floating
// point; when its size exceeds a bound on the rounding error, its sign is the answer. Otherwise
// every coordinate is turned into an integer times a power of two shared by the predicate's inputs,
// and the determinant is evaluated in arbitrary-precision integers.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <vector>

namespace exact {

// Signed arbitrary-precision integer with just the operations the predicates need.
class BigInt {
public:
    BigInt() = default;

    // mantissa * 2^shift, shift >= 0.
    static BigInt Scaled(std::int64_t mantissa, int shift) {
        BigInt r;
        r.negative_ = mantissa < 0;
        std::uint64_t m = mantissa < 0 ? 0 - static_cast<std::uint64_t>(mantissa)
                                       : static_cast<std::uint64_t>(mantissa);
        r.limbs_.assign(static_cast<std::size_t>(shift / 32), 0u);
        const int bits = shift % 32;
        std::uint64_t carry = 0;
        while (m != 0 || carry != 0) {
            const std::uint64_t low = (m & 0xFFFFFFFFu) << bits;
            const std::uint64_t limb = low + carry;
            r.limbs_.push_back(static_cast<std::uint32_t>(limb));
            carry = limb >> 32;
            m >>= 32;
        }
        r.Trim();
        return r;
    }

    int Sign() const { return limbs_.empty() ? 0 : (negative_ ? -1 : 1); }

    friend BigInt operator+(const BigInt& a, const BigInt& b) {
        if (a.negative_ == b.negative_) {
            BigInt r;
            r.limbs_ = AddMagnitudes(a.limbs_, b.limbs_);
            r.negative_ = a.negative_;
            r.Trim();
            return r;
        }
        const int order = CompareMagnitudes(a.limbs_, b.limbs_);
        BigInt r;
        if (order >= 0) {
            r.limbs_ = SubtractMagnitudes(a.limbs_, b.limbs_);
            r.negative_ = a.negative_;
        } else {
            r.limbs_ = SubtractMagnitudes(b.limbs_, a.limbs_);
            r.negative_ = b.negative_;
        }
        r.Trim();
        return r;
    }

    friend BigInt operator-(const BigInt& a, const BigInt& b) {
        BigInt negated = b;
        negated.negative_ = !b.negative_;
        return a + negated;
    }

    friend BigInt operator*(const BigInt& a, const BigInt& b) {
        BigInt r;
        if (a.limbs_.empty() || b.limbs_.empty()) {
            return r;
        }
        r.limbs_.assign(a.limbs_.size() + b.limbs_.size(), 0u);
        for (std::size_t i = 0; i < a.limbs_.size(); ++i) {
            std::uint64_t carry = 0;
            for (std::size_t j = 0; j < b.limbs_.size(); ++j) {
                const std::uint64_t t =
                    static_cast<std::uint64_t>(a.limbs_[i]) * b.limbs_[j] + r.limbs_[i + j] + carry;
                r.limbs_[i + j] = static_cast<std::uint32_t>(t);
                carry = t >> 32;
            }
            r.limbs_[i + b.limbs_.size()] = static_cast<std::uint32_t>(carry);
        }
        r.negative_ = a.negative_ != b.negative_;
        r.Trim();
        return r;
    }

private:
    using Limbs = std::vector<std::uint32_t>;

    void Trim() {
        while (!limbs_.empty() && limbs_.back() == 0) {
            limbs_.pop_back();
        }
        if (limbs_.empty()) {
            negative_ = false;
        }
    }

    static int CompareMagnitudes(const Limbs& a, const Limbs& b) {
        if (a.size() != b.size()) {
            return a.size() < b.size() ? -1 : 1;
        }
        for (std::size_t i = a.size(); i-- > 0;) {
            if (a[i] != b[i]) {
                return a[i] < b[i] ? -1 : 1;
            }
        }
        return 0;
    }

    static Limbs AddMagnitudes(const Limbs& a, const Limbs& b) {
        Limbs r(std::max(a.size(), b.size()) + 1, 0u);
        std::uint64_t carry = 0;
        for (std::size_t i = 0; i < r.size(); ++i) {
            const std::uint64_t t = carry + (i < a.size() ? a[i] : 0u) + (i < b.size() ? b[i] : 0u);
            r[i] = static_cast<std::uint32_t>(t);
            carry = t >> 32;
        }
        return r;
    }

    // a - b for |a| >= |b|.
    static Limbs SubtractMagnitudes(const Limbs& a, const Limbs& b) {
        Limbs r(a.size(), 0u);
        std::int64_t borrow = 0;
        for (std::size_t i = 0; i < a.size(); ++i) {
            std::int64_t t = static_cast<std::int64_t>(a[i]) - borrow -
                             static_cast<std::int64_t>(i < b.size() ? b[i] : 0u);
            borrow = t < 0 ? 1 : 0;
            r[i] = static_cast<std::uint32_t>(t + (borrow << 32));
        }
        return r;
    }

    bool negative_ = false;
    Limbs limbs_;  // magnitude, least significant limb first, no leading zero limbs
};

// A finite double as integer mantissa * 2^exponent, with the mantissa's trailing zero bits
// moved into the exponent.
struct SplitDouble {
    std::int64_t mantissa = 0;
    int exponent = 0;
};

inline SplitDouble Split(double v) {
    SplitDouble s;
    if (v == 0.0) {
        return s;
    }
    int e = 0;
    const double fraction = std::frexp(v, &e);
    s.mantissa = static_cast<std::int64_t>(std::ldexp(fraction, 53));
    s.exponent = e - 53;
    while ((s.mantissa & 1) == 0) {
        s.mantissa /= 2;
        ++s.exponent;
    }
    return s;
}

// The given doubles as integers over one shared power of two.
inline std::vector<BigInt> ToCommonScale(std::initializer_list<double> values) {
    std::vector<SplitDouble> split;
    int lowest = 0;
    bool any = false;
    for (const double v : values) {
        split.push_back(Split(v));
        if (split.back().mantissa != 0 && (!any || split.back().exponent < lowest)) {
            lowest = split.back().exponent;
            any = true;
        }
    }
    std::vector<BigInt> scaled;
    for (const SplitDouble& s : split) {
        scaled.push_back(BigInt::Scaled(s.mantissa, s.mantissa == 0 ? 0 : s.exponent - lowest));
    }
    return scaled;
}

struct Point {
    double x;
    double y;
};

// The sign of `det` when it is certain: its rounding error is at most errorFactor times the
// unit roundoff times `magnitude` (the sum of the absolute values of its terms). Gives 2 when
// it is not certain, or when the terms are so small that underflow could spoil the bound.
inline int CertainSign(double det, double magnitude, double errorFactor) {
    const double bound = errorFactor * (std::numeric_limits<double>::epsilon() / 2) * magnitude;
    if (!std::isfinite(det) || !std::isfinite(magnitude) || magnitude < 1e-250) {
        return 2;
    }
    if (det > bound) {
        return 1;
    }
    return det < -bound ? -1 : 2;
}

inline int ExactOrient(Point a, Point b, Point c) {
    const double left = (b.x - a.x) * (c.y - a.y);
    const double right = (b.y - a.y) * (c.x - a.x);
    const int quick = CertainSign(left - right, std::fabs(left) + std::fabs(right), 8);
    if (quick != 2) {
        return quick;
    }
    const std::vector<BigInt> v = ToCommonScale({a.x, a.y, b.x, b.y, c.x, c.y});
    const BigInt abx = v[2] - v[0];
    const BigInt aby = v[3] - v[1];
    const BigInt acx = v[4] - v[0];
    const BigInt acy = v[5] - v[1];
    return (abx * acy - aby * acx).Sign();
}

inline int ExactInCircle(Point a, Point b, Point c, Point d) {
    {
        const double adx = a.x - d.x;
        const double ady = a.y - d.y;
        const double bdx = b.x - d.x;
        const double bdy = b.y - d.y;
        const double cdx = c.x - d.x;
        const double cdy = c.y - d.y;
        const double aLift = adx * adx + ady * ady;
        const double bLift = bdx * bdx + bdy * bdy;
        const double cLift = cdx * cdx + cdy * cdy;
        const double det = aLift * (bdx * cdy - cdx * bdy) + bLift * (cdx * ady - adx * cdy) +
                           cLift * (adx * bdy - bdx * ady);
        const double magnitude = aLift * (std::fabs(bdx * cdy) + std::fabs(cdx * bdy)) +
                                 bLift * (std::fabs(cdx * ady) + std::fabs(adx * cdy)) +
                                 cLift * (std::fabs(adx * bdy) + std::fabs(bdx * ady));
        const int quick = CertainSign(det, magnitude, 16);
        if (quick != 2) {
            return quick;
        }
    }
    const std::vector<BigInt> v = ToCommonScale({a.x, a.y, b.x, b.y, c.x, c.y, d.x, d.y});
    const BigInt adx = v[0] - v[6];
    const BigInt ady = v[1] - v[7];
    const BigInt bdx = v[2] - v[6];
    const BigInt bdy = v[3] - v[7];
    const BigInt cdx = v[4] - v[6];
    const BigInt cdy = v[5] - v[7];
    const BigInt aLift = adx * adx + ady * ady;
    const BigInt bLift = bdx * bdx + bdy * bdy;
    const BigInt cLift = cdx * cdx + cdy * cdy;
    const BigInt det = aLift * (bdx * cdy - cdx * bdy) + bLift * (cdx * ady - adx * cdy) +
                       cLift * (adx * bdy - bdx * ady);
    return det.Sign();
}

struct Point3 {
    double x;
    double y;
    double z;
};

// |(pz - az) D - (bz - az) Ab - (cz - az) Ac| <= tolerance D, with D twice the triangle's area
// and Ab, Ac twice the areas of (a, p, c) and (a, b, p): p's distance from the plane, times D.
inline bool ExactWithinVertically(Point3 a, Point3 b, Point3 c, Point3 p, double tolerance) {
    const std::vector<BigInt> v =
        ToCommonScale({a.x, a.y, a.z, b.x, b.y, b.z, c.x, c.y, c.z, p.x, p.y, p.z, tolerance});
    const BigInt abx = v[3] - v[0], aby = v[4] - v[1], abz = v[5] - v[2];
    const BigInt acx = v[6] - v[0], acy = v[7] - v[1], acz = v[8] - v[2];
    const BigInt apx = v[9] - v[0], apy = v[10] - v[1], apz = v[11] - v[2];
    const BigInt d = abx * acy - aby * acx;
    const BigInt areaB = apx * acy - apy * acx;
    const BigInt areaC = abx * apy - aby * apx;
    const BigInt e = apz * d - abz * areaB - acz * areaC;
    const BigInt allowed = v[12] * d;
    return (allowed - e).Sign() >= 0 && (allowed + e).Sign() >= 0;
}

}  // namespace exact
