// JSON drawing files: the layout, what reads back, and what is refused with the place.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include "dxf_test_support.h"
#include "kafhost/drawing_json.h"
#include "support/files.h"

namespace {

using dxf_test::Entity;
using dxf_test::SampleDxfDrawing;
using kafhost::DrawingFileError;
using kafhost::DrawingSnapshot;
using kafhost::EntityInfo;
using kafhost::EntityKind;

// The message of the DrawingFileError that reading text gives.
std::string ReadError(const std::string& text) {
    try {
        kafhost::drawingFromJson(text);
    } catch (const DrawingFileError& error) {
        return error.what();
    }
    return "(read without error)";
}

std::string Entities(const std::string& entities) {
    return R"({"layers": [{"name": "0", "hidden": false}, {"name": "TIN"}], "entities": [)" +
           entities + "]}";
}

TEST(DrawingJson, EveryEntityTypeReadsBackExactly) {
    const DrawingSnapshot drawing = SampleDxfDrawing();
    const std::string text = kafhost::drawingToJson(drawing);
    const DrawingSnapshot back = kafhost::drawingFromJson(text);
    dxf_test::ExpectSameDrawing(back, drawing);
    EXPECT_TRUE(std::signbit(back.entities[0].vertices[0][2]));
    EXPECT_EQ(back.nextHandle, 0x101u);
    EXPECT_EQ(kafhost::drawingToJson(back), text);
}

TEST(DrawingJson, OneLayerOrEntityPerLineWithTheDocumentedFields) {
    DrawingSnapshot drawing;
    drawing.layers = {{L"0", false}};
    EntityInfo outline = Entity(L"2A", EntityKind::kPolyline);
    outline.points = {{0, 0}, {1.5, 0}};
    drawing.entities = {outline};
    EXPECT_EQ(
        kafhost::drawingToJson(drawing),
        "{\n"
        "  \"layers\": [\n"
        "    {\"name\":\"0\",\"hidden\":false}\n"
        "  ],\n"
        "  \"entities\": [\n"
        "    {\"handle\":\"2A\",\"type\":\"AcDbPolyline\",\"space\":\"model\",\"layer\":\"0\","
        "\"erased\":false,\"vertices\":[[0.0,0.0],[1.5,0.0]],\"bulges\":[0.0,0.0],"
        "\"elevation\":0.0,\"closed\":false}\n"
        "  ]\n"
        "}\n");
}

TEST(DrawingJson, OptionalFieldsTakeTheirDefaults) {
    const DrawingSnapshot drawing = kafhost::drawingFromJson(
        R"({"entities": [{"type": "AcDbPolyline", "vertices": [[0, 0], [1, 2]]}]})");
    ASSERT_EQ(drawing.layers.size(), 1u);
    EXPECT_EQ(drawing.layers[0].name, L"0");
    ASSERT_EQ(drawing.entities.size(), 1u);
    const EntityInfo& entity = drawing.entities[0];
    EXPECT_EQ(entity.handle, L"");  // the drawing gives the next one
    EXPECT_EQ(entity.space, L"model");
    EXPECT_EQ(entity.layer, L"0");
    EXPECT_FALSE(entity.erased);
    EXPECT_FALSE(entity.closed);
    EXPECT_EQ(entity.points[1][1], 2.0);
    EXPECT_EQ(drawing.nextHandle, 0u);
}

TEST(DrawingJson, MalformedDrawingsSayWhatAndWhere) {
    EXPECT_EQ(ReadError("{\"layers\": [\n  {\"name\": \"0\",}\n]}").substr(0, 34),
              "parse error at line 2, column 16: ");
    EXPECT_EQ(ReadError("[]"), "expected a drawing object {\"layers\": ...}");
    EXPECT_EQ(ReadError("1e400").substr(0, 34), "not a valid JSON drawing: [json.ex");
    EXPECT_EQ(ReadError(R"({"layers": [], "colour": 1})"), "unknown field \"colour\"");
    EXPECT_EQ(ReadError(R"({"layers": [{"name": "TIN"}]})"),
              "layers: the drawing has no layer \"0\"");
    EXPECT_EQ(ReadError(R"({"layers": [{"name": "0"}, {"name": "tin"}, {"name": "TIN"}]})"),
              "layers[2].name: layer \"TIN\" listed twice");
    EXPECT_EQ(ReadError(R"({"layers": [{"name": "0"}, {"name": "A\u0000B"}]})"),
              "layers[1].name: layer name with a NUL character");
    EXPECT_EQ(ReadError(Entities(R"({"type": "AcDbCircle"})")),
              "entities[0].type: unknown entity type \"AcDbCircle\"");
    EXPECT_EQ(ReadError(Entities(R"({"handle": "2A", "type": "AcDbSubDMesh",
        "vertices": [[0,0,0],[1,0,0],[0,1,0]], "faces": [[0,1,2],[2,1,3]]})")),
              "entities[0].faces[1][2]: vertex index 3 out of range (the mesh has 3 vertices)");
    EXPECT_EQ(ReadError(Entities(R"({"type": "AcDbSubDMesh", "vertices": [[0,0,0],[1,0]],
        "faces": []})")),
              "entities[0].vertices[1]: expected a list of 3 numbers");
    EXPECT_EQ(ReadError(Entities(R"({"type": "AcDbSubDMesh", "vertices": [[0,0,0]], "faces": [],
        "vertexColors": [[0,0,0],[1,1,1]]})")),
              "entities[0].vertexColors: 2 colours for 1 vertices");
    EXPECT_EQ(ReadError(Entities(R"({"type": "AcDbSubDMesh", "vertices": [[0,0,0]], "faces": [],
        "vertexColors": [[0,256,0]]})")),
              "entities[0].vertexColors[0][1]: colour channel outside 0 ... 255");
    EXPECT_EQ(ReadError(Entities(R"({"type": "AcDbPolyFaceMesh", "vertices": [[0,0,0]],
        "faces": [[1,1,1]]})")),
              "entities[0].faces[0]: expected a list of 4 vertex numbers");
    EXPECT_EQ(ReadError(Entities(R"({"type": "AcDbFace", "corners": [[0,0,0],[1,0,0],[0,1,0]]})")),
              "entities[0].corners: expected 4 corners");
    EXPECT_EQ(ReadError(Entities(R"({"type": "AcDbPolyline", "vertices": [[0,0]], "faces": []})")),
              "entities[0]: unknown field \"faces\"");
    EXPECT_EQ(ReadError(Entities(R"({"type": "AcDbPolyline", "vertices": [[0,0]], "layer": "X"})")),
              "entities[0].layer: no layer \"X\" in the drawing");
    EXPECT_EQ(ReadError(Entities(R"({"type": "AcDbPolyline", "vertices": [], "handle": "2G"})")),
              "entities[0].handle: not a hexadecimal handle");
    EXPECT_EQ(ReadError(Entities(R"({"type": "AcDbPolyline", "vertices": [], "handle": "2a"},
        {"type": "AcDbPolyline", "vertices": [], "handle": "2A"})")),
              "entities[1].handle: handle 2A used twice");
    EXPECT_EQ(ReadError(Entities(R"({"type": "AcDbPolyline", "vertices": [], "erased": 0})")),
              "entities[0].erased: expected true or false");
    EXPECT_EQ(ReadError(Entities(R"({"type": "AcDbSubDMesh", "vertices": [[0,0,0],[1,0,0],[0,1,0]],
        "faces": [[0,1,2.0]]})")),
              "entities[0].faces[0][2]: expected an integer");
}

TEST(DrawingFileTest, SavedFileLoadsBackAndSavesIdentically) {
    const TempFolder temp;
    const std::filesystem::path first = temp.Path("a.json");
    const std::filesystem::path second = temp.Path("b.json");
    kafhost::saveDrawingFile(SampleDxfDrawing(), first.string());
    kafhost::saveDrawingFile(kafhost::loadDrawingFile(first.string()), second.string());
    EXPECT_EQ(FileText(first), FileText(second));
    EXPECT_EQ(FileText(first), kafhost::drawingToJson(SampleDxfDrawing()));
    // Only the two files: no temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.Folder()), {}), 2);
}

TEST(DrawingFileTest, LoadErrorsNameTheFile) {
    const TempFolder temp;
    const std::filesystem::path missing = temp.Path("none.json");
    try {
        kafhost::loadDrawingFile(missing.string());
        ADD_FAILURE() << "a missing file loaded";
    } catch (const DrawingFileError& error) {
        EXPECT_EQ(std::string(error.what()),
                  missing.string() + ": cannot open: No such file or directory");
    }
    const std::filesystem::path bad = temp.Write("bad.json", R"({"layers": [{"name": 0}]})");
    try {
        kafhost::loadDrawingFile(bad.string());
        ADD_FAILURE() << "a malformed file loaded";
    } catch (const DrawingFileError& error) {
        EXPECT_EQ(std::string(error.what()), bad.string() + ": layers[0].name: expected a string");
    }
}

}  // namespace
