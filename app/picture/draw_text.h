// DrawText(cr, text, view, rgb): a text entity (AcDbText) drawn by cairo in a sans-serif face,
// its capital letters as tall as the text's height at the view's scale, turned by its rotation
// (counter-clockwise in the drawing) and placed by its alignment: left, centred or right along
// the baseline at the text's position (left) or alignment point, and on the baseline or with the
// bottom, middle or top of its letters there; "middle" centres both ways on the alignment point;
// aligned and fitted texts start at the position. Texts under half a pixel high are left out.
//
// DrawPointMark(cr, point, view, rgb): a point entity (AcDbPoint) as a dot 4 pixels across.
#pragma once

#include <cairo.h>

#include "app/picture/view_transform.h"
#include "kafhost/drawing_snapshot.h"

namespace kafcad {

void DrawText(cairo_t* cr, const kafhost::EntityInfo& text, const ViewTransform& view,
              const kafhost::Rgb& rgb);
void DrawPointMark(cairo_t* cr, const kafhost::EntityInfo& point, const ViewTransform& view,
                   const kafhost::Rgb& rgb);

}  // namespace kafcad
