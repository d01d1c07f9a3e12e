#include "postprocess/rgb_to_hsl.h"

#include <algorithm>

HslColor RgbToHsl(const RgbColor& rgb) {
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
    HslColor hsl;
    hsl.hue = h < 0 ? h + 360 : h;
    hsl.saturation = s * 100;
    hsl.lightness = (mn + mx) * 0.5 * 100;
    return hsl;
}
