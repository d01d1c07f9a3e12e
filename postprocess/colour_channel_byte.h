// ColourChannelByte(value): the byte of a colour channel computed as a double on the scale 0 to
// 255: truncated toward zero (127.5 gives 127), then held within 0 to 255, so that a ramp
// extrapolated beyond its ends saturates instead of wrapping round.
#pragma once

#include <cstdint>

std::uint8_t ColourChannelByte(double value);
