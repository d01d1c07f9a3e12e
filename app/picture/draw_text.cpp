#include "app/picture/draw_text.h"

#include <string>

#include "kafhost/wide_to_utf8.h"

namespace kafcad {
namespace {

constexpr double kSmallestTextPixels = 0.5;
constexpr double kPointMarkRadius = 2.0;

enum HorizontalMode { kLeft = 0, kCentre = 1, kRight = 2, kAligned = 3, kMiddle = 4, kFit = 5 };
enum VerticalMode { kBaseline = 0, kBottom = 1, kVerticalMiddle = 2, kTop = 3 };

void SetSource(cairo_t* cr, const kafhost::Rgb& rgb) {
    cairo_set_source_rgb(cr, rgb[0] / 255.0, rgb[1] / 255.0, rgb[2] / 255.0);
}

bool StartsAtPosition(const kafhost::EntityInfo& text) {
    const bool leftOnBaseline = text.horizontalMode == kLeft && text.verticalMode == kBaseline;
    return leftOnBaseline || text.horizontalMode == kAligned || text.horizontalMode == kFit;
}

// How far to move the text from its anchor, in pixels along and across its baseline (y down).
void AlignmentOffset(const kafhost::EntityInfo& text, const cairo_text_extents_t& extents,
                     double capHeight, double& along, double& across) {
    along = 0.0;
    across = 0.0;
    if (StartsAtPosition(text)) {
        return;
    }
    const double width = extents.x_advance;
    if (text.horizontalMode == kCentre || text.horizontalMode == kMiddle) {
        along = -width / 2.0;
    } else if (text.horizontalMode == kRight) {
        along = -width;
    }
    if (text.horizontalMode == kMiddle || text.verticalMode == kVerticalMiddle) {
        across = capHeight / 2.0;
    } else if (text.verticalMode == kTop) {
        across = capHeight;
    } else if (text.verticalMode == kBottom) {
        across = -(extents.height + extents.y_bearing);
    }
}

}  // namespace

void DrawText(cairo_t* cr, const kafhost::EntityInfo& text, const ViewTransform& view,
              const kafhost::Rgb& rgb) {
    const double capHeight = text.height * view.scale;
    if (!(capHeight >= kSmallestTextPixels) || text.text.empty()) {
        return;
    }
    const std::string utf8 = kafhost::wideToUtf8(text.text);
    cairo_save(cr);
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    // Capital letters are about 0.72 of the face's size; measure them to be exact.
    cairo_set_font_size(cr, capHeight / 0.72);
    cairo_text_extents_t capital;
    cairo_text_extents(cr, "H", &capital);
    if (capital.height > 0.0) {
        cairo_set_font_size(cr, capHeight / 0.72 * capHeight / capital.height);
    }
    cairo_text_extents_t extents;
    cairo_text_extents(cr, utf8.c_str(), &extents);
    const kafhost::Point3& anchor = StartsAtPosition(text) ? text.position : text.alignmentPoint;
    cairo_translate(cr, view.PixelX(anchor[0]), view.PixelY(anchor[1]));
    // The picture's y runs down, so the drawing's counter-clockwise turn is clockwise here.
    cairo_rotate(cr, -text.rotation);
    double along = 0.0;
    double across = 0.0;
    AlignmentOffset(text, extents, capHeight, along, across);
    cairo_move_to(cr, along, across);
    SetSource(cr, rgb);
    cairo_show_text(cr, utf8.c_str());
    cairo_restore(cr);
}

void DrawPointMark(cairo_t* cr, const kafhost::EntityInfo& point, const ViewTransform& view,
                   const kafhost::Rgb& rgb) {
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_arc(cr, view.PixelX(point.position[0]), view.PixelY(point.position[1]), kPointMarkRadius,
              0.0, 6.283185307179586);
    SetSource(cr, rgb);
    cairo_fill(cr);
    cairo_restore(cr);
}

}  // namespace kafcad
