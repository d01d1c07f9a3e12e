// ShownEntities(drawing): the entities a top view draws, in drawing order: those of model space
// that are not erased and lie on a layer that is shown. A layer that is off or frozen is held as
// hidden (LayerInfo::hidden) and its entities are left out; an entity on a layer the drawing does
// not list is shown.
#pragma once

#include <vector>

#include "kafhost/drawing_snapshot.h"

namespace kafcad {

std::vector<const kafhost::EntityInfo*> ShownEntities(const kafhost::DrawingSnapshot& drawing);

}  // namespace kafcad
