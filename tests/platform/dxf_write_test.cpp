// DXF drawing files as written: each entity kind's tags, the layers, the header, handles, and
// what cannot be written.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "dxf_test_support.h"
#include "kafhost/drawing_dxf.h"
#include "platform/files/dxf/writer.h"

namespace {

using dxf_test::DxfTags;
using dxf_test::EntityHead;
using dxf_test::SampleDxfDrawing;
using kafhost::DrawingFileError;
using kafhost::DrawingSnapshot;
using kafhost::EntityInfo;
using kafhost::EntityKind;

// The text of the object that starts with "0 kind, 5 handle", up to the next object.
std::string ObjectText(const std::string& text, const std::string& kind,
                       const std::string& handle) {
    const std::string start = DxfTags({{0, kind}, {5, handle}});
    const std::size_t begin = text.find(start);
    if (begin == std::string::npos) {
        return "(no " + kind + " " + handle + ")";
    }
    const std::size_t end = text.find("\n  0\n", begin + start.size());
    return text.substr(begin, end + 1 - begin);
}

// The text from "0 SECTION, 2 name" to its ENDSEC, both included.
std::string SectionText(const std::string& text, const std::string& name) {
    const std::size_t begin = text.find(DxfTags({{0, "SECTION"}, {2, name}}));
    const std::string end = DxfTags({{0, "ENDSEC"}});
    const std::size_t finish = text.find(end, begin);
    return text.substr(begin, finish + end.size() - begin);
}

std::string WriteError(const DrawingSnapshot& drawing) {
    try {
        kafhost::drawingToDxf(drawing);
    } catch (const DrawingFileError& error) {
        return error.what();
    }
    return "(written)";
}

TEST(DxfWrite, MeshKeepsVerticesInFullAndItsColoursInAnExtensionDictionary) {
    const std::string text = kafhost::drawingToDxf(SampleDxfDrawing());
    EXPECT_EQ(ObjectText(text, "MESH", "2A"),
              DxfTags({{0, "MESH"},         {5, "2A"},          {102, "{ACAD_XDICTIONARY"},
                       {360, "104"},        {102, "}"},         {330, "2"},
                       {100, "AcDbEntity"}, {8, "TIN"},         {100, "AcDbSubDMesh"},
                       {71, "2"},           {72, "0"},          {91, "1"},
                       {92, "3"},           {10, "0.1"},        {20, "0.3333333333333333"},
                       {30, "-0"},          {10, "1e-300"},     {20, "2e+300"},
                       {30, "5"},           {10, "123456.789"}, {20, "-7.25"},
                       {30, "1e+21"},       {93, "4"},          {90, "3"},
                       {90, "0"},           {90, "1"},          {90, "2"},
                       {94, "0"},           {95, "0"},          {90, "0"}}));
    // The dictionary and its record: each owned by the object before, which it also names as its
    // reactor.
    const auto owned = [](const std::string& kind, const std::string& handle,
                          const std::string& owner, const std::string& subclass) {
        return DxfTags({{0, kind},
                        {5, handle},
                        {102, "{ACAD_REACTORS"},
                        {330, owner},
                        {102, "}"},
                        {330, owner},
                        {100, subclass}});
    };
    EXPECT_EQ(ObjectText(text, "DICTIONARY", "104"),
              owned("DICTIONARY", "104", "2A", "AcDbDictionary") +
                  DxfTags({{280, "1"}, {281, "1"}, {3, "KAF_VERTEX_COLORS"}, {360, "105"}}));
    EXPECT_EQ(
        ObjectText(text, "XRECORD", "105"),
        owned("XRECORD", "105", "104", "AcDbXrecord") +
            DxfTags({{280, "1"}, {90, "3"}, {420, "16711680"}, {420, "32768"}, {420, "66303"}}));
}

TEST(DxfWrite, ColoursOfALargeMeshAreWrittenEveryOneInOrder) {
    // More colours than one block of the writer holds, and a part block after the full ones.
    DrawingSnapshot drawing = SampleDxfDrawing();
    EntityInfo& mesh = drawing.entities[0];
    mesh.vertices.clear();
    mesh.vertexColours.clear();
    std::vector<std::pair<int, std::string>> expected = {{280, "1"}, {90, "9000"}};
    for (int i = 0; i < 9000; ++i) {
        mesh.vertices.push_back({i * 1.0, 0.0, 0.0});
        mesh.vertexColours.push_back({i % 256, (i / 7) % 256, 255 - i % 256});
        expected.emplace_back(
            420, std::to_string((i % 256) << 16 | ((i / 7) % 256) << 8 | (255 - i % 256)));
    }
    const std::string text = kafhost::drawingToDxf(drawing);
    const std::string record = ObjectText(text, "XRECORD", "105");
    const std::string colours = DxfTags(expected);
    ASSERT_GE(record.size(), colours.size());
    EXPECT_EQ(record.substr(record.size() - colours.size()), colours);

    mesh.vertexColours[8999][1] = 256;
    EXPECT_EQ(WriteError(drawing), "a colour channel is not 0 to 255");
}

TEST(DxfWrite, MeshWithoutColoursHasNoExtensionDictionary) {
    DrawingSnapshot drawing;
    drawing.layers = {{L"0", false}};
    EntityInfo mesh;
    mesh.handle = L"20";
    mesh.type = EntityKind::kSubDMesh;
    mesh.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    mesh.faces = {{0, 1, 2, 3}};
    drawing.entities = {mesh};
    const std::string text = kafhost::drawingToDxf(drawing);
    EXPECT_NE(text.find(EntityHead("MESH", "20", "2", "0", "AcDbSubDMesh")), std::string::npos);
    EXPECT_NE(text.find(DxfTags(
                  {{93, "5"}, {90, "4"}, {90, "0"}, {90, "1"}, {90, "2"}, {90, "3"}, {94, "0"}})),
              std::string::npos);
    EXPECT_EQ(text.find("XRECORD"), std::string::npos);
    EXPECT_EQ(text.find("KAF_VERTEX_COLORS"), std::string::npos);
}

TEST(DxfWrite, PolyfaceMeshHasVertexAndFaceRecordsThenSeqendEachWithItsOwnHandle) {
    DrawingSnapshot drawing;
    drawing.layers = {{L"0", false}, {L"TIN", false}};
    EntityInfo mesh;
    mesh.handle = L"30";
    mesh.type = EntityKind::kPolyFaceMesh;
    mesh.layer = L"TIN";
    mesh.vertices = {{0, 0, 1}, {2, 0, 1}, {0, 2, 1.5}};
    mesh.faces = {{1, -2, 3, 0}};
    drawing.entities = {mesh};
    const std::string text = kafhost::drawingToDxf(drawing);
    // Handles: layers 31 and 32, then the vertices 33 to 35, the face record 36 and SEQEND 37.
    const auto vertex = [](const std::string& handle, const std::string& x, const std::string& y,
                           const std::string& z) {
        return EntityHead("VERTEX", handle, "30", "TIN", "AcDbVertex") +
               DxfTags({{100, "AcDbPolyFaceMeshVertex"}, {10, x}, {20, y}, {30, z}, {70, "192"}});
    };
    const std::string expected =
        EntityHead("POLYLINE", "30", "2", "TIN", "AcDbPolyFaceMesh") +
        DxfTags({{66, "1"}, {10, "0"}, {20, "0"}, {30, "0"}, {70, "64"}, {71, "3"}, {72, "1"}}) +
        vertex("33", "0", "0", "1") + vertex("34", "2", "0", "1") + vertex("35", "0", "2", "1.5") +
        EntityHead("VERTEX", "36", "30", "TIN", "AcDbFaceRecord") +
        DxfTags({{10, "0"}, {20, "0"}, {30, "0"}, {70, "128"}, {71, "1"}, {72, "-2"}, {73, "3"}}) +
        DxfTags({{0, "SEQEND"}, {5, "37"}, {330, "30"}, {100, "AcDbEntity"}, {8, "TIN"}});
    const std::size_t begin = text.find(DxfTags({{0, "POLYLINE"}}));
    ASSERT_NE(begin, std::string::npos);
    EXPECT_EQ(text.substr(begin, expected.size()), expected);
    const std::string sectionEnd = DxfTags({{0, "ENDSEC"}});
    EXPECT_EQ(text.substr(begin + expected.size(), sectionEnd.size()), sectionEnd);
    EXPECT_NE(text.find(DxfTags({{9, "$HANDSEED"}, {5, "38"}})), std::string::npos);
}

TEST(DxfWrite, FaceInPaperSpaceHasFlag67TheSpaceAsOwnerAndItsHiddenEdges) {
    const std::string text = kafhost::drawingToDxf(SampleDxfDrawing());
    EXPECT_EQ(
        ObjectText(text, "3DFACE", "FF"),
        DxfTags({{0, "3DFACE"}, {5, "FF"},         {330, "3"}, {100, "AcDbEntity"}, {67, "1"},
                 {8, "0"},      {100, "AcDbFace"}, {10, "0"},  {20, "0"},           {30, "0"},
                 {11, "1"},     {21, "0"},         {31, "0"},  {12, "1"},           {22, "1"},
                 {32, "0"},     {13, "1"},         {23, "1"},  {33, "0"},           {70, "2"}}));
}

TEST(DxfWrite, PolylineHasItsElevationClosedFlagAndBulgesOtherThanZero) {
    DrawingSnapshot drawing = SampleDxfDrawing();
    drawing.entities[4].layer = L"gel\u00e4NDE";
    const std::string text = kafhost::drawingToDxf(drawing);
    // The layer table's spelling is written.
    EXPECT_EQ(ObjectText(text, "LWPOLYLINE", "100"),
              EntityHead("LWPOLYLINE", "100", "2", "Gel\xC3\xA4nde", "AcDbPolyline") +
                  DxfTags({{90, "3"},
                           {70, "1"},
                           {38, "2.5"},
                           {10, "0"},
                           {20, "0"},
                           {10, "10"},
                           {20, "0"},
                           {42, "0.5"},
                           {10, "10"},
                           {20, "10"}}));
}

TEST(DxfWrite, EntitiesAreModelSpaceFirstAndErasedOnesAreLeftOut) {
    const std::string entities = SectionText(kafhost::drawingToDxf(SampleDxfDrawing()), "ENTITIES");
    const std::size_t mesh = entities.find(DxfTags({{0, "MESH"}, {5, "2A"}}));
    const std::size_t pface = entities.find(DxfTags({{0, "POLYLINE"}, {5, "2B"}}));
    const std::size_t outline = entities.find(DxfTags({{0, "LWPOLYLINE"}, {5, "100"}}));
    const std::size_t face = entities.find(DxfTags({{0, "3DFACE"}, {5, "FF"}}));
    EXPECT_LT(mesh, pface);
    EXPECT_LT(pface, outline);
    EXPECT_LT(outline, face);
    EXPECT_NE(face, std::string::npos);
    EXPECT_EQ(entities.find("\n2C\n"), std::string::npos);
}

TEST(DxfWrite, EveryLayerIsWrittenAndHiddenOnesAreOff) {
    const std::string tables = SectionText(kafhost::drawingToDxf(SampleDxfDrawing()), "TABLES");
    const std::string layerTable = DxfTags(
        {{0, "TABLE"}, {2, "LAYER"}, {5, "6"}, {330, "0"}, {100, "AcDbSymbolTable"}, {70, "3"}});
    const auto layer = [](const std::string& handle, const std::string& name,
                          const std::string& colour) {
        return DxfTags({{0, "LAYER"},
                        {5, handle},
                        {330, "6"},
                        {100, "AcDbSymbolTableRecord"},
                        {100, "AcDbLayerTableRecord"},
                        {2, name},
                        {70, "0"},
                        {62, colour},
                        {6, "Continuous"},
                        {370, "-3"}});
    };
    EXPECT_NE(tables.find(layerTable + layer("101", "0", "7") + layer("102", "TIN", "7") +
                          layer("103", "Gel\xC3\xA4nde", "-7") + DxfTags({{0, "ENDTAB"}})),
              std::string::npos)
        << tables;
}

TEST(DxfWrite, TablesBlocksAndObjectsCadProgramsExpect) {
    const std::string text =
        kafhost::drawingToDxf(DrawingSnapshot{{{L"0", false}}, {}, 0, nullptr});
    for (const char* table :
         {"VPORT", "LTYPE", "LAYER", "STYLE", "VIEW", "UCS", "APPID", "DIMSTYLE", "BLOCK_RECORD"}) {
        EXPECT_NE(text.find(DxfTags({{0, "TABLE"}, {2, table}})), std::string::npos) << table;
    }
    for (const char* name :
         {"*Active", "ByBlock", "ByLayer", "Continuous", "Standard", "ACAD", "*Model_Space",
          "*Paper_Space", "ACAD_GROUP", "ACAD_LAYOUT", "Model", "Layout1"}) {
        EXPECT_NE(text.find("\n" + std::string(name) + "\n"), std::string::npos) << name;
    }
    // The block records keep the stand-in host's handles 2 and 3.
    EXPECT_NE(text.find(DxfTags({{0, "BLOCK_RECORD"}, {5, "2"}, {330, "1"}})), std::string::npos);
    EXPECT_NE(text.find(DxfTags({{0, "BLOCK_RECORD"}, {5, "3"}, {330, "1"}})), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 8), DxfTags({{0, "EOF"}}));
}

