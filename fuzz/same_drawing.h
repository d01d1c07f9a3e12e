// SameDrawing(a, b): true when two drawing snapshots hold the same layers, entities and next
// handle; numbers are compared by their bits, so NaN equals the same NaN and -0.0 differs from
// 0.0.
#pragma once

#include "kafhost/drawing_snapshot.h"

bool SameDrawing(const kafhost::DrawingSnapshot& a, const kafhost::DrawingSnapshot& b);
