// WritePng(file, image): writes the image (cairo's RGB24 pixels, 0x00RRGGBB per word) to the open
// file as an 8-bit RGB PNG with a white background colour (bKGD). Every row is filtered by its
// difference from the row above (the Up filter, the cheapest to compute) and compressed as runs
// (zlib's Z_RLE): pictures of shaded surfaces come out within a few per cent of libpng's default
// settings in size, in a fraction of the time. Throws
// std::runtime_error "error while writing to output stream" when the file cannot be written, and
// with libpng's message when the picture cannot be encoded.
#pragma once

#include <cstdio>

#include "app/picture/shade_triangle.h"

namespace kafcad {

void WritePng(std::FILE* file, const PixelImage& image);

}  // namespace kafcad
