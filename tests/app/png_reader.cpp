#include "png_reader.h"

#include <cairo.h>

#include "app/picture/render_top_view.h"
#include "support/files.h"

Picture ReadPng(const std::string& path) {
    Picture picture;
    cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        picture.width = cairo_image_surface_get_width(surface);
        picture.height = cairo_image_surface_get_height(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        const unsigned char* data = cairo_image_surface_get_data(surface);
        for (int y = 0; y < picture.height; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
            for (int x = 0; x < picture.width; ++x) {
                picture.pixels.push_back(row[x] & 0xFFFFFF);
            }
        }
    }
    cairo_surface_destroy(surface);
    return picture;
}

Picture RenderPicture(const kafhost::DrawingSnapshot& drawing, int width, int height) {
    const TempFolder folder;
    const std::string path = folder.Path("top.png").string();
    kafcad::RenderTopView(drawing, path, width, height);
    return ReadPng(path);
}

std::string Channels(std::uint32_t pixel) {
    return "(" + std::to_string(pixel >> 16 & 0xFF) + ", " + std::to_string(pixel >> 8 & 0xFF) +
           ", " + std::to_string(pixel & 0xFF) + ")";
}
