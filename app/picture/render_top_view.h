// RenderTopView(drawing, path, width, height): writes a PNG picture of model space seen from
// above (x right, y up), fitted to the drawing's extent (FitView) on a white ground:
//   subdivision meshes with vertex colours: filled, the colours shaded smoothly across each face;
//   subdivision meshes without them: filled in a light grey, their edges drawn in grey;
//   polyface meshes and 3D faces: their visible edges, dark blue;
//   polylines: their paths (arcs followed), red.
// Meshes are filled first, then edges and lines are drawn over them, each group in drawing order.
// Erased entities, entities on layers that are off or frozen, and paper space are left out
// (ShownEntities). When meshes are coloured by vertex (by elevation) and the picture is at least
// 320 x 200, a panel 110 pixels wide on the right holds the legend of their elevation colours
// (DrawElevationLegend), the view is fitted to the rest, and a scale bar (DrawScaleBar) sits in
// its bottom left corner. The file is replaced as a drawing is (replaceFile), so a failed write
// keeps an earlier picture. Throws std::runtime_error when the picture cannot be made or written.
#pragma once

#include <string>

#include "kafhost/drawing_snapshot.h"

namespace kafcad {

void RenderTopView(const kafhost::DrawingSnapshot& drawing, const std::string& path, int width,
                   int height);

}  // namespace kafcad
