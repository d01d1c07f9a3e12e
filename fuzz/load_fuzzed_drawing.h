// LoadFuzzedDrawing(data, size, name, load): the shared body of the drawing-file targets. Writes
// the input as the file name in the target's scratch folder and reads it with load (a loader of
// drawing files that throws DrawingFileError for what it cannot read). When it reads, the host
// takes the drawing into the fresh drawing (it may refuse, with a reason); when the host
// took it, the drawing must save and load again (CheckDrawingRoundTrip). Inputs longer than
// kMaxDrawingFileBytes are cut there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "kafhost/drawing_snapshot.h"

constexpr std::size_t kMaxDrawingFileBytes = 1 << 20;

using DrawingFileLoader = std::function<kafhost::DrawingSnapshot(const std::string& path)>;

void InitializeDrawingFileTarget();
void LoadFuzzedDrawing(const std::uint8_t* data, std::size_t size, const std::string& name,
                       const DrawingFileLoader& load);
