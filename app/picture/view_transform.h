// ViewTransform: drawing x-y to picture pixels for a top view, y up: px = (x - centreX) * scale +
// width / 2, py = height / 2 - (y - centreY) * scale.
//
// FitView(extent, width, height): the transform that fits the extent into a width x height
// picture with a margin of 3 % of each side (at least 4 pixels), keeping the aspect and
// centring it. A point or an empty extent is shown at scale 1 around its centre.
#pragma once

#include "app/picture/drawing_extent.h"

namespace kafcad {

struct ViewTransform {
    double scale = 1.0;
    double centreX = 0.0;
    double centreY = 0.0;
    double halfWidth = 0.0;
    double halfHeight = 0.0;

    double PixelX(double x) const { return (x - centreX) * scale + halfWidth; }
    double PixelY(double y) const { return halfHeight - (y - centreY) * scale; }
};

ViewTransform FitView(const Extent& extent, int width, int height);

}  // namespace kafcad
