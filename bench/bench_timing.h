// Timing helpers of the benchmarks: SecondsSince(start) gives the seconds of the steady clock
// since `start`; CpuSecondsSince(start) the processor time this process has used since the
// std::clock() value `start` (on a shared machine it leaves out the time other processes had
// the processor); Median(values) gives the median of the values (the mean of the middle two for
// an even count).
#pragma once

#include <algorithm>
#include <chrono>
#include <ctime>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

inline double CpuSecondsSince(std::clock_t start) {
    return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

}  // namespace bench
