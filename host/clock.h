// ReadClock(): the time base of the module, in milliseconds (1000 per second) since the module's
// first reading, as a 32-bit signed value that wraps around.
//
// ElapsedMilliseconds(start, end): end - start taken as a 32-bit signed difference, so that it
// stays right across a wrap of the clock.
//
// SetClockForTesting(source): replaces the time source (null restores the real one), so that
// tests can drive time without sleeping.
#pragma once

#include <cstdint>

std::int32_t ReadClock();
std::int32_t ElapsedMilliseconds(std::int32_t start, std::int32_t end);
void SetClockForTesting(std::int32_t (*source)());
