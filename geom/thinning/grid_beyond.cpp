#include "geom/thinning/grid_beyond.h"

#include <cmath>
#include <cstdint>

#include "geom/kernel/veltkamp_split.h"

namespace geom {

namespace {

constexpr std::int64_t kLargestWeight = std::int64_t{1} << 27;
// Below this size a half of a split value or a product of one might lose bits to underflow.
constexpr double kSmallest = 1e-280;

// Twice the signed area of index triangle (p, q, r).
std::int64_t IndexOrient(const GridNode& p, const GridNode& q, const GridNode& r) {
    return (q.i - p.i) * (r.j - p.j) - (q.j - p.j) * (r.i - p.i);
}

// The exact sum of up to kTerms doubles as a nonoverlapping expansion, smallest part first
// (each term added by error-free sums, none of which overflows at these sizes).
class ExactSum {
public:
    static constexpr int kTerms = 10;

    void Add(double term) {
        for (int k = 0; k < size_; ++k) {
            const double sum = term + parts_[k];
            const double back = sum - term;
            const double error = (term - (sum - back)) + (parts_[k] - back);
            parts_[k] = error;
            term = sum;
        }
        parts_[size_++] = term;
    }
    // The sign of the sum: that of its largest part that is not zero.
    int Sign() const {
        for (int k = size_; k-- > 0;) {
            if (parts_[k] != 0.0) {
                return parts_[k] > 0.0 ? 1 : -1;
            }
        }
        return 0;
    }

private:
    double parts_[kTerms] = {};
    int size_ = 0;
};

// Adds weight * value exactly (|weight| below 2^27): value split into halves of at most 26
// significant bits each, so each product with the weight is exact.
void AddProduct(ExactSum& sum, std::int64_t weight, double value) {
    double high, low;
    VeltkampSplit(value, high, low);
    const auto w = static_cast<double>(weight);
    sum.Add(w * high);
    sum.Add(w * low);
}

bool Representable(double v) {
    const double size = std::fabs(v);
    return size == 0.0 || (size >= kSmallest && size < 1e250);
}

}  // namespace

int GridBeyond(const GridNode& a, const GridNode& b, const GridNode& c, const GridNode& p,
               double tolerance) {
    const std::int64_t weights[4] = {IndexOrient(a, b, c), IndexOrient(p, b, c),
                                     IndexOrient(a, p, c), IndexOrient(a, b, p)};
    for (const std::int64_t w : weights) {
        if (w >= kLargestWeight || -w >= kLargestWeight) {
            return -1;
        }
    }
    for (const double v : {a.p.z, b.p.z, c.p.z, p.p.z, tolerance}) {
        if (!Representable(v)) {
            return -1;
        }
    }
    // e = W zp - (wa za + wb zb + wc zc); beyond when e - tol W > 0 or e + tol W < 0.
    const auto side = [&](double sign) {
        ExactSum sum;
        AddProduct(sum, weights[0], p.p.z);
        AddProduct(sum, -weights[1], a.p.z);
        AddProduct(sum, -weights[2], b.p.z);
        AddProduct(sum, -weights[3], c.p.z);
        AddProduct(sum, weights[0], sign * tolerance);
        return sum.Sign();
    };
    return side(-1.0) > 0 || side(1.0) < 0 ? 1 : 0;
}

}  // namespace geom
