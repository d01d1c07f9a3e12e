#include "host/clock.h"

#include <chrono>

namespace {

std::int32_t (*testClockSource)() = nullptr;

// Brings a 64-bit count into the 32-bit signed range by wrapping around, as 32-bit hardware
// arithmetic would.
std::int32_t WrapTo32(std::int64_t value) {
    constexpr std::int64_t kRange = std::int64_t{1} << 32;
    std::int64_t wrapped = value % kRange;
    if (wrapped > INT32_MAX) {
        wrapped -= kRange;
    } else if (wrapped < INT32_MIN) {
        wrapped += kRange;
    }
    return static_cast<std::int32_t>(wrapped);
}

std::int32_t SteadyMilliseconds() {
    using std::chrono::steady_clock;
    static const steady_clock::time_point origin = steady_clock::now();
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(steady_clock::now() - origin);
    return WrapTo32(elapsed.count());
}

}  // namespace

std::int32_t ReadClock() {
    return testClockSource != nullptr ? testClockSource() : SteadyMilliseconds();
}

std::int32_t ElapsedMilliseconds(std::int32_t start, std::int32_t end) {
    return WrapTo32(std::int64_t{end} - std::int64_t{start});
}

void SetClockForTesting(std::int32_t (*source)()) {
    testClockSource = source;
}
