// DrawScaleBar(cr, view, viewWidth, height): a scale bar in the bottom left corner of a top view
// viewWidth pixels wide: a round length (1, 2 or 5 times a power of ten drawing units, about a
// quarter of the view's width) as a bar of four alternating black and white parts on a white
// ground, labelled "0" and the length with the unit "m".
#pragma once

#include <cairo.h>

#include "app/picture/view_transform.h"

namespace kafcad {

void DrawScaleBar(cairo_t* cr, const ViewTransform& view, double viewWidth, double height);

}  // namespace kafcad
