// WritePng(file, image): writes the image (cairo's RGB24 pixels, 0x00RRGGBB per word) to the open
// file as an 8-bit RGB PNG with a white background colour (bKGD). Every row is filtered by the
// Paeth predictor and compressed as runs (zlib's Z_RLE): pictures of shaded surfaces come out
// about as small as with libpng's default settings, in a fraction of the time. Throws
// std::runtime_error "error while writing to output stream" when the file cannot be written, and
// with libpng's message when the picture cannot be encoded.
#pragma once

#include <cstdio>

#include "app/picture/shade_triangle.h"

namespace kafcad {

void WritePng(std::FILE* file, const PixelImage& image);

}  // namespace kafcad
