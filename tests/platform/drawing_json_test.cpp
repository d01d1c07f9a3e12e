#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>

#include "kafhost/drawing_json.h"

namespace {

namespace fs = std::filesystem;
using kafhost::DrawingFileError;
using kafhost::DrawingSnapshot;
using kafhost::EntityInfo;

EntityInfo Entity(const std::wstring& handle, const std::wstring& type) {
    EntityInfo entity;
    entity.handle = handle;
    entity.type = type;
    return entity;
}

// One entity of every type, with numbers that only read back when written in full.
DrawingSnapshot SampleDrawing() {
    DrawingSnapshot drawing;
    drawing.layers = {{L"0", false}, {L"TIN", false}, {L"Gel\u00e4nde", true}};

    EntityInfo subd = Entity(L"2A", L"AcDbSubDMesh");
    subd.layer = L"TIN";
    subd.vertices = {{0.1, 1.0 / 3.0, -0.0}, {1e-300, 2e300, 5.0}, {123456.789, -7.25, 1e21}};
    subd.faces = {{0, 1, 2}};
    subd.vertexColors = {{255, 0, 0}, {0, 128, 0}, {0, 0, 255}};
    EntityInfo pface = Entity(L"2B", L"AcDbPolyFaceMesh");
    pface.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    pface.faces = {{1, 2, -3, 0}};
    pface.erased = true;
    EntityInfo face = Entity(L"FF", L"AcDbFace");
    face.space = L"paper";
    face.corners = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {1, 1, 0}};
    face.edgeVisible = {true, false, true, true};
    EntityInfo outline = Entity(L"100", L"AcDbPolyline");
    outline.layer = L"Gel\u00e4nde";
    outline.points = {{0, 0}, {10, 0}, {10, 10}};
    outline.bulges = {0.0, 0.5, 0.0};
    outline.elevation = 2.5;
    outline.closed = true;
    drawing.entities = {subd, pface, face, outline};
    drawing.nextHandle = 0x101;
    return drawing;
}

void ExpectSameEntity(const EntityInfo& a, const EntityInfo& b) {
    EXPECT_EQ(a.handle, b.handle);
    EXPECT_EQ(a.type, b.type);
    EXPECT_EQ(a.space, b.space);
    EXPECT_EQ(a.layer, b.layer);
    EXPECT_EQ(a.erased, b.erased);
    EXPECT_EQ(a.vertices, b.vertices);
    EXPECT_EQ(a.faces, b.faces);
    EXPECT_EQ(a.vertexColors, b.vertexColors);
    EXPECT_EQ(a.subDLevel, b.subDLevel);
    EXPECT_EQ(a.corners, b.corners);
    EXPECT_EQ(a.edgeVisible, b.edgeVisible);
    EXPECT_EQ(a.points, b.points);
    EXPECT_EQ(a.bulges, b.bulges);
    EXPECT_EQ(a.elevation, b.elevation);
    EXPECT_EQ(a.closed, b.closed);
}

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

std::string FileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class DrawingFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("kaf_drawing_json_" + std::to_string(::getpid()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    fs::path folder_;
};

TEST(DrawingJson, EveryEntityTypeReadsBackExactly) {
    const DrawingSnapshot drawing = SampleDrawing();
    const std::string text = kafhost::drawingToJson(drawing);
    const DrawingSnapshot back = kafhost::drawingFromJson(text);
    ASSERT_EQ(back.layers.size(), 3u);
    EXPECT_EQ(back.layers[2].name, L"Gel\u00e4nde");
    EXPECT_TRUE(back.layers[2].hidden);
    ASSERT_EQ(back.entities.size(), drawing.entities.size());
    for (std::size_t i = 0; i < back.entities.size(); ++i) {
        ExpectSameEntity(back.entities[i], drawing.entities[i]);
    }
    EXPECT_TRUE(std::signbit(back.entities[0].vertices[0][2]));
    EXPECT_EQ(back.nextHandle, 0x101u);
    EXPECT_EQ(kafhost::drawingToJson(back), text);
}

TEST(DrawingJson, OneLayerOrEntityPerLineWithTheDocumentedFields) {
    DrawingSnapshot drawing;
    drawing.layers = {{L"0", false}};
    EntityInfo outline = Entity(L"2A", L"AcDbPolyline");
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

TEST_F(DrawingFileTest, SavedFileLoadsBackAndSavesIdentically) {
    const fs::path first = folder_ / "a.json";
    const fs::path second = folder_ / "b.json";
    kafhost::saveDrawingFile(SampleDrawing(), first.string());
    kafhost::saveDrawingFile(kafhost::loadDrawingFile(first.string()), second.string());
    EXPECT_EQ(FileText(first), FileText(second));
    EXPECT_EQ(FileText(first), kafhost::drawingToJson(SampleDrawing()));
    // Only the two files: no temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 2);
}

TEST_F(DrawingFileTest, FailedSaveLeavesTheEarlierFileIntact) {
    const fs::path path = folder_ / "drawing.json";
    kafhost::saveDrawingFile(SampleDrawing(), path.string());
    const std::string before = FileText(path);

    DrawingSnapshot broken = SampleDrawing();
    broken.entities[0].vertices[1][2] = std::numeric_limits<double>::quiet_NaN();
    try {
        kafhost::saveDrawingFile(broken, path.string());
        ADD_FAILURE() << "a NaN coordinate was saved";
    } catch (const DrawingFileError& error) {
        EXPECT_EQ(std::string(error.what()),
                  path.string() + ": entity 2A vertices: not a finite number");
    }
    EXPECT_EQ(FileText(path), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);

    // A folder that does not exist.
    const fs::path nowhere = folder_ / "missing" / "drawing.json";
    EXPECT_THROW(kafhost::saveDrawingFile(SampleDrawing(), nowhere.string()), DrawingFileError);
    EXPECT_FALSE(fs::exists(nowhere));
}

TEST_F(DrawingFileTest, LoadErrorsNameTheFile) {
    const fs::path missing = folder_ / "none.json";
    try {
        kafhost::loadDrawingFile(missing.string());
        ADD_FAILURE() << "a missing file loaded";
    } catch (const DrawingFileError& error) {
        EXPECT_EQ(std::string(error.what()),
                  missing.string() + ": cannot open: No such file or directory");
    }
    const fs::path bad = folder_ / "bad.json";
    std::ofstream(bad) << R"({"layers": [{"name": 0}]})";
    try {
        kafhost::loadDrawingFile(bad.string());
        ADD_FAILURE() << "a malformed file loaded";
    } catch (const DrawingFileError& error) {
        EXPECT_EQ(std::string(error.what()), bad.string() + ": layers[0].name: expected a string");
    }
}

}  // namespace
