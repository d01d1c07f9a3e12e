#include "app/picture/png_canvas.h"

#include <cstdint>
#include <stdexcept>

#include "app/picture/write_png.h"
#include "platform/files/replace_file.h"

namespace kafcad {

namespace {

void CheckStatus(cairo_status_t status) {
    if (status != CAIRO_STATUS_SUCCESS) {
        throw std::runtime_error(cairo_status_to_string(status));
    }
}

}  // namespace

PngCanvas::PngCanvas(int width, int height)
    : surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height)),
      width_(width),
      height_(height) {
    CheckStatus(cairo_surface_status(surface_.get()));
    context_.reset(cairo_create(surface_.get()));
    CheckStatus(cairo_status(context_.get()));
    cairo_set_source_rgb(context_.get(), 1.0, 1.0, 1.0);
    cairo_paint(context_.get());
    cairo_surface_flush(surface_.get());
}

PixelImage PngCanvas::Pixels() const {
    return PixelImage{
        reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface_.get())), width_,
        height_, cairo_image_surface_get_stride(surface_.get()) / 4};
}

void PngCanvas::MarkDirty() const {
    cairo_surface_mark_dirty(surface_.get());
}

void PngCanvas::Save(const std::string& path) const {
    CheckStatus(cairo_status(context_.get()));
    cairo_surface_flush(surface_.get());
    const PixelImage pixels = Pixels();
    kafhost::replaceFile(path, [&pixels](std::FILE* file) { WritePng(file, pixels); });
}

}  // namespace kafcad
