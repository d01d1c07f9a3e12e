// RenderTopView(drawing, path, width, height): writes a PNG picture of model space seen from
// above (x right, y up), fitted to the drawing's extent (FitView) on a white ground:
//   subdivision meshes with vertex colours: filled, the colours shaded smoothly across each face;
//   subdivision meshes without them: filled in a light grey, their edges drawn in grey;
//   polyface meshes and 3D faces: their visible edges, dark blue;
//   polylines: their paths (arcs followed), red, as wide as their layer's lineweight;
//   points and texts: a dot and the text (DrawText, DrawPointMark), near black.
// An entity of a colour of its own (an index 1 ... 255, 7 drawn black, or a true colour) is
// drawn in it; others on a layer of another colour than the default (7) take the layer's colour
// instead (LayerColour). Meshes are filled first, then edges, lines, points and texts are drawn
// over them, each group in drawing order. Erased entities, entities on layers that are off or
// frozen, and paper space are left out (ShownEntities). When meshes are coloured by vertex (by
// elevation) and the picture is at least 320 x 200, a panel 110 pixels wide on the right holds the
// legend of their elevation colours (DrawElevationLegend) and the view is fitted to the rest. Every
// picture at least 320 x 200 has a scale bar (DrawScaleBar) in the bottom left corner of its view.
// The file is replaced as a drawing is (replaceFile), so a failed write keeps an earlier picture.
// Throws std::runtime_error when the picture cannot be made or written.
#pragma once

#include <string>

#include "kafhost/drawing_snapshot.h"

namespace kafcad {

void RenderTopView(const kafhost::DrawingSnapshot& drawing, const std::string& path, int width,
                   int height);

}  // namespace kafcad
