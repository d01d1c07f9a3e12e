// 3D polylines: the entity as the module reads it (curve parameters), and in JSON and DXF
// drawing files.
#include <gtest/gtest.h>

#include <string>

#include "dxf_test_support.h"
#include "host_fixture.h"
#include "kafhost/drawing_dxf.h"
#include "kafhost/drawing_json.h"

namespace {

using dxf_test::DxfTags;
using kafhost::DrawingSnapshot;
using kafhost::EntityInfo;
using kafhost::EntityKind;
using kafhost::Point3;

class Polyline3d : public HostFixture {};

TEST_F(Polyline3d, VerticesLieAtWholeParametersAndTheClosingSegmentFollowsTheLast) {
    AcGePoint3dArray points;
    points.append(AcGePoint3d(0.0, 0.0, 1.0));
    points.append(AcGePoint3d(4.0, 0.0, 3.0));
    points.append(AcGePoint3d(4.0, 2.0, 5.0));
    auto* line = new AcDb3dPolyline(AcDb::k3dSimplePoly, points, true);
    AcDb3dPolylineVertex vertex(AcGePoint3d(0.0, 2.0, 7.0));
    ASSERT_EQ(line->appendVertex(&vertex), Acad::eOk);
    AcDbBlockTableRecord* model = openBlock(ACDB_MODEL_SPACE, AcDb::kForWrite);
    ASSERT_NE(model, nullptr);
    AcDbObjectId id;
    ASSERT_EQ(model->appendAcDbEntity(id, line), Acad::eOk);
    model->close();
    EXPECT_EQ(line->appendVertex(&vertex), Acad::eOk);
    ASSERT_EQ(line->makeOpen(), Acad::eOk);
    ASSERT_EQ(line->makeClosed(), Acad::eOk);
    line->close();
    EXPECT_EQ(line->appendVertex(&vertex), Acad::eNotOpenForWrite);

    AcDb3dPolyline* opened = nullptr;
    ASSERT_EQ(acdbOpenObject(opened, id, AcDb::kForRead), Acad::eOk);
    double start = -1.0, end = -1.0;
    EXPECT_EQ(opened->getStartParam(start), Acad::eOk);
    EXPECT_EQ(opened->getEndParam(end), Acad::eOk);
    EXPECT_EQ(start, 0.0);
    EXPECT_EQ(end, 5.0);
    AcGePoint3d at;
    EXPECT_EQ(opened->getPointAtParam(3.0, at), Acad::eOk);
    EXPECT_EQ((Point3{at.x, at.y, at.z}), (Point3{0.0, 2.0, 7.0}));
    EXPECT_EQ(opened->getPointAtParam(1.5, at), Acad::eOk);
    EXPECT_EQ((Point3{at.x, at.y, at.z}), (Point3{4.0, 1.0, 4.0}));
    EXPECT_EQ(opened->getPointAtParam(4.5, at), Acad::eOk);  // the second copy towards the first
    EXPECT_EQ((Point3{at.x, at.y, at.z}), (Point3{0.0, 1.0, 4.0}));
    EXPECT_EQ(opened->getPointAtParam(5.5, at), Acad::eInvalidInput);
    EXPECT_TRUE(opened->isClosed());
    EXPECT_EQ(opened->polyType(), AcDb::k3dSimplePoly);
    EXPECT_TRUE(opened->isKindOf(AcDbCurve::desc()));
    opened->close();
    EXPECT_EQ(opened->getEndParam(end), Acad::eNotOpenForRead);

    const DrawingSnapshot drawing = host.snapshot();
    ASSERT_EQ(drawing.entities.size(), 1u);
    EXPECT_EQ(drawing.entities[0].type, EntityKind::kPolyline3d);
    EXPECT_EQ(drawing.entities[0].vertices,
              (std::vector<Point3>{{0, 0, 1}, {4, 0, 3}, {4, 2, 5}, {0, 2, 7}, {0, 2, 7}}));
    EXPECT_TRUE(drawing.entities[0].closed);
}

DrawingSnapshot KerbDrawing() {
    DrawingSnapshot drawing;
    drawing.layers = {{L"0", false}, {L"KERB", false}};
    EntityInfo kerb;
    kerb.handle = L"2A";
    kerb.type = EntityKind::kPolyline3d;
    kerb.layer = L"KERB";
    kerb.vertices = {{0.5, 1.0, 10.25}, {20.0, 1.5, 10.5}};
    drawing.entities.push_back(kerb);
    kerb.handle = L"2B";
    kerb.closed = true;
    kerb.space = L"paper";
    kerb.vertices = {{0, 0, 1}, {1, 0, 2}, {1, 1, 3}};
    drawing.entities.push_back(kerb);
    drawing.nextHandle = 0x40;
    return drawing;
}

TEST(Polyline3dFiles, JsonAndDxfKeepVerticesClosedFlagLayerAndSpace) {
    const DrawingSnapshot drawing = KerbDrawing();
    const DrawingSnapshot fromJson = kafhost::drawingFromJson(kafhost::drawingToJson(drawing));
    std::vector<std::string> notes;
    const DrawingSnapshot fromDxf = kafhost::drawingFromDxf(kafhost::drawingToDxf(drawing), notes);
    EXPECT_TRUE(notes.empty());
    dxf_test::ExpectSameDrawing(fromJson, drawing);
    dxf_test::ExpectSameDrawing(fromDxf, drawing);
    EXPECT_THROW(kafhost::drawingFromJson(
                     R"({"entities": [{"type": "AcDb3dPolyline", "vertices": [[0, 0]]}]})"),
                 kafhost::DrawingFileError);
}

TEST(Polyline3dFiles, DxfIsAPolylineWithFlag8ItsVerticesFlag32AndASeqend) {
    const std::string text = kafhost::drawingToDxf(KerbDrawing());
    const std::size_t begin = text.find(DxfTags({{0, "POLYLINE"}, {5, "2A"}}));
    ASSERT_NE(begin, std::string::npos);
    const std::string expected =
        dxf_test::EntityHead("POLYLINE", "2A", "2", "KERB", "AcDb3dPolyline") +
        DxfTags({{66, "1"}, {10, "0"}, {20, "0"}, {30, "0"}, {70, "8"}}) +
        dxf_test::EntityHead("VERTEX", "2E", "2A", "KERB", "AcDbVertex") +
        DxfTags({{100, "AcDb3dPolylineVertex"}, {10, "0.5"}, {20, "1"}, {30, "10.25"}, {70, "32"}});
    EXPECT_EQ(text.substr(begin, expected.size()), expected);

    // Another writer's spline-fit 3D polyline: the frame's vertices (16) are kept, the fitted
    // ones (8) left out.
    std::string spline = text;
    const std::string fitted =
        DxfTags({{0, "VERTEX"}, {8, "KERB"}, {10, "9"}, {20, "9"}, {30, "9"}, {70, "8"}});
    spline.insert(text.find(DxfTags({{0, "VERTEX"}, {5, "2F"}})), fitted);
    std::vector<std::string> notes;
    const DrawingSnapshot read = kafhost::drawingFromDxf(spline, notes);
    EXPECT_EQ(read.entities[0].vertices, KerbDrawing().entities[0].vertices);
}

}  // namespace
