#include "postprocess/hsl_to_rgb.h"

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

RgbColor HslToRgb(const HslColor& hsl) {
    RgbColor rgb;
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
