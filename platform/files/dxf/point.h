// POINT: a point of the drawing (AcDbPoint), written and read back.
#pragma once

#include "kafhost/drawing_snapshot.h"
#include "platform/files/dxf/entity.h"

namespace kafhost {

void writeDxfPoint(DxfWriter& writer, const DxfEntityHead& head, const EntityInfo& point);
void readDxfPoint(DxfTagReader& reader, DxfReadEntity& entity);

}  // namespace kafhost
