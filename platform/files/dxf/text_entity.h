// TEXT: a single line of text of the drawing (AcDbText), written and read back. The reader
// leaves the string and the style name undecoded in DxfReadEntity (textValue, textStyleValue):
// their encoding is the file's, known once the whole file is read.
#pragma once

#include "kafhost/drawing_snapshot.h"
#include "platform/files/dxf/entity.h"

namespace kafhost {

void writeDxfText(DxfWriter& writer, const DxfEntityHead& head, const EntityInfo& text);
void readDxfText(DxfTagReader& reader, DxfReadEntity& entity);

}  // namespace kafhost
