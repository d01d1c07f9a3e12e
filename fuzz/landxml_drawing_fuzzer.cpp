// Fuzz target landxml_drawing: the input as a LandXML file read by loadLandXmlDrawingFile; a
// drawing it reads must write as LandXML and read back to the same meshes, and a drawing the host
// takes must save and load again (LoadFuzzedDrawing).
#include <string>
#include <vector>

#include "fuzz/fuzz_failure.h"
#include "fuzz/fuzz_target.h"
#include "fuzz/load_fuzzed_drawing.h"
#include "kafhost/drawing_landxml.h"

namespace {

void CheckLandXmlRoundTrip(const kafhost::DrawingSnapshot& drawing) {
    std::vector<std::string> notes;
    std::string text;
    try {
        text = kafhost::drawingToLandXml(drawing, notes);
    } catch (const kafhost::DrawingFileError& error) {
        FuzzFailure(std::string("a LandXML drawing does not write as LandXML: ") + error.what());
    }
    kafhost::DrawingSnapshot back;
    try {
        back = kafhost::drawingFromLandXml(text, notes);
    } catch (const kafhost::DrawingFileError& error) {
        FuzzFailure(std::string("written LandXML does not read back: ") + error.what());
    }
    if (back.entities.size() != drawing.entities.size()) {
        FuzzFailure("LandXML read back holds another number of meshes");
    }
    for (std::size_t i = 0; i < back.entities.size(); ++i) {
        if (back.entities[i].vertices != drawing.entities[i].vertices ||
            back.entities[i].faces != drawing.entities[i].faces) {
            FuzzFailure("LandXML read back holds other vertices or faces");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    InitializeDrawingFileTarget();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    LoadFuzzedDrawing(data, size, "drawing_in.xml", [](const std::string& path) {
        std::vector<std::string> notes;
        kafhost::DrawingSnapshot drawing = kafhost::loadLandXmlDrawingFile(path, notes);
        CheckLandXmlRoundTrip(drawing);
        return drawing;
    });
    return 0;
}
