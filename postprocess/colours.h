// Colour values of the elevation ramp. RgbColor: red, green and blue on the scale 0 to 255.
// HslColor: hue in degrees, saturation and lightness in percent (0 to 100). All doubles, not
// limited to their scales.
#pragma once

struct RgbColor {
    double red = 0.0;
    double green = 0.0;
    double blue = 0.0;
};

struct HslColor {
    double hue = 0.0;
    double saturation = 0.0;
    double lightness = 0.0;
};
