// DrawingExtent(drawing): the x-y bounding box of what a top view of model space shows: the
// vertices of meshes, the corners of 3D faces and the paths of polylines (arcs included), of
// every entity the view shows (ShownEntities). empty when there is none.
#pragma once

#include "kafhost/drawing_snapshot.h"

namespace kafcad {

struct Extent {
    bool empty = true;
    double minX = 0.0;
    double minY = 0.0;
    double maxX = 0.0;
    double maxY = 0.0;

    void Add(double x, double y);
};

Extent DrawingExtent(const kafhost::DrawingSnapshot& drawing);

}  // namespace kafcad
