// DrawLine(image, x0, y0, x1, y1, colour, strength): draws a thin antialiased line (Xiaolin Wu's
// method) between two points in pixel coordinates (pixel i spans i ... i + 1), blending colour
// (0xRRGGBB) over the pixels by their coverage times strength (0 ... 1). Fast enough for the
// millions of edges of a large mesh; parts outside the image are left out.
#pragma once

#include <cstdint>

#include "app/picture/shade_triangle.h"

namespace kafcad {

void DrawLine(PixelImage& image, double x0, double y0, double x1, double y1, std::uint32_t colour,
              float strength);

}  // namespace kafcad
