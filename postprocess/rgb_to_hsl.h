// RgbToHsl(rgb): the colour in hue (0 up to 360 degrees for channels within 0 to 255),
// saturation and lightness (percent). A grey has hue 0 and saturation 0.
#pragma once

#include "postprocess/colours.h"

HslColor RgbToHsl(const RgbColor& rgb);
