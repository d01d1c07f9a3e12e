// ReadPng(path): a PNG picture's size and pixels (0xRRGGBB each), read with cairo; width 0 when
// the file is not a readable PNG.
// RenderPicture(drawing, width, height): kafcad's top view of the drawing, rendered into a
// temporary file and read back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kafhost/drawing_snapshot.h"

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // row by row
    std::uint32_t At(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

Picture ReadPng(const std::string& path);
Picture RenderPicture(const kafhost::DrawingSnapshot& drawing, int width, int height);

// The channels of a pixel, for messages: "(r, g, b)".
std::string Channels(std::uint32_t pixel);