TEST(DxfWrite, HeaderNamesTheReleaseTheHandleSeedUnitsAndModelExtents) {
    const std::string header = SectionText(kafhost::drawingToDxf(SampleDxfDrawing()), "HEADER");
    EXPECT_EQ(header,
              DxfTags({{0, "SECTION"},      {2, "HEADER"},    {9, "$ACADVER"},  {1, "AC1024"},
                       {9, "$DWGCODEPAGE"}, {3, "ANSI_1252"}, {9, "$INSBASE"},  {10, "0"},
                       {20, "0"},           {30, "0"},        {9, "$EXTMIN"},   {10, "0"},
                       {20, "-7.25"},       {30, "-0"},       {9, "$EXTMAX"},   {10, "123456.789"},
                       {20, "2e+300"},      {30, "1e+21"},    {9, "$HANDSEED"}, {5, "10D"},
                       {9, "$INSUNITS"},    {70, "0"},        {0, "ENDSEC"}}));
}

// A mesh whose faces are the drawing's own face list (per face its count, then its indices) is
// written as the same face list as faces held one by one, across more items than one write
// takes; a list that names a missing vertex, holds a face of fewer than 3 vertices or ends inside
// a face is refused before any of it is written.
TEST(DxfWrite, FaceListsInPlaceAreWrittenAsFacesOneByOne) {
    DrawingSnapshot byFace = SampleDxfDrawing();
    EntityInfo& mesh = byFace.entities[0];
    mesh.vertexColours.clear();
    for (int k = 0; k < 3; ++k) {
        mesh.vertices.push_back({k + 0.5, 2.0 * k, 1.0});
    }
    mesh.faces.clear();
    std::vector<int> list;
    for (int f = 0; f < 7000; ++f) {
        const std::vector<int> face = f % 3 == 0 ? std::vector<int>{f % 6, 5 - f % 6, 2, 3}
                                                 : std::vector<int>{f % 6, (f + 1) % 6, 4};
        mesh.faces.push_back(face);
        list.push_back(static_cast<int>(face.size()));
        list.insert(list.end(), face.begin(), face.end());
    }
    DrawingSnapshot inPlace = byFace;
    inPlace.entities[0].faces.clear();
    inPlace.entities[0].faceList = list.data();
    inPlace.entities[0].faceListSize = list.size();
    ASSERT_GT(list.size(), 16384u);
    const std::string expected = kafhost::drawingToDxf(byFace);
    EXPECT_NE(expected.find(" 93\n" + std::to_string(list.size()) + "\n 90\n4\n 90\n0\n 90\n5\n"),
              std::string::npos);
    EXPECT_EQ(kafhost::drawingToDxf(inPlace), expected);

    std::vector<int> bad = list;
    bad[2] = 6;
    inPlace.entities[0].faceList = bad.data();
    EXPECT_EQ(WriteError(inPlace), "entity 2A: a mesh face names vertex 6, the mesh has 6");
    bad = {3, 0, 1, 2, 2, 0, 1};
    inPlace.entities[0].faceList = bad.data();
    inPlace.entities[0].faceListSize = bad.size();
    EXPECT_EQ(WriteError(inPlace), "entity 2A: a mesh face needs at least 3 vertices");
    bad = {3, 0, 1, 2, 3, 0, 1};
    inPlace.entities[0].faceListSize = bad.size();
    inPlace.entities[0].faceList = bad.data();
    EXPECT_EQ(WriteError(inPlace), "entity 2A: a mesh face runs past the end of the face list");
}

