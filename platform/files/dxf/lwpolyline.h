// LWPOLYLINE: a lightweight polyline of the drawing (AcDbPolyline), written and read back.
#pragma once

#include "kafhost/drawing_snapshot.h"
#include "platform/files/dxf/entity.h"

namespace kafhost {

void writeDxfLwPolyline(DxfWriter& writer, const DxfEntityHead& head, const EntityInfo& line);
void readDxfLwPolyline(DxfTagReader& reader, DxfReadEntity& entity);

}  // namespace kafhost
