#include "app/picture/draw_line.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kafcad {
namespace {

// Cuts the line to the rectangle [low, high] in both axes (Liang-Barsky); false when nothing is
// left.
bool Clip(double& x0, double& y0, double& x1, double& y1, double lowX, double lowY, double highX,
          double highY) {
    double start = 0.0;
    double end = 1.0;
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - lowX, highX - x0, y0 - lowY, highY - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) {
                return false;
            }
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            start = std::max(start, t);
        } else {
            end = std::min(end, t);
        }
        if (start > end) {
            return false;
        }
    }
    const double cx0 = x0 + start * dx, cy0 = y0 + start * dy;
    const double cx1 = x0 + end * dx, cy1 = y0 + end * dy;
    x0 = cx0, y0 = cy0, x1 = cx1, y1 = cy1;
    return true;
}

class Blender {
public:
    Blender(PixelImage& image, std::uint32_t colour, float strength, bool steep)
        : image_(image), strength_(strength), steep_(steep) {
        red_ = static_cast<float>(colour >> 16 & 0xFF);
        green_ = static_cast<float>(colour >> 8 & 0xFF);
        blue_ = static_cast<float>(colour & 0xFF);
    }

    // Blends at (x, y) of the line's own axes (swapped back when the line is steep).
    void Plot(long long x, long long y, double coverage) {
        if (steep_) {
            std::swap(x, y);
        }
        if (x < 0 || y < 0 || x >= image_.width || y >= image_.height || coverage <= 0.0) {
            return;
        }
        const float a = static_cast<float>(coverage) * strength_;
        std::uint32_t& pixel = image_.pixels[y * image_.stride + x];
        const auto mix = [a](std::uint32_t channel, float target) {
            const float value = static_cast<float>(channel) + (target - channel) * a;
            return static_cast<std::uint32_t>(value + 0.5f);
        };
        pixel = mix(pixel >> 16 & 0xFF, red_) << 16 | mix(pixel >> 8 & 0xFF, green_) << 8 |
                mix(pixel & 0xFF, blue_);
    }

private:
    PixelImage& image_;
    float strength_;
    bool steep_;
    float red_, green_, blue_;
};

double FractionalPart(double x) {
    return x - std::floor(x);
}

}  // namespace

void DrawLine(PixelImage& image, double x0, double y0, double x1, double y1, std::uint32_t colour,
              float strength) {
    if (!Clip(x0, y0, x1, y1, -1.0, -1.0, image.width + 1.0, image.height + 1.0)) {
        return;
    }
    // Wu's method works on pixel centres at whole numbers.
    x0 -= 0.5, y0 -= 0.5, x1 -= 0.5, y1 -= 0.5;
    const bool steep = std::fabs(y1 - y0) > std::fabs(x1 - x0);
    if (steep) {
        std::swap(x0, y0);
        std::swap(x1, y1);
    }
    if (x0 > x1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    Blender blender(image, colour, strength, steep);
    const double dx = x1 - x0;
    const double gradient = dx == 0.0 ? 1.0 : (y1 - y0) / dx;

    // The two ends, weighted by how much of their pixel the line covers.
    const double startX = std::floor(x0 + 0.5);
    const double startY = y0 + gradient * (startX - x0);
    const double startGap = 1.0 - FractionalPart(x0 + 0.5);
    const auto startColumn = static_cast<long long>(startX);
    blender.Plot(startColumn, static_cast<long long>(std::floor(startY)),
                 (1.0 - FractionalPart(startY)) * startGap);
    blender.Plot(startColumn, static_cast<long long>(std::floor(startY)) + 1,
                 FractionalPart(startY) * startGap);

    const double endX = std::floor(x1 + 0.5);
    const double endY = y1 + gradient * (endX - x1);
    const double endGap = FractionalPart(x1 + 0.5);
    const auto endColumn = static_cast<long long>(endX);
    if (endColumn != startColumn) {
        blender.Plot(endColumn, static_cast<long long>(std::floor(endY)),
                     (1.0 - FractionalPart(endY)) * endGap);
        blender.Plot(endColumn, static_cast<long long>(std::floor(endY)) + 1,
                     FractionalPart(endY) * endGap);
    }

    double y = startY + gradient;
    for (long long x = startColumn + 1; x < endColumn; ++x, y += gradient) {
        const auto row = static_cast<long long>(std::floor(y));
        blender.Plot(x, row, 1.0 - FractionalPart(y));
        blender.Plot(x, row + 1, FractionalPart(y));
    }
}

}  // namespace kafcad
