// The drawing as plain values: snapshots, rebuilding from them, adding described entities.
#include "dxf_test_support.h"
#include "host_fixture.h"
#include "kafhost/drawing_dxf.h"

namespace {

using kafhost::DrawingSnapshot;
using kafhost::EntityInfo;
using kafhost::EntityKind;

class DrawingSnapshots : public HostFixture {
protected:
    // One entity of each kind, on layers, in both spaces, one erased.
    void fill() {
        host.addLayer(L"TIN");
        host.addLayer(L"Hidden", true);
        host.addFace({0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, L"TIN");
        host.addPolyFaceMesh({{0, 0, 0}, {1, 0, 1}, {0, 1, 2}}, {{1, 2, 3, 0}}, L"TIN");
        EntityInfo mesh;
        mesh.type = EntityKind::kSubDMesh;
        mesh.layer = L"Hidden";
        mesh.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
        mesh.faces = {{0, 1, 2}, {0, 2, 3}};
        mesh.vertexColours = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}};
        std::wstring error;
        ASSERT_NE(host.addEntity(mesh, error), L"") << narrow(error);
        const std::wstring erased = host.addPolyline({{0, 0}, {5, 0}, {5, 5}}, 1.5, true);
        host.eraseObject(erased);
        host.addPolyline({{0, 0}, {2, 2}}, 0.0, false, L"0", L"paper", L"ABC");
    }
};

TEST_F(DrawingSnapshots, DescribesEveryEntity) {
    fill();
    const DrawingSnapshot snapshot = host.snapshot();
    ASSERT_EQ(snapshot.layers.size(), 3u);
    EXPECT_EQ(snapshot.layers[2].name, L"Hidden");
    EXPECT_TRUE(snapshot.layers[2].hidden);
    ASSERT_EQ(snapshot.entities.size(), 5u);
    const EntityInfo& face = snapshot.entities[0];
    EXPECT_EQ(face.type, EntityKind::kFace);
    EXPECT_EQ(face.layer, L"TIN");
    EXPECT_EQ(face.corners.size(), 4u);
    EXPECT_EQ(snapshot.entities[1].faces, (std::vector<std::vector<int>>{{1, 2, 3, 0}}));
    EXPECT_EQ(snapshot.entities[2].faces, (std::vector<std::vector<int>>{{0, 1, 2}, {0, 2, 3}}));
    EXPECT_EQ(snapshot.entities[2].vertexColours[3], (kafhost::Rgb{10, 11, 12}));
    const EntityInfo& line = snapshot.entities[3];
    EXPECT_TRUE(line.erased);
    EXPECT_TRUE(line.closed);
    EXPECT_EQ(line.elevation, 1.5);
    EXPECT_EQ(line.bulges, (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(snapshot.entities[4].space, L"paper");
    EXPECT_EQ(snapshot.entities[4].handle, L"ABC");
    EXPECT_EQ(snapshot.nextHandle, 0xABDu);
}

TEST_F(DrawingSnapshots, RebuildingGivesTheSameDrawing) {
    fill();
    const DrawingSnapshot before = host.snapshot();
    host.reset();
    std::wstring error;
    ASSERT_TRUE(host.loadSnapshot(before, error)) << narrow(error);
    const DrawingSnapshot after = host.snapshot();
    dxf_test::ExpectSameDrawing(after, before);
    EXPECT_GE(after.nextHandle, before.nextHandle);
    EXPECT_EQ(host.openObjectCount(), 0u);
}

TEST_F(DrawingSnapshots, TheSnapshotForOutputReadsMeshFacesInPlace) {
    fill();
    EntityInfo quads;
    quads.type = kafhost::EntityKind::kSubDMesh;
    quads.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 0, 0}};
    quads.faces = {{0, 1, 2, 3}, {1, 4, 2}};
    std::wstring error;
    ASSERT_NE(host.addEntity(quads, error), L"") << narrow(error);
    const DrawingSnapshot copied = host.snapshot();
    const DrawingSnapshot inPlace = host.outputSnapshot();
    ASSERT_EQ(inPlace.entities.size(), copied.entities.size());
    // Model space (the new mesh last), then the polyline in paper space.
    const EntityInfo& mesh = inPlace.entities[inPlace.entities.size() - 2];
    ASSERT_EQ(mesh.vertices.size(), 5u);
    EXPECT_TRUE(mesh.faces.empty());
    ASSERT_EQ(mesh.faceListSize, 9u);
    EXPECT_EQ(std::vector<int>(mesh.faceList, mesh.faceList + 9),
              (std::vector<int>{4, 0, 1, 2, 3, 3, 1, 4, 2}));
    // Either form is the same entity, and the same DXF text.
    for (std::size_t i = 0; i < copied.entities.size(); ++i) {
        EXPECT_TRUE(inPlace.entities[i] == copied.entities[i]) << i;
    }
    EXPECT_EQ(kafhost::drawingToDxf(inPlace), kafhost::drawingToDxf(copied));
    EntityInfo changed = copied.entities[copied.entities.size() - 2];
    changed.faces[1][1] = 3;
    EXPECT_TRUE(changed != mesh);
    changed = copied.entities[copied.entities.size() - 2];
    changed.faces.pop_back();
    EXPECT_TRUE(changed != mesh);

    // A drawing read from DXF and written again from the faces in place: the same file.
    std::vector<std::string> notes;
    const std::string text = kafhost::drawingToDxf(copied);
    host.reset();
    ASSERT_TRUE(host.loadSnapshot(kafhost::drawingFromDxf(text, notes), error)) << narrow(error);
    EXPECT_EQ(kafhost::drawingToDxf(host.outputSnapshot()), text);
}

