// Fuzz target json_drawing: the input as a JSON drawing file read by loadDrawingFile; a drawing
// it reads and the host takes must save and load again (LoadFuzzedDrawing).
#include <string>

#include "fuzz/fuzz_target.h"
#include "fuzz/load_fuzzed_drawing.h"
#include "kafhost/drawing_json.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    InitializeDrawingFileTarget();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    LoadFuzzedDrawing(data, size, "drawing_in.json",
                      [](const std::string& path) { return kafhost::loadDrawingFile(path); });
    return 0;
}
