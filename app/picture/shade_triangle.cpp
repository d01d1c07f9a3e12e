#include "app/picture/shade_triangle.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kafcad {
namespace {

constexpr double kSubpixels = 256.0;
constexpr std::int64_t kHalfPixel = 128;
// Corners further out than this (in pixels) are left out rather than overflow the edge tests.
constexpr double kFarthest = 1.0e7;

// value rounded to the nearest whole number, halves away from zero, as std::llround gives it, for
// |value| < 2^52: the truncated value and the exact remainder decide it, without a library call
// per corner.
std::int64_t RoundToWhole(double value) {
    auto whole = static_cast<std::int64_t>(value);
    const double rest = value - static_cast<double>(whole);
    if (rest >= 0.5) {
        ++whole;
    } else if (rest <= -0.5) {
        --whole;
    }
    return whole;
}

struct FixedPoint {
    std::int64_t x;
    std::int64_t y;
};

// Twice the signed area of (a, b, p); positive when p is left of a->b with y down.
std::int64_t EdgeValue(const FixedPoint& a, const FixedPoint& b, std::int64_t px, std::int64_t py) {
    return (b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x);
}

// Whether pixel centres exactly on the edge a->b belong to the triangle; of the two directions
// of an edge exactly one does.
bool OwnsEdgeCentres(const FixedPoint& a, const FixedPoint& b) {
    const std::int64_t dy = b.y - a.y;
    const std::int64_t dx = b.x - a.x;
    return dy < 0 || (dy == 0 && dx > 0);
}

std::uint32_t Pack(float red, float green, float blue) {
    const auto channel = [](float value) {
        return static_cast<std::uint32_t>(std::clamp(value, 0.0f, 255.0f) + 0.5f);
    };
    return channel(red) << 16 | channel(green) << 8 | channel(blue);
}

// The colour of a pixel inside a triangle of corners (turning as its area, twice the area,
// is positive) from the pixel's values of the edges opposite each corner: the corners' colours
// weighted barycentrically, or their one colour when all three have it.
class CornerShading {
public:
    CornerShading(const SnappedCorner* const corners[3], std::int64_t area)
        : corners_{corners[0], corners[1], corners[2]},
          inverseArea_(1.0 / static_cast<double>(area)),
          flat_(corners[0]->red == corners[1]->red && corners[0]->red == corners[2]->red &&
                corners[0]->green == corners[1]->green && corners[0]->green == corners[2]->green &&
                corners[0]->blue == corners[1]->blue && corners[0]->blue == corners[2]->blue),
          flatColour_(flat_ ? Pack(corners[0]->red, corners[0]->green, corners[0]->blue) : 0) {}

    std::uint32_t At(const std::int64_t w[3]) const {
        if (flat_) {
            return flatColour_;
        }
        const float u = static_cast<float>(w[0] * inverseArea_);
        const float v = static_cast<float>(w[1] * inverseArea_);
        const float t = 1.0f - u - v;
        const SnappedCorner& c0 = *corners_[0];
        const SnappedCorner& c1 = *corners_[1];
        const SnappedCorner& c2 = *corners_[2];
        return Pack(u * c0.red + v * c1.red + t * c2.red,
                    u * c0.green + v * c1.green + t * c2.green,
                    u * c0.blue + v * c1.blue + t * c2.blue);
    }

private:
    const SnappedCorner* corners_[3];
    double inverseArea_;
    bool flat_;
    std::uint32_t flatColour_;
};

}  // namespace

SnappedCorner SnapCorner(const ShadedCorner& corner) {
    if (!(std::fabs(corner.x) < kFarthest && std::fabs(corner.y) < kFarthest)) {
        return SnappedCorner{0, 0, corner.red, corner.green, corner.blue, true};
    }
    return SnappedCorner{RoundToWhole(corner.x * kSubpixels),
                         RoundToWhole(corner.y * kSubpixels),
                         corner.red,
                         corner.green,
                         corner.blue,
                         false};
}

