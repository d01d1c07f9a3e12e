// HslToRgb(hsl): the colour's red, green and blue on the scale 0 to 255, as doubles (not rounded,
// and outside 0 to 255 for hues or percentages beyond their scales). The channel hues are offset
// by 0.33333 of a turn, and a grey (saturation exactly 0) has all channels at its lightness.
#pragma once

#include "postprocess/colours.h"

RgbColor HslToRgb(const HslColor& hsl);
