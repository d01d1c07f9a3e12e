#include "app/picture/scale_bar.h"

#include <cmath>
#include <cstdio>

#include "app/picture/elevation_legend.h"

namespace kafcad {

void DrawScaleBar(cairo_t* cr, const ViewTransform& view, double viewWidth, double height) {
    const double length = RoundStep(viewWidth * 0.25 / view.scale, 1.0);
    const double pixels = length * view.scale;
    constexpr double kFontSize = 12.0;
    const double left = 16.0;
    const double barTop = height - 20.0;
    const double barHeight = 6.0;
    char label[32];
    std::snprintf(label, sizeof label, "%g m", length);
    cairo_text_extents_t extents;
    cairo_set_font_size(cr, kFontSize);
    cairo_text_extents(cr, label, &extents);

    cairo_set_source_rgba(cr, 1.0, 1.0, 1.0, 0.85);
    cairo_rectangle(cr, left - 8.0, barTop - kFontSize - 10.0,
                    pixels + extents.x_advance / 2.0 + 16.0, kFontSize + barHeight + 18.0);
    cairo_fill(cr);
    for (int part = 0; part < 4; ++part) {
        const double shade = part % 2 == 0 ? 0.0 : 1.0;
        cairo_set_source_rgb(cr, shade, shade, shade);
        cairo_rectangle(cr, left + part * pixels / 4.0, barTop, pixels / 4.0, barHeight);
        cairo_fill(cr);
    }
    cairo_set_source_rgb(cr, 0.0, 0.0, 0.0);
    cairo_set_line_width(cr, 1.0);
    cairo_rectangle(cr, left + 0.5, barTop + 0.5, pixels - 1.0, barHeight - 1.0);
    cairo_stroke(cr);
    cairo_move_to(cr, left - 3.0, barTop - 4.0);
    cairo_show_text(cr, "0");
    cairo_move_to(cr, left + pixels - extents.x_advance / 2.0, barTop - 4.0);
    cairo_show_text(cr, label);
}

}  // namespace kafcad