void ShadeTriangle(PixelImage& image, const ShadedCorner& a, const ShadedCorner& b,
                   const ShadedCorner& c) {
    ShadeSnappedTriangle(image, SnapCorner(a), SnapCorner(b), SnapCorner(c));
}

void ShadeSnappedTriangle(PixelImage& image, const SnappedCorner& a, const SnappedCorner& b,
                          const SnappedCorner& c) {
    if (a.far || b.far || c.far) {
        return;
    }
    FixedPoint p[3] = {{a.x, a.y}, {b.x, b.y}, {c.x, c.y}};
    // Most triangles of a large mesh hold no pixel centre or one: the box of centres is found
    // first, before the rest of the setup.
    const auto pixelRange = [](std::int64_t low, std::int64_t high, int size) {
        // Pixels whose centre (i * 256 + 128) lies in [low, high].
        const std::int64_t first = (low - kHalfPixel + 255) >> 8;
        const std::int64_t last = (high - kHalfPixel) >> 8;
        return std::make_pair(std::max<std::int64_t>(first, 0),
                              std::min<std::int64_t>(last, size - 1));
    };
    const auto [left, right] = pixelRange(std::min({p[0].x, p[1].x, p[2].x}),
                                          std::max({p[0].x, p[1].x, p[2].x}), image.width);
    const auto [top, bottom] = pixelRange(std::min({p[0].y, p[1].y, p[2].y}),
                                          std::max({p[0].y, p[1].y, p[2].y}), image.height);
    if (left > right || top > bottom) {
        return;
    }
    const SnappedCorner* corners[3] = {&a, &b, &c};
    std::int64_t area = EdgeValue(p[0], p[1], p[2].x, p[2].y);
    if (area == 0) {
        return;
    }
    if (area < 0) {
        std::swap(p[1], p[2]);
        std::swap(corners[1], corners[2]);
        area = -area;
    }

    // Edge i is opposite corner i; its value at a pixel is that corner's barycentric weight.
    const FixedPoint* from[3] = {&p[1], &p[2], &p[0]};
    const FixedPoint* to[3] = {&p[2], &p[0], &p[1]};
    std::int64_t rowStart[3], bias[3];
    const std::int64_t startX = left * 256 + kHalfPixel;
    const std::int64_t startY = top * 256 + kHalfPixel;
    for (int i = 0; i < 3; ++i) {
        rowStart[i] = EdgeValue(*from[i], *to[i], startX, startY);
        bias[i] = OwnsEdgeCentres(*from[i], *to[i]) ? 0 : -1;
    }
    const auto inside = [&bias](const std::int64_t w[3]) {
        return w[0] + bias[0] >= 0 && w[1] + bias[1] >= 0 && w[2] + bias[2] >= 0;
    };
    if (left == right && top == bottom) {
        if (inside(rowStart)) {
            image.pixels[top * image.stride + left] = CornerShading(corners, area).At(rowStart);
        }
        return;
    }

    std::int64_t stepX[3], stepY[3];
    for (int i = 0; i < 3; ++i) {
        // Moving one pixel right or down changes the edge value by these amounts.
        stepX[i] = -(to[i]->y - from[i]->y) * 256;
        stepY[i] = (to[i]->x - from[i]->x) * 256;
    }
    const CornerShading shading(corners, area);
    for (std::int64_t y = top; y <= bottom; ++y) {
        std::uint32_t* row = image.pixels + y * image.stride;
        std::int64_t w[3] = {rowStart[0], rowStart[1], rowStart[2]};
        for (std::int64_t x = left; x <= right; ++x) {
            if (inside(w)) {
                row[x] = shading.At(w);
            }
            for (int i = 0; i < 3; ++i) {
                w[i] += stepX[i];
            }
        }
        for (int i = 0; i < 3; ++i) {
            rowStart[i] += stepY[i];
        }
    }
}

}  // namespace kafcad
