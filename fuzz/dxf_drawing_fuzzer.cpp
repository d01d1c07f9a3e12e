// Fuzz target dxf_drawing: the input as a DXF drawing file read by loadDxfDrawingFile; a drawing
// it reads and the host takes must save and load again (LoadFuzzedDrawing).
#include <string>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "fuzz/load_fuzzed_drawing.h"
#include "kafhost/drawing_dxf.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    InitializeDrawingFileTarget();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    LoadFuzzedDrawing(data, size, "drawing_in.dxf", [](const std::string& path) {
        std::vector<std::string> notes;
        return kafhost::loadDxfDrawingFile(path, notes);
    });
    return 0;
}
