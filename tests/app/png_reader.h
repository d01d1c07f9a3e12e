// ReadPng(path): a PNG picture's size and pixels (0xRRGGBB each), read with cairo; width 0 when
// the file is not a readable PNG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

// The channels of a pixel, for messages: "(r, g, b)".
std::string Channels(std::uint32_t pixel);