TEST(DxfWrite, IntegerListsReadAsToCharsWritesEachValue) {
    // Every value up to past 99,999 and around zero, the extremes and the edges of each length,
    // in order and then shuffled, so that every length follows every other.
    std::vector<int> values;
    for (int value = -1000; value <= 120000; ++value) {
        values.push_back(value);
    }
    for (int value : {std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), 999999,
                      1000000, 2147483639, -99999, -100000}) {
        values.push_back(value);
    }
    std::vector<int> shuffled = values;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(27));
    values.insert(values.end(), shuffled.begin(), shuffled.end());
    for (int code : {8, 90, 91, 1071}) {
        kafhost::DxfWriter writer;
        writer.integers(code, values.data(), values.size());
        std::string expected;
        const std::string codeLine = DxfTags({{code, ""}}).substr(0, code >= 1000 ? 5 : 4);
        for (int value : values) {
            char digits[16];
            char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
            expected += codeLine;
            expected.append(digits, end);
            expected += '\n';
        }
        ASSERT_EQ(writer.text().size(), expected.size()) << code;
        EXPECT_TRUE(writer.text() == expected) << code;
    }
}

TEST(DxfWrite, FixedObjectsStepAroundEntityHandlesAndEverythingElseLiesAbove) {
    DrawingSnapshot drawing = SampleDxfDrawing();
    drawing.entities[0].handle = L"4";  // the mesh takes a handle the tables would have had
    const std::string text = kafhost::drawingToDxf(drawing);
    EXPECT_NE(text.find(DxfTags({{0, "TABLE"}, {2, "VPORT"}, {5, "5"}})), std::string::npos);
    EXPECT_NE(text.find(DxfTags({{0, "MESH"}, {5, "4"}})), std::string::npos);
    EXPECT_NE(text.find(DxfTags({{9, "$HANDSEED"}, {5, "10D"}})), std::string::npos);
}

