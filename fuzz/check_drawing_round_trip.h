// CheckDrawingRoundTrip(host, folder): the current drawing must save and load again, as JSON
// and as DXF drawing files (written into folder). Each format is saved, loaded back into the
// host, and the file text of what the host then holds must equal the saved file, except that a
// JSON load may raise the next handle (never lower it). A save may refuse only what the format
// cannot hold: numbers that are not finite (both formats) and layer names that are empty or hold a
// line break or one of < > / \ " : ; ? * | = ` (DXF). Any other failure, and a loaded drawing the
// host refuses, ends in FuzzFailure. The host holds the drawing read back from DXF afterwards.
#pragma once

#include "fuzz/scratch_folder.h"
#include "kafhost/host.h"

void CheckDrawingRoundTrip(kafhost::Host& host, const TempFolder& folder);
