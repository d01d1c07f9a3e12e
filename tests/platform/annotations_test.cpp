// Texts, points, lines and layer styles in drawing files: written as DXF, ezdxf (an independent
// reader) reads every value back; read back by kafcad from DXF and JSON, they are the same; a DXF
// file kafcad keeps keeps its layers' styles and refuses to save a change of them.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "dxf_test_support.h"
#include "kafhost/drawing_dxf.h"
#include "kafhost/drawing_json.h"

namespace {

using dxf_test::DxfFileTest;
using kafhost::DrawingSnapshot;
using kafhost::EntityInfo;
using kafhost::EntityKind;
using kafhost::LayerInfo;

constexpr double kPi = 3.14159265358979323846;

DrawingSnapshot AnnotatedDrawing() {
    DrawingSnapshot drawing;
    drawing.layers.push_back(LayerInfo{L"0", false});
    LayerInfo labels{L"LABELS", false};
    labels.colorIndex = 1;
    labels.lineweight = 50;
    drawing.layers.push_back(labels);
    LayerInfo spots{L"SPOTS", false};
    spots.colorIndex = 30;
    spots.trueColor = 0xFF8000;
    spots.linetype = L"DASHED";
    drawing.layers.push_back(spots);

    EntityInfo text;
    text.handle = L"30";
    text.type = EntityKind::kText;
    text.layer = L"LABELS";
    text.position = {10.0, 20.0, 105.5};
    text.alignmentPoint = {12.5, 21.0, 105.5};
    text.text = L"105.5";
    text.height = 2.5;
    text.rotation = kPi / 6.0;
    text.horizontalMode = 4;
    drawing.entities.push_back(text);

    EntityInfo plain = text;
    plain.handle = L"31";
    plain.text = L"Höhe 3";
    plain.rotation = 0.0;
    plain.horizontalMode = 0;
    plain.alignmentPoint = plain.position;
    plain.colorIndex = 3;
    drawing.entities.push_back(plain);

    EntityInfo point;
    point.handle = L"32";
    point.type = EntityKind::kPoint;
    point.layer = L"SPOTS";
    point.position = {1.0, 2.0, 3.25};
    point.trueColor = 0x123456;
    drawing.entities.push_back(point);

    EntityInfo line;
    line.handle = L"33";
    line.type = EntityKind::kLine;
    line.layer = L"SPOTS";
    line.corners = {{1.0, 2.0, 3.25}, {-4.5, 0.125, 7.0}};
    line.colorIndex = 5;
    drawing.entities.push_back(line);
    return drawing;
}

void ExpectSameAnnotations(const DrawingSnapshot& read, const DrawingSnapshot& written) {
    ASSERT_EQ(read.entities.size(), written.entities.size());
    for (std::size_t i = 0; i < read.entities.size(); ++i) {
        const EntityInfo& a = read.entities[i];
        const EntityInfo& b = written.entities[i];
        EXPECT_EQ(a.type, b.type);
        EXPECT_EQ(a.layer, b.layer);
        EXPECT_EQ(a.position, b.position);
        EXPECT_EQ(a.corners, b.corners);
        EXPECT_EQ(a.colorIndex, b.colorIndex);
        EXPECT_EQ(a.trueColor, b.trueColor);
        if (a.type == EntityKind::kText) {
            EXPECT_EQ(a.text, b.text);
            EXPECT_EQ(a.alignmentPoint, b.alignmentPoint);
            EXPECT_EQ(a.height, b.height);
            EXPECT_NEAR(a.rotation, b.rotation, 1e-15);
            EXPECT_EQ(a.horizontalMode, b.horizontalMode);
            EXPECT_EQ(a.verticalMode, b.verticalMode);
            EXPECT_EQ(a.textStyle, L"Standard");
        }
    }
    ASSERT_EQ(read.layers.size(), written.layers.size());
    for (std::size_t i = 0; i < read.layers.size(); ++i) {
        EXPECT_EQ(read.layers[i].name, written.layers[i].name);
        EXPECT_EQ(read.layers[i].colorIndex, written.layers[i].colorIndex);
        EXPECT_EQ(read.layers[i].trueColor, written.layers[i].trueColor);
        EXPECT_EQ(read.layers[i].linetype, written.layers[i].linetype);
        EXPECT_EQ(read.layers[i].lineweight, written.layers[i].lineweight);
    }
}

#ifndef _WIN32
TEST_F(DxfFileTest, EzdxfReadsTextsPointsAndLayerStylesWithTheirValues) {
    kafhost::saveDxfDrawingFile(AnnotatedDrawing(), Path("annotated.dxf"));
    const auto run = dxf_test::RunDxfChecker({Path("annotated.dxf")});
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    for (const std::string line :
         {"audit errors 0 fixes 0",
          "layer-style LABELS color 1 true none linetype Continuous "
          "lineweight 50",
          "layer-style SPOTS color 30 true FF8000 linetype DASHED lineweight -3",
          "entity 30 TEXT model LABELS owner 2 text '105.5' insert (10.0,20.0,105.5) align "
          "(12.5,21.0,105.5) height 2.5 rotation 30.0 halign 4 valign 0 style Standard color 256",
          "entity 31 TEXT model LABELS owner 2 text 'H\xC3\xB6he 3' insert (10.0,20.0,105.5) "
          "align (0.0,0.0,0.0) height 2.5 rotation 0.0 halign 0 valign 0 style Standard color 3",
          "entity 32 POINT model SPOTS owner 2 at (1.0,2.0,3.25) color 256 true 123456",
          "entity 33 LINE model SPOTS owner 2 from (1.0,2.0,3.25) to (-4.5,0.125,7.0) color 5"}) {
        EXPECT_NE(("\n" + run.output).find("\n" + line + "\n"), std::string::npos)
            << "missing \"" << line << "\" in\n"
            << run.output;
    }
}
#endif

TEST_F(DxfFileTest, TextsPointsAndLayerStylesComeBackFromDxfAndJson) {
    const DrawingSnapshot drawing = AnnotatedDrawing();
    std::vector<std::string> notes;
    const DrawingSnapshot fromDxf = kafhost::drawingFromDxf(kafhost::drawingToDxf(drawing), notes);
    ExpectSameAnnotations(fromDxf, drawing);
    EXPECT_TRUE(notes.empty());
    ExpectSameAnnotations(kafhost::drawingFromJson(kafhost::drawingToJson(drawing)), drawing);
    // Saved again unchanged, the DXF file is the same.
    EXPECT_EQ(kafhost::drawingToDxf(fromDxf), kafhost::drawingToDxf(drawing));
}

TEST_F(DxfFileTest, AKeptDxfKeepsItsLayersStylesAndRefusesChangingThem) {
    std::vector<std::string> notes;
    DrawingSnapshot kept =
        kafhost::drawingFromDxf(kafhost::drawingToDxf(AnnotatedDrawing()), notes);
    // A text changed, a point's colour changed and a new layer of a linetype the file has are
    // written into the kept file.
    kept.entities[0].text = L"106.0";
    kept.entities[2].trueColor = -1;
    kept.entities[2].colorIndex = 4;
    LayerInfo added{L"NEW", false};
    added.colorIndex = 5;
    added.linetype = L"DASHED";
    kept.layers.push_back(added);
    const DrawingSnapshot again = kafhost::drawingFromDxf(kafhost::drawingToDxf(kept), notes);
    ExpectSameAnnotations(again, kept);

    // A linetype the kept file does not define, and a changed style of one of its layers.
    kept.layers.back().linetype = L"CENTER";
    EXPECT_THROW(kafhost::drawingToDxf(kept), kafhost::DrawingFileError);
    kept.layers.back().linetype = L"DASHED";
    kept.layers[1].colorIndex = 2;
    try {
        kafhost::drawingToDxf(kept);
        ADD_FAILURE() << "a changed layer style was saved";
    } catch (const kafhost::DrawingFileError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "layer \"LABELS\": kafcad keeps the layers of the DXF file it read as they "
                  "are, and cannot save a change of their colour, linetype or lineweight");
    }
}

TEST_F(DxfFileTest, TextsAndLayersTheFilesCannotHoldAreRefused) {
    DrawingSnapshot drawing = AnnotatedDrawing();
    drawing.entities[0].textStyle = L"Bold";
    EXPECT_THROW(kafhost::drawingToDxf(drawing), kafhost::DrawingFileError);
    drawing = AnnotatedDrawing();
    drawing.layers[2].linetype = L"ZIGZAG";
    EXPECT_THROW(kafhost::drawingToDxf(drawing), kafhost::DrawingFileError);
    EXPECT_THROW(kafhost::drawingFromJson(
                     "{\"layers\": [{\"name\": \"0\", \"color\": 256}], \"entities\": []}"),
                 kafhost::DrawingFileError);
    EXPECT_THROW(kafhost::drawingFromJson(
                     "{\"layers\": [{\"name\": \"0\"}], \"entities\": [{\"type\": \"AcDbText\", "
                     "\"position\": [0, 0, 0], \"text\": \"a\", \"height\": 0}]}"),
                 kafhost::DrawingFileError);
}

}  // namespace
