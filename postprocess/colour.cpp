#include "postprocess/colour.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kThird = 0.33333;
constexpr double kTwoThirds = 0.66666;

// One channel, in percent, from its hue parameter t (in turns).
double ChannelPercent(double p, double q, double t) {
    if (6 * t < 1) {
        return ((q - p) * 6 * t + p) * 100;
    }
    if (2 * t < 1) {
        return q * 100;
    }
    if (3 * t < 2) {
        return ((q - p) * (kTwoThirds - t) * 6 + p) * 100;
    }
    return p * 100;
}

double ToScale255(double percent) {
    return percent / 100 * 255;
}

}  // namespace

HslColour RgbToHsl(const RgbColour& rgb) {
    const double r = rgb.red / 255;
    const double g = rgb.green / 255;
    const double b = rgb.blue / 255;
    const double mn = std::min(std::min(r, g), b);
    const double mx = std::max(std::max(r, g), b);
    const double l = (mn + mx) * 0.5;
    double s = 0.0;
    double h = 0.0;
    if (mx != mn) {
        const double d = mx - mn;
        s = l >= 0.5 ? d / (2.0 - mx - mn) : d / (mx + mn);
        // The three tests are made one after the other; a later match replaces an earlier one.
        if (mx == r) {
            h = (g - b) / d;
        }
        if (mx == g) {
            h = (b - r) / d + 2;
        }
        if (mx == b) {
            h = (r - g) / d + 4;
        }
    }
    h *= 60;
    HslColour hsl;
    hsl.hue = h < 0 ? h + 360 : h;
    hsl.saturation = s * 100;
    hsl.lightness = (mn + mx) * 0.5 * 100;
    return hsl;
}

RgbColour HslToRgb(const HslColour& hsl) {
    RgbColour rgb;
    if (hsl.saturation == 0) {
        rgb.red = rgb.green = rgb.blue = ToScale255(hsl.lightness);
        return rgb;
    }
    const double h = hsl.hue / 360;
    const double l = hsl.lightness / 100;
    const double s = hsl.saturation / 100;
    const double q = l < 0.5 ? (s + 1.0) * l : s + l - s * l;
    const double p = 2 * l - q;
    double hr = h + kThird;
    if (hr > 1) {
        hr -= 1;
    }
    double hb = h - kThird;
    if (hb < 0) {
        hb += 1;
    }
    rgb.red = ToScale255(ChannelPercent(p, q, hr));
    rgb.green = ToScale255(ChannelPercent(p, q, h));
    rgb.blue = ToScale255(ChannelPercent(p, q, hb));
    return rgb;
}

std::uint8_t ColourChannelByte(double value) {
    if (!(value > 0)) {
        return 0;
    }
    if (value >= 255) {
        return 255;
    }
    return static_cast<std::uint8_t>(value);
}

RgbColour CutFillColour(double difference, double range) {
    const double t = std::min(1.0, std::fabs(difference) / range);
    const RgbColour& end = difference >= 0 ? kCutColour : kFillColour;
    return {255 + t * (end.red - 255), 255 + t * (end.green - 255), 255 + t * (end.blue - 255)};
}
