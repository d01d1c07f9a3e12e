// DXF drawing files read back: written drawings come back equal and write the same file again;
// files of other writers are read with what cannot be kept skipped and noted; malformed files are
// refused with the line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dxf_test_support.h"
#include "kafhost/drawing_dxf.h"

namespace {

using dxf_test::DxfTags;
using dxf_test::ExpectSameDrawing;
using dxf_test::SampleDxfDrawing;
using kafhost::DrawingFileError;
using kafhost::DrawingSnapshot;
using kafhost::EntityInfo;
using kafhost::EntityKind;

DrawingSnapshot Read(const std::string& text, std::vector<std::string>& notes) {
    return kafhost::drawingFromDxf(text, notes);
}

std::string ReadError(const std::string& text) {
    std::vector<std::string> notes;
    try {
        Read(text, notes);
    } catch (const DrawingFileError& error) {
        return error.what();
    }
    return "(read)";
}

// The line (from 1) on which text's first occurrence of marker, which starts a line, begins.
std::string LineOf(const std::string& text, const std::string& marker) {
    const std::size_t at = text.find(marker);
    EXPECT_NE(at, std::string::npos) << marker;
    return "line " + std::to_string(std::count(text.begin(), text.begin() + at, '\n') + 1);
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

std::string Wrapped(const std::string& sections) {
    return sections + DxfTags({{0, "EOF"}});
}

std::string Section(const std::string& name, const std::string& contents) {
    return DxfTags({{0, "SECTION"}, {2, name}}) + contents + DxfTags({{0, "ENDSEC"}});
}

TEST(DxfRead, WrittenDrawingReadsBackWithoutErasedEntitiesAndWritesTheSameFile) {
    const std::string text = kafhost::drawingToDxf(SampleDxfDrawing());
    std::vector<std::string> notes;
    const DrawingSnapshot read = Read(text, notes);
    DrawingSnapshot expected = SampleDxfDrawing();
    // Model space first; the erased polyface mesh 2C is not in the file.
    expected.entities = {expected.entities[0], expected.entities[1], expected.entities[4],
                         expected.entities[3]};
    ExpectSameDrawing(read, expected);
    EXPECT_EQ(read.nextHandle, 0x10Du);
    EXPECT_TRUE(notes.empty());
    EXPECT_EQ(kafhost::drawingToDxf(read), text);
}

TEST(DxfRead, WindowsLineEndsReadTheSame) {
    const std::string text = kafhost::drawingToDxf(SampleDxfDrawing());
    std::string windows;
    for (const char c : text) {
        windows += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    std::vector<std::string> notes;
    ExpectSameDrawing(Read(windows, notes), Read(text, notes));
    EXPECT_TRUE(notes.empty());
}

TEST(DxfRead, EntitiesWithoutHandleGetTheFirstOneAboveAllOthersAndKeepIt) {
    DrawingSnapshot drawing = SampleDxfDrawing();
    EntityInfo face = dxf_test::Entity(L"", EntityKind::kFace);
    face.corners = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    drawing.entities.insert(drawing.entities.begin(), face);
    const std::string text = kafhost::drawingToDxf(drawing);
    std::vector<std::string> notes;
    const DrawingSnapshot read = Read(text, notes);
    ASSERT_EQ(read.entities.size(), 5u);
    EXPECT_EQ(read.entities[0].handle, L"101");
    EXPECT_EQ(kafhost::drawingToDxf(read), text);
}

TEST(DxfRead, OtherWritersEntitiesAreReadAndTheRestIsKeptWithoutNotes) {
    const std::string text = Wrapped(Section(
        "ENTITIES",
        DxfTags(
            {{0, "LINE"},     {8, "0"},    {10, "0"}, {20, "0"},   {11, "1"},         {21, "1"},
             {0, "3DFACE"},   {8, "Base"}, {67, "1"}, {10, "0"},   {20, "0"},         {30, "1"},
             {11, "1"},       {21, "0"},   {31, "1"}, {12, "1"},   {22, "1"},         {32, "1"},
             {0, "POLYLINE"}, {8, "0"},    {66, "1"}, {70, "8"},   {0, "VERTEX"},     {8, "0"},
             {10, "0"},       {20, "0"},   {30, "0"}, {70, "32"},  {0, "SEQEND"},     {8, "0"},
             {0, "INSERT"},   {8, "0"},    {66, "1"}, {2, "MARK"}, {0, "ATTRIB"},     {8, "0"},
             {0, "SEQEND"},   {0, "LINE"}, {8, "0"},  {210, "1"},  {0, "LWPOLYLINE"}, {5, "7F"},
             {8, "base"},     {90, "2"},   {70, "0"}, {43, "0.5"}, {10, "1"},         {20, "2"},
             {40, "1"},       {41, "1"},   {10, "3"}, {20, "4"},   {42, "-1"},        {1001, "APP"},
             {1000, "data"}})));
    std::vector<std::string> notes;
    const DrawingSnapshot read = Read(text, notes);
    DrawingSnapshot expected;
    expected.layers = {{L"0", false}, {L"Base", false}};
    EntityInfo outline = dxf_test::Entity(L"7F", EntityKind::kPolyline);
    outline.layer = L"Base";
    outline.points = {{1, 2}, {3, 4}};
    outline.bulges = {0, -1};
    // The line, face and 3D polyline without handles get the first ones above the file's (7F);
    // the line with an extrusion direction is kept only as written.
    EntityInfo line = dxf_test::Entity(L"80", EntityKind::kLine);
    line.corners = {{0, 0, 0}, {1, 1, 0}};
    EntityInfo face = dxf_test::Entity(L"81", EntityKind::kFace);
    face.space = L"paper";
    face.layer = L"Base";
    face.corners = {{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {1, 1, 1}};
    face.edgeVisible = {true, true, true, true};
    EntityInfo polyline3d = dxf_test::Entity(L"82", EntityKind::kPolyline3d);
    polyline3d.vertices = {{0, 0, 0}};
    expected.entities = {line, polyline3d, outline, face};
    ExpectSameDrawing(read, expected);
    EXPECT_EQ(read.nextHandle, 0x83u);
    EXPECT_EQ(notes, (std::vector<std::string>{
                         "added layer \"Base\", which entities use but the LAYER table lacks"}));
}

TEST(DxfRead, LayersThatAreOffOrFrozenAreHiddenAndEntitiesTakeTheTablesSpelling) {
    const auto layer = [](const std::string& name, const std::string& flags,
                          const std::string& colour) {
        return DxfTags({{0, "LAYER"}, {2, name}, {70, flags}, {62, colour}});
    };
    const std::string text =
        Wrapped(Section("TABLES", DxfTags({{0, "TABLE"}, {2, "LAYER"}, {70, "4"}}) +
                                      layer("Off", "0", "-3") + layer("Frozen", "1", "5") +
                                      layer("TIN", "0", "1") + layer("0", "0", "7") +
                                      DxfTags({{0, "ENDTAB"},
                                               {0, "TABLE"},
                                               {2, "BLOCK_RECORD"},
                                               {0, "BLOCK_RECORD"},
                                               {5, "1F"},
                                               {2, "*PAPER_SPACE"},
                                               {0, "ENDTAB"}})) +
                Section("ENTITIES", DxfTags({{0, "3DFACE"}, {5, "A0"}, {330, "1F"}, {8, "tin"}})));
    std::vector<std::string> notes;
    const DrawingSnapshot read = Read(text, notes);
    ASSERT_EQ(read.layers.size(), 4u);
    EXPECT_EQ(read.layers[0].name, L"0");
    EXPECT_FALSE(read.layers[0].hidden);
    EXPECT_EQ(read.layers[1].name, L"Off");
    EXPECT_TRUE(read.layers[1].hidden);
    EXPECT_EQ(read.layers[2].name, L"Frozen");
    EXPECT_TRUE(read.layers[2].hidden);
    EXPECT_EQ(read.layers[3].name, L"TIN");
    EXPECT_FALSE(read.layers[3].hidden);
    ASSERT_EQ(read.entities.size(), 1u);
    EXPECT_EQ(read.entities[0].layer, L"TIN");
    EXPECT_EQ(read.entities[0].space, L"paper");  // its owner is the paper-space record
    EXPECT_TRUE(notes.empty());
}

TEST(DxfRead, NamesAreUtf8FromAutoCad2007OnAndBytesBefore) {
    const auto file = [](const std::string& release, const std::string& name) {
        return Wrapped(
            Section("HEADER", DxfTags({{9, "$ACADVER"}, {1, release}})) +
            Section("TABLES",
                    DxfTags({{0, "TABLE"}, {2, "LAYER"}, {0, "LAYER"}, {2, name}, {0, "ENDTAB"}})));
    };
    std::vector<std::string> notes;
    EXPECT_EQ(Read(file("AC1024", "Gel\xC3\xA4nde"), notes).layers[1].name, L"Gel\u00e4nde");
    EXPECT_EQ(Read(file("AC1015", "Gel\xE4nde"), notes).layers[1].name, L"Gel\u00e4nde");
    EXPECT_EQ(Read(file("AC1015", "Gel\\U+00E4nde"), notes).layers[1].name, L"Gel\u00e4nde");
}

TEST(DxfRead, SectionsItDoesNotKnowAndBlocksAreKeptWithoutNotes) {
    const std::string text = Wrapped(Section("THUMBNAILIMAGE", DxfTags({{90, "3"}, {310, "AB"}})) +
                                     Section("CLASSES", DxfTags({{0, "CLASS"}, {1, "X"}})) +
                                     Section("BLOCKS", DxfTags({{0, "BLOCK"},
                                                                {2, "MARK"},
                                                                {0, "LINE"},
                                                                {0, "LINE"},
                                                                {0, "CIRCLE"},
                                                                {0, "ENDBLK"}})));
    std::vector<std::string> notes;
    Read(text, notes);
    EXPECT_TRUE(notes.empty());
    EXPECT_EQ(kafhost::drawingToDxf(Read(text, notes)), text);
}

TEST(DxfRead, MalformedFilesAreRefusedWithTheLine) {
    const std::string text = kafhost::drawingToDxf(SampleDxfDrawing());

    const std::string cut = text.substr(0, text.find(" 93\n4\n"));
    EXPECT_EQ(ReadError(cut), "line " +
                                  std::to_string(std::count(cut.begin(), cut.end(), '\n') + 1) +
                                  ": the file ends early");
    EXPECT_EQ(ReadError(text.substr(0, text.size() - 8)),
              "line " + std::to_string(std::count(text.begin(), text.end(), '\n') - 1) +
                  ": the file ends early");
    EXPECT_EQ(ReadError(text.substr(0, text.size() - 4)),
              "line " + std::to_string(std::count(text.begin(), text.end(), '\n') - 1) +
                  ": group code 0 has no value (the file ends early)");
    EXPECT_EQ(ReadError(Replaced(text, " 92\n3\n", "x92\n3\n")),
              LineOf(text, " 92\n3\n") + ": expected a group code, found \"x92\"");
    EXPECT_EQ(ReadError(Replaced(text, "-7.25\n 30\n1e+21\n", "-7.25.1\n 30\n1e+21\n")),
              LineOf(text, "-7.25\n 30\n1e+21\n") +
                  ": expected a number for group code 20, found \"-7.25.1\"");
    EXPECT_EQ(ReadError(Replaced(text, " 90\n2\n 94\n", " 90\n3\n 94\n")),
              LineOf(text, "2\n 94\n") + ": the MESH face names vertex 3, the mesh has 3");
    EXPECT_EQ(ReadError(Replaced(text, " 93\n4\n", " 93\n0\n")),
              LineOf(text, " 90\n3\n 90\n0\n") +
                  ": the MESH face list holds more items than its size (group code 93) says, 0");
    EXPECT_EQ(ReadError(Replaced(text, DxfTags({{5, "100"}}), DxfTags({{5, "FFFFFFFF00000002"}}))),
              LineOf(text, DxfTags({{5, "100"}})) +
                  ": handle FFFFFFFF00000002 is too large: kafcad takes handles up to "
                  "FFFFFFFF00000000");
    EXPECT_EQ(ReadError(Replaced(text, DxfTags({{5, "10D"}}), DxfTags({{5, "FFFFFFFFFFFFFFFF"}}))),
              LineOf(text, DxfTags({{5, "10D"}})) +
                  ": handle FFFFFFFFFFFFFFFF is too large: kafcad takes handles up to "
                  "FFFFFFFF00000000");
    EXPECT_EQ(ReadError(Replaced(text, " 91\n1\n 92\n", " 91\n5\n 92\n")),
              LineOf(text, "1\n 92\n") + ": subdivision level 5 is outside 0 ... 4");
    const std::string faceRecord = DxfTags({{0, "VERTEX"}, {5, "10B"}});
    EXPECT_EQ(
        ReadError(Replaced(text, " 72\n4\n 73\n3\n", " 72\n9\n 73\n3\n")),
        LineOf(text, faceRecord) + ": the face record names vertex 9, the polyface mesh has 4");
    const std::string seqend =
        DxfTags({{0, "SEQEND"}, {5, "10C"}, {330, "2B"}, {100, "AcDbEntity"}, {8, "0"}});
    const std::string noSeqend = Replaced(text, seqend, "");
    EXPECT_EQ(ReadError(noSeqend), LineOf(noSeqend, DxfTags({{0, "LWPOLYLINE"}})) +
                                       ": the POLYLINE that starts on " +
                                       LineOf(text, DxfTags({{0, "POLYLINE"}, {5, "2B"}})) +
                                       " does not end with SEQEND");
    const std::string twice = Replaced(text, DxfTags({{0, "LWPOLYLINE"}, {5, "100"}}),
                                       DxfTags({{0, "LWPOLYLINE"}, {5, "2A"}}));
    EXPECT_EQ(ReadError(twice), LineOf(twice, DxfTags({{0, "LWPOLYLINE"}})) +
                                    ": handle 2A is used twice (first on " +
                                    LineOf(twice, DxfTags({{0, "MESH"}, {5, "2A"}})) + ")");
    // An entity kafcad does not model, a vertex or a table entry with the mesh's handle: a save
    // would write both.
    const std::string line =
        Replaced(text, DxfTags({{0, "LWPOLYLINE"}}),
                 DxfTags({{0, "LINE"}, {5, "2A"}, {8, "0"}, {0, "LWPOLYLINE"}}));
    EXPECT_EQ(ReadError(line), LineOf(line, DxfTags({{0, "LINE"}})) +
                                   ": handle 2A is used twice (first on " +
                                   LineOf(line, DxfTags({{0, "MESH"}, {5, "2A"}})) + ")");
    const std::string vertex =
        Replaced(text, DxfTags({{0, "VERTEX"}, {5, "10B"}}), DxfTags({{0, "VERTEX"}, {5, "2A"}}));
    EXPECT_EQ(ReadError(vertex), LineOf(vertex, DxfTags({{0, "VERTEX"}, {5, "2A"}})) +
                                     ": handle 2A is used twice (first on " +
                                     LineOf(vertex, DxfTags({{0, "MESH"}, {5, "2A"}})) + ")");
    const std::string entry =
        Replaced(text, DxfTags({{0, "LAYER"}, {5, "103"}}), DxfTags({{0, "LAYER"}, {5, "2A"}}));
    EXPECT_EQ(ReadError(entry), LineOf(entry, DxfTags({{0, "MESH"}, {5, "2A"}})) +
                                    ": handle 2A is used twice (first on " +
                                    LineOf(entry, DxfTags({{0, "LAYER"}, {5, "2A"}})) + ")");
    EXPECT_EQ(ReadError(Replaced(text, DxfTags({{2, "TIN"}}), DxfTags({{2, "gel\xC3\xA4NDE"}}))),
              LineOf(text, DxfTags({{0, "LAYER"}, {5, "103"}})) +
                  ": layer \"Gel\xC3\xA4nde\" is listed twice");
    EXPECT_EQ(ReadError(Replaced(text, DxfTags({{2, "TIN"}}), DxfTags({{2, "*F"}}))),
              LineOf(text, DxfTags({{0, "LAYER"}, {5, "102"}})) +
                  ": layer \"*F\" holds \"*\", which DXF names cannot hold");
    EXPECT_EQ(ReadError(Replaced(text, "420\n66303\n", "")),
              LineOf(text, DxfTags({{0, "XRECORD"}})) +
                  ": KAF_VERTEX_COLORS holds 2 colours for the 3 vertices of the MESH on " +
                  LineOf(text, DxfTags({{0, "MESH"}})));
    EXPECT_EQ(ReadError(Replaced(text, "420\n66303\n", "420\n16777216\n")),
              LineOf(text, "66303\n") + ": colour 16777216 is not a true colour 0x00RRGGBB");
    EXPECT_EQ(ReadError(std::string("AutoCAD Binary DXF\r\n\x1a\0", 22)),
              "line 1: binary DXF is not supported, only text DXF");
    EXPECT_EQ(ReadError(DxfTags({{0, "SECTION"}, {2, "ENTITIES"}, {0, "SEQEND"}})),
              "line 5: SEQEND outside a POLYLINE");
    EXPECT_EQ(ReadError(DxfTags({{0, "LINE"}})), "line 1: expected SECTION or EOF");
}

}  // namespace
