#include "app/picture/aci_colour.h"

#include <cmath>

namespace kafcad {
namespace {

// The pure colour of a hue (degrees) at a value, and its pale form (half the saturation).
kafhost::Rgb HueColour(double hue, double value, bool pale) {
    const double saturation = pale ? 0.5 : 1.0;
    const double h = std::fmod(hue, 360.0) / 60.0;
    const double f = h - std::floor(h);
    const double p = value * (1.0 - saturation);
    const double q = value * (1.0 - saturation * f);
    const double t = value * (1.0 - saturation * (1.0 - f));
    double r = value, g = t, b = p;
    switch (static_cast<int>(h)) {
        case 1:
            r = q, g = value, b = p;
            break;
        case 2:
            r = p, g = value, b = t;
            break;
        case 3:
            r = p, g = q, b = value;
            break;
        case 4:
            r = t, g = p, b = value;
            break;
        case 5:
            r = value, g = p, b = q;
            break;
        default:
            break;
    }
    return kafhost::Rgb{static_cast<int>(std::lround(r * 255.0)),
                        static_cast<int>(std::lround(g * 255.0)),
                        static_cast<int>(std::lround(b * 255.0))};
}

}  // namespace

kafhost::Rgb AciColour(int index) {
    static const kafhost::Rgb kNamed[] = {{255, 0, 0},     {255, 255, 0},   {0, 255, 0},
                                          {0, 255, 255},   {0, 0, 255},     {255, 0, 255},
                                          {255, 255, 255}, {128, 128, 128}, {192, 192, 192}};
    static const int kGreys[] = {51, 91, 132, 173, 214, 255};
    static const double kValues[] = {1.0, 0.8, 0.6, 0.5, 0.3};
    if (index >= 1 && index <= 9) {
        return kNamed[index - 1];
    }
    if (index >= 10 && index <= 249) {
        const int shade = (index - 10) % 10;
        return HueColour(static_cast<double>((index - 10) / 10) * 15.0, kValues[shade / 2],
                         shade % 2 == 1);
    }
    if (index >= 250 && index <= 255) {
        const int grey = kGreys[index - 250];
        return kafhost::Rgb{grey, grey, grey};
    }
    return kafhost::Rgb{0, 0, 0};
}

kafhost::Rgb LayerColour(const kafhost::LayerInfo& layer) {
    if (layer.trueColor >= 0) {
        return kafhost::Rgb{(layer.trueColor >> 16) & 0xFF, (layer.trueColor >> 8) & 0xFF,
                            layer.trueColor & 0xFF};
    }
    return AciColour(layer.colorIndex);
}

}  // namespace kafcad
