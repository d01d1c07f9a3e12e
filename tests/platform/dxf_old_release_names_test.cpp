// Layers added to a drawing read from a DXF file older than AutoCAD 2007 are written as that
// release writes text: one byte per character up to U+00FF, \U+XXXX up to U+FFFF, and a layer
// with a character beyond is refused (on Windows too, where such a character is two wchar_t).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kafhost/drawing_dxf.h"

namespace {

kafhost::DrawingSnapshot ReadRelease2000File() {
    const std::string text =
        "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  0\nENDSEC\n"
        "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n  0\nLAYER\n  2\n0\n"
        "  0\nENDTAB\n  0\nENDSEC\n  0\nEOF\n";
    std::vector<std::string> notes;
    return kafhost::drawingFromDxf(text, notes);
}

TEST(DxfOldReleaseNames, AddedLayersAreWrittenAsBytesOrEscapesAndBeyondU_FFFFRefused) {
    kafhost::DrawingSnapshot drawing = ReadRelease2000File();
    drawing.layers.push_back({L"Gel\u00e4nde", false});
    drawing.layers.push_back({L"\u03a9-Fl\u00e4che", false});
    const std::string text = kafhost::drawingToDxf(drawing);
    EXPECT_NE(text.find("\n  2\nGel\xE4nde\n"), std::string::npos);
    EXPECT_NE(text.find("\n  2\n\\U+03A9-Fl\xE4"
                        "che\n"),
              std::string::npos);

    drawing.layers.push_back({L"A\U0001D538", false});
    try {
        kafhost::drawingToDxf(drawing);
        ADD_FAILURE() << "a layer beyond U+FFFF was written into a release 2000 file";
    } catch (const kafhost::DrawingFileError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "layer \"A\xF0\x9D\x94\xB8\" cannot be written into a DXF file of release "
                  "AC1015, which is not UTF-8");
    }
}

}  // namespace
