#include "postprocess/colour_channel_byte.h"

std::uint8_t ColourChannelByte(double value) {
    if (!(value > 0)) {
        return 0;
    }
    if (value >= 255) {
        return 255;
    }
    return static_cast<std::uint8_t>(value);
}