// A mesh large enough for the snapshot's lists to be given fresh room: both snapshots hold its
// every vertex and colour as the drawing has them.
TEST_F(DrawingSnapshots, LargeColouredMeshesAreDescribedWhole) {
    EntityInfo strip;
    strip.type = kafhost::EntityKind::kSubDMesh;
    constexpr int kCount = 150000;
    for (int i = 0; i < kCount; ++i) {
        strip.vertices.push_back({i * 0.125, static_cast<double>(i % 3), -i * 0.5});
        strip.vertexColours.push_back({i % 256, (i / 256) % 256, (i * 7) % 256});
        if (i + 2 < kCount) {
            strip.faces.push_back({i, i + 1, i + 2});
        }
    }
    std::wstring error;
    ASSERT_NE(host.addEntity(strip, error), L"") << narrow(error);
    for (const DrawingSnapshot& snapshot : {host.snapshot(), host.outputSnapshot()}) {
        ASSERT_EQ(snapshot.entities.size(), 1u);
        const EntityInfo& mesh = snapshot.entities[0];
        EXPECT_TRUE(mesh.vertices == strip.vertices);
        EXPECT_TRUE(mesh.vertexColours == strip.vertexColours);
    }
}

TEST_F(DrawingSnapshots, ABadSnapshotLeavesTheDrawingAsItWas) {
    fill();
    const DrawingSnapshot before = host.snapshot();
    DrawingSnapshot bad = before;
    bad.entities[2].faces.push_back({0, 1, 9});
    std::wstring error;
    EXPECT_FALSE(host.loadSnapshot(bad, error));
    EXPECT_EQ(error, L"a mesh face names a vertex the mesh does not have");
    EXPECT_EQ(host.snapshot().entities.size(), before.entities.size());
    bad = before;
    bad.entities[1].handle = bad.entities[0].handle;
    EXPECT_FALSE(host.loadSnapshot(bad, error));
    EXPECT_EQ(error, L"handle " + bad.entities[0].handle + L" is already in use");
    bad = before;
    bad.entities[0].layer = L"Nowhere";
    EXPECT_FALSE(host.loadSnapshot(bad, error));
    EXPECT_EQ(error, L"layer 'Nowhere' does not exist");
    EXPECT_EQ(host.openObjectCount(), 0u);
}

TEST_F(DrawingSnapshots, DescriptionsAreChecked) {
    const std::vector<std::pair<EntityInfo, std::wstring>> cases = [] {
        std::vector<std::pair<EntityInfo, std::wstring>> list;
        EntityInfo e;
        e.type = EntityKind::kFace;
        e.space = L"block";
        list.push_back({e, L"unknown space 'block'"});
        e.space = L"model";
        list.push_back({e, L"a 3D face needs 3 or 4 corners"});
        e.type = EntityKind::kSubDMesh;
        e.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
        e.faces = {{0, 1}};
        list.push_back({e, L"a mesh face needs at least 3 vertices"});
        e.faces = {{0, 1, 2}};
        e.vertexColours = {{0, 0, 0}};
        list.push_back({e, L"a mesh needs one colour per vertex or none"});
        e.type = EntityKind::kPolyFaceMesh;
        e.faces = {{1, 2, 4}};
        list.push_back({e, L"a face record names a vertex the mesh does not have"});
        e.type = EntityKind::kPolyline;
        e.handle = L"XYZ";
        list.push_back({e, L"'XYZ' is not a handle"});
        return list;
    }();
    for (const auto& c : cases) {
        std::wstring error;
        EXPECT_EQ(host.addEntity(c.first, error), L"");
        EXPECT_EQ(error, c.second);
    }
    EXPECT_TRUE(host.snapshot().entities.empty());
    EXPECT_EQ(host.openObjectCount(), 0u);
}

TEST_F(DrawingSnapshots, EntityInfoFindsOnlyEntities) {
    const std::wstring line = host.addPolyline({{0, 0}, {1, 0}}, 0.0, false);
    EntityInfo info;
    EXPECT_TRUE(host.entityInfo(line, info));
    EXPECT_EQ(info.points, (std::vector<kafhost::Point2>{{0, 0}, {1, 0}}));
    EXPECT_FALSE(host.entityInfo(L"2", info));  // model space
    EXPECT_FALSE(host.entityInfo(L"FFFF", info));
}

}  // namespace
