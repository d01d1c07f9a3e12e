// ExactSum<N>: the exact sum of up to N doubles, kept as a nonoverlapping expansion (its parts,
// smallest first, each added by error-free sums; parts that come out zero are dropped).
// Add(term) adds a double; AddProduct(a, b) adds a * b exactly, as its rounded product and that
// product's error (Dekker's product over VeltkampSplit halves: two terms of the N); Sign() gives
// the sign of the sum; Size() and Part(k) give its parts. Exact as long as nothing overflows and
// no product falls below the normal range: the callers keep their inputs within bounds that
// guarantee it.
#pragma once

#include "geom/kernel/veltkamp_split.h"

namespace geom {

template <int N>
class ExactSum {
public:
    void Add(double term) {
        int kept = 0;
        for (int k = 0; k < size_; ++k) {
            const double sum = term + parts_[k];
            const double back = sum - term;
            const double error = (term - (sum - back)) + (parts_[k] - back);
            if (error != 0.0) {
                parts_[kept++] = error;
            }
            term = sum;
        }
        parts_[kept++] = term;
        size_ = kept;
    }

    void AddProduct(double a, double b) {
        double aHigh, aLow, bHigh, bLow;
        VeltkampSplit(a, aHigh, aLow);
        VeltkampSplit(b, bHigh, bLow);
        const double product = a * b;
        const double error =
            ((aHigh * bHigh - product) + aHigh * bLow + aLow * bHigh) + aLow * bLow;
        Add(error);
        Add(product);
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

    int Size() const { return size_; }
    double Part(int k) const { return parts_[k]; }

private:
    double parts_[N];  // parts_[0 .. size_ - 1] only are ever read
    int size_ = 0;
};

}  // namespace geom
