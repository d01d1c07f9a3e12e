// ReadClock(): the time base of the module, in milliseconds (1000 per second), as a 32-bit signed
// value. Elapsed times are differences of two readings.
//
// SetClockForTesting(source): replaces the time source (null restores the real one), so that
// tests can drive time without sleeping.
#pragma once

#include <cstdint>

std::int32_t ReadClock();
void SetClockForTesting(std::int32_t (*source)());
