// PngCanvas(width, height): a cairo picture of that many pixels, painted white, to draw on with
// Context() or pixel by pixel through Pixels(); Save(path) writes it as a PNG (WritePng),
// replacing the file as a drawing is (replaceFile), so that a failed write keeps an earlier
// picture. Throws std::runtime_error with cairo's text when the picture cannot be made or drawn.
#pragma once

#include <cairo.h>

#include <memory>
#include <string>

#include "app/picture/shade_triangle.h"

namespace kafcad {

class PngCanvas {
public:
    PngCanvas(int width, int height);

    cairo_t* Context() const { return context_.get(); }
    // The pixels, for drawing directly; call MarkDirty() before cairo draws over them again.
    PixelImage Pixels() const;
    void MarkDirty() const;
    void Save(const std::string& path) const;

private:
    struct SurfaceDeleter {
        void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
    };
    struct ContextDeleter {
        void operator()(cairo_t* context) const { cairo_destroy(context); }
    };

    std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface_;
    std::unique_ptr<cairo_t, ContextDeleter> context_;
    int width_;
    int height_;
};

}  // namespace kafcad
