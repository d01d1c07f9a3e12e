// 3DFACE: a 3D face of the drawing (AcDbFace), written and read back.
#pragma once

#include "kafhost/drawing_snapshot.h"
#include "platform/files/dxf/entity.h"

namespace kafhost {

void writeDxf3DFace(DxfWriter& writer, const DxfEntityHead& head, const EntityInfo& face);
void readDxf3DFace(DxfTagReader& reader, DxfReadEntity& entity);

}  // namespace kafhost