TEST(DxfWrite, WhatDxfCannotHoldIsRefusedNamingTheEntity) {
    DrawingSnapshot drawing = SampleDxfDrawing();
    drawing.entities[1].vertices[2][1] = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(WriteError(drawing), "entity 2B: not a finite number");

    for (std::size_t axis = 0; axis < 3; ++axis) {
        drawing = SampleDxfDrawing();
        drawing.entities[0].vertices[1][axis] = -std::numeric_limits<double>::infinity();
        EXPECT_EQ(WriteError(drawing), "entity 2A: not a finite number") << "axis " << axis;
    }

    drawing = SampleDxfDrawing();
    drawing.entities[4].bulges[1] = std::numeric_limits<double>::infinity();
    EXPECT_EQ(WriteError(drawing), "entity 100: not a finite number");

    drawing = SampleDxfDrawing();
    drawing.entities[0].faces[0][2] = 3;
    EXPECT_EQ(WriteError(drawing), "entity 2A: a mesh face names vertex 3, the mesh has 3");

    drawing = SampleDxfDrawing();
    drawing.entities[1].faces[1][1] = -5;
    EXPECT_EQ(WriteError(drawing), "entity 2B: a face record names vertex -5, the mesh has 4");

    drawing = SampleDxfDrawing();
    drawing.entities[0].vertexColours.pop_back();
    EXPECT_EQ(WriteError(drawing), "entity 2A: a mesh needs one colour per vertex or none");

    drawing = SampleDxfDrawing();
    drawing.entities[3].layer = L"Missing";
    EXPECT_EQ(WriteError(drawing), "entity FF: no layer \"Missing\" in the drawing");

    drawing = SampleDxfDrawing();
    drawing.layers.push_back({L"Two\nlines", false});
    EXPECT_EQ(WriteError(drawing),
              "layer \"Two\nlines\" holds a line break, which DXF names cannot hold");

    drawing = SampleDxfDrawing();
    drawing.layers.push_back({L"Gel\u00e4nde: Nord", false});
    EXPECT_EQ(WriteError(drawing),
              "layer \"Gel\xC3\xA4nde: Nord\" holds \":\", which DXF names cannot hold");

    drawing = SampleDxfDrawing();
    drawing.layers.push_back({L"tin", false});
    EXPECT_EQ(WriteError(drawing), "layer \"tin\" is listed twice");

    drawing = SampleDxfDrawing();
    drawing.entities[4].handle = L"2a";
    EXPECT_EQ(WriteError(drawing), "entity handle 2a is used twice");
}

}  // namespace
