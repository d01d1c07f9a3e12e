// Colour values of the elevation ramp and their conversions.
//
// RgbColour: red, green and blue on the scale 0 to 255. HslColour: hue in degrees, saturation and
// lightness in percent (0 to 100). All doubles, not limited to their scales.
//
// RgbToHsl(rgb): the colour in hue (0 up to 360 degrees for channels within 0 to 255), saturation
// and lightness (percent). A grey has hue 0 and saturation 0.
// HslToRgb(hsl): the colour's red, green and blue on the scale 0 to 255, as doubles (not rounded,
// and outside 0 to 255 for hues or percentages beyond their scales). The channel hues are offset
// by 0.33333 of a turn, and a grey (saturation exactly 0) has all channels at its lightness.
// ColourChannelByte(value): the byte of a colour channel computed as a double on the scale 0 to
// 255: truncated toward zero (127.5 gives 127), then held within 0 to 255, so that a ramp
// extrapolated beyond its ends saturates instead of wrapping round.
//
// CutFillColour(difference, range): the colour of the cut/fill map's diverging ramp: white at 0,
// towards kCutColour as the difference rises to range (cut), towards kFillColour as it falls to
// -range (fill), straight in red, green and blue, held at the ends beyond. range > 0.
#pragma once

#include <cstdint>

struct RgbColour {
    double red = 0.0;
    double green = 0.0;
    double blue = 0.0;
};

struct HslColour {
    double hue = 0.0;
    double saturation = 0.0;
    double lightness = 0.0;
};

HslColour RgbToHsl(const RgbColour& rgb);
RgbColour HslToRgb(const HslColour& hsl);
std::uint8_t ColourChannelByte(double value);

constexpr RgbColour kCutColour{200.0, 40.0, 30.0};
constexpr RgbColour kFillColour{30.0, 90.0, 200.0};

RgbColour CutFillColour(double difference, double range);
