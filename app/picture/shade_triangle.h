// ShadeTriangle(image, a, b, c): fills a triangle of the picture, interpolating its corners'
// colours linearly (Gouraud shading). A pixel belongs to the triangle when its centre does;
// corners are snapped to 1/256 pixel and the edge tests are exact, with a pixel centre on a
// shared edge given to exactly one of the two triangles, so a mesh's triangles tile the picture
// without gaps or double-painted seams. Corners may come in either order; a triangle of no area
// paints nothing.
//
// SnapCorner(corner) and ShadeSnappedTriangle(image, a, b, c) are the two steps of ShadeTriangle,
// for meshes whose corners are snapped once per vertex rather than once per triangle.
#pragma once

#include <cstdint>

namespace kafcad {

// Pixels of an image in cairo's RGB24 layout: one 32-bit word per pixel, 0x00RRGGBB.
struct PixelImage {
    std::uint32_t* pixels;
    int width;
    int height;
    int stride;  // words per row
};

struct ShadedCorner {
    double x;  // pixel coordinates, y down
    double y;
    float red;  // 0 ... 255
    float green;
    float blue;
};

// A corner snapped to 1/256 pixel; a corner too far out to be snapped (more than 10^7 pixels)
// leaves its triangles out.
struct SnappedCorner {
    std::int64_t x;
    std::int64_t y;
    float red;
    float green;
    float blue;
    bool far;
};

void ShadeTriangle(PixelImage& image, const ShadedCorner& a, const ShadedCorner& b,
                   const ShadedCorner& c);
SnappedCorner SnapCorner(const ShadedCorner& corner);
void ShadeSnappedTriangle(PixelImage& image, const SnappedCorner& a, const SnappedCorner& b,
                          const SnappedCorner& c);

}  // namespace kafcad
