// LINE: a line of the drawing (AcDbLine), written and read back.
//
// readDxfLine(reader, entity): false for a LINE with data the drawing does not model (thickness,
//   extrusion, extended data, application groups): such a line stays in the file as it was, like
//   the entity kinds kafcad does not read.
#pragma once

#include "kafhost/drawing_snapshot.h"
#include "platform/files/dxf/entity.h"

namespace kafhost {

void writeDxfLine(DxfWriter& writer, const DxfEntityHead& head, const EntityInfo& line);
bool readDxfLine(DxfTagReader& reader, DxfReadEntity& entity);

}  // namespace kafhost
