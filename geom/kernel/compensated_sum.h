// CCompensatedSum: a running sum of doubles that carries the rounding error of each addition
// (Neumaier's variant of Kahan summation), so that sums over millions of triangles keep close
// to full precision. Add(v) adds v; Value() gives the sum.
#pragma once

#include <cmath>

namespace geom {

class CCompensatedSum {
public:
    void Add(double v) {
        const double t = sum_ + v;
        if (std::fabs(sum_) >= std::fabs(v)) {
            error_ += (sum_ - t) + v;
        } else {
            error_ += (v - t) + sum_;
        }
        sum_ = t;
    }

    double Value() const { return sum_ + error_; }

private:
    double sum_ = 0.0;
    double error_ = 0.0;
};

}  // namespace geom
