// The polyface and the subdivision mesh writers, single and splitting, called as the mesh
// functions call them: the meshes, vertices, faces and layer they leave in the drawing, the
// handles they give back and what they print. (Failing host calls of the writers are met through
// the functions, with the injected failures.)
#include <ostream>
#include <string>
#include <vector>

#include "functions/triangulate_and_write.h"
#include "mesh_writer_checks.h"
#include "module_fixture.h"
#include "output/create_pface_mesh.h"
#include "output/create_splitted_pface_mesh.h"
#include "output/create_splitted_subd_mesh.h"
#include "output/create_subd_mesh.h"

namespace {

using kafhost::EntityInfo;

struct WriterKind {
    const char* name;
    MeshWriters writers;
    const wchar_t* entityType;
    const wchar_t* singlePrinted;  // what the single writer prints
    const wchar_t* splitPrinted;   // what the split writer prints before its first announcement
    const wchar_t* announcement;   // an announcement up to the mesh number
    int largestMaxPoints;
    MeshShape (*shape)(const EntityInfo&);
};

void PrintTo(const WriterKind& kind, std::ostream* os) {
    *os << kind.name;
}

const WriterKind kPolyFace = {"PolyFace",
                              {CreatePFaceMesh, CreateSplittedPFaceMesh},
                              L"AcDbPolyFaceMesh",
                              L"",
                              L"",
                              L"\rPolyFaceMesh ",
                              32767,
                              PolyFaceShape};

const WriterKind kSubD = {"SubD",          {CreateSubDMesh, CreateSplittedSubDMesh},
                          L"AcDbSubDMesh", L"\nCreate Mesh ... ",
                          L"\n",           L"\rMesh ",
                          3000000,         SubDShape};

class MeshWritersTest : public HostTest, public ::testing::WithParamInterface<WriterKind> {
protected:
    void TearDown() override { EXPECT_EQ(host().openObjectCount(), 0u); }

    const WriterKind& W() const { return GetParam(); }

    int Single(const Triangulation& t, const wchar_t* layer,
               std::vector<std::wstring>& handles) const {
        return W().writers.single(t.triangles, t.vertices, layer, handles);
    }

    int Split(const Triangulation& t, const wchar_t* layer, int maxPoints,
              std::vector<std::wstring>& handles) const {
        return W().writers.split(t.triangles, t.vertices, layer, maxPoints, handles);
    }

    // The model-space meshes, each of the writer's kind at subdivision level 0.
    std::vector<MeshShape> Meshes() const {
        std::vector<MeshShape> meshes;
        for (const EntityInfo& entity : ModelSpaceEntities()) {
            EXPECT_EQ(entity.type, W().entityType);
            EXPECT_EQ(entity.subDLevel, 0);
            meshes.push_back(W().shape(entity));
        }
        return meshes;
    }

    // The split writer's text for meshes 1 ... count with the estimate given.
    std::wstring SplitPrinted(int count, int estimate) const {
        std::wstring printed = W().splitPrinted;
        for (int mesh = 1; mesh <= count; ++mesh) {
            printed += W().announcement + std::to_wstring(mesh) + L"/min" +
                       std::to_wstring(estimate) + L" will be created...";
        }
        return printed;
    }

    static std::vector<std::wstring> DrawingHandles() {
        std::vector<std::wstring> handles;
        for (const EntityInfo& entity : ModelSpaceEntities()) {
            handles.push_back(entity.handle);
        }
        return handles;
    }

    // Two triangles over the unit square, (0 2 1) and (1 2 3), sharing the diagonal (1)-(2).
    static Triangulation UnitSquare() {
        return Triangulate({{0, 0, 1}, {1, 0, 2}, {0, 1, 3}, {1, 1, 4}});
    }
};

TEST_P(MeshWritersTest, SingleMeshHoldsEveryVertexAndOneFacePerTriangle) {
    Triangulation t = Triangulate(ScatteredPoints(12));
    // A vertex no triangle uses is still in the single mesh.
    t.vertices.emplace_back(5000.0, 5000.0, 9.0);
    std::vector<std::wstring> handles{L"AB"};
    EXPECT_EQ(Single(t, nullptr, handles), RTNORM);
    EXPECT_EQ(host().commandLine(), W().singlePrinted);

    const std::vector<MeshShape> meshes = Meshes();
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_EQ(ModelSpaceEntities()[0].layer, L"0");
    EXPECT_EQ(handles, (std::vector<std::wstring>{L"AB", ModelSpaceEntities()[0].handle}));
    ExpectWholeTriangulation(meshes[0], t);
}

TEST_P(MeshWritersTest, SingleMeshTakes32767Vertices) {
    Triangulation t = Triangulate({{0, 0, 1}, {1, 0, 1}, {0, 1, 1}});
    t.vertices.clear();
    for (int i = 0; i < 32767; ++i) {
        t.vertices.emplace_back(i % 200, i / 200, 1.0);
    }
    std::vector<std::wstring> handles;
    EXPECT_EQ(Single(t, nullptr, handles), RTNORM);
    const std::vector<MeshShape> meshes = Meshes();
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_EQ(meshes[0].vertices.size(), 32767u);
    EXPECT_EQ(meshes[0].faces.size(), 1u);
}

TEST_P(MeshWritersTest, MeshesGoOnTheGivenLayer) {
    ASSERT_TRUE(host().addLayer(L"TIN"));
    const Triangulation t = Triangulate(ScatteredPoints(40));
    std::vector<std::wstring> handles;
    EXPECT_EQ(Single(t, L"TIN", handles), RTNORM);
    EXPECT_EQ(Split(t, L"TIN", 10, handles), RTNORM);
    const std::vector<EntityInfo> entities = ModelSpaceEntities();
    ASSERT_GT(entities.size(), 2u);
    for (const EntityInfo& entity : entities) {
        EXPECT_EQ(entity.layer, L"TIN");
    }
    EXPECT_EQ(handles, DrawingHandles());
}

TEST_P(MeshWritersTest, SplitMeshesFollowTheFillingRuleForSmallAndLargeLimits) {
    const Triangulation t = Triangulate(ScatteredPoints(300));
    for (int maxPoints : {3, 4, 5, 6, 7, 50, 299, W().largestMaxPoints}) {
        SCOPED_TRACE("maxPoints " + std::to_string(maxPoints));
        host().reset();
        std::vector<std::wstring> handles;
        EXPECT_EQ(Split(t, nullptr, maxPoints, handles), RTNORM);
        ExpectSplitByFillingRule(Meshes(), t, maxPoints);
        EXPECT_EQ(handles, DrawingHandles());
    }
}

TEST_P(MeshWritersTest, LimitThreeMakesOneMeshPerTriangleAndAnnouncesTheVertexCount) {
    const Triangulation t = Triangulate(ScatteredPoints(8));
    std::vector<std::wstring> handles;
    EXPECT_EQ(Split(t, nullptr, 3, handles), RTNORM);
    const std::vector<MeshShape> meshes = Meshes();
    ASSERT_EQ(meshes.size(), t.triangles.size());
    for (const MeshShape& mesh : meshes) {
        EXPECT_EQ(mesh.vertices.size(), 3u);
        EXPECT_EQ(mesh.faces, (std::vector<std::array<int, 3>>{{0, 1, 2}}));
    }
    EXPECT_EQ(host().commandLine(), SplitPrinted(static_cast<int>(meshes.size()), 8));
}

TEST_P(MeshWritersTest, LimitFourGivesTheUnitSquareTwoMeshesSharingTheDiagonal) {
    std::vector<std::wstring> handles;
    EXPECT_EQ(Split(UnitSquare(), nullptr, 4, handles), RTNORM);
    const std::vector<MeshShape> meshes = Meshes();
    ASSERT_EQ(meshes.size(), 2u);
    EXPECT_EQ(meshes[0].vertices, (std::vector<kafhost::Point3>{{0, 0, 1}, {1, 0, 2}, {0, 1, 3}}));
    EXPECT_EQ(meshes[1].vertices, (std::vector<kafhost::Point3>{{0, 1, 3}, {1, 0, 2}, {1, 1, 4}}));
    for (const MeshShape& mesh : meshes) {
        EXPECT_EQ(mesh.faces, (std::vector<std::array<int, 3>>{{0, 1, 2}}));
    }
    EXPECT_EQ(host().commandLine(), SplitPrinted(2, 2));
}

TEST_P(MeshWritersTest, LimitSixTakesASecondTriangleSharingTwoVerticesThenStops) {
    std::vector<std::wstring> handles;
    EXPECT_EQ(Split(UnitSquare(), nullptr, 6, handles), RTNORM);
    const std::vector<MeshShape> meshes = Meshes();
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_EQ(meshes[0].vertices.size(), 4u);
    EXPECT_EQ(meshes[0].faces, (std::vector<std::array<int, 3>>{{0, 1, 2}, {2, 1, 3}}));
}

TEST_P(MeshWritersTest, NoTrianglesMakeNoMesh) {
    Triangulation t = UnitSquare();
    t.triangles.clear();
    std::vector<std::wstring> handles{L"1F"};
    EXPECT_EQ(Split(t, nullptr, 100, handles), RTNORM);
    EXPECT_TRUE(ModelSpaceEntities().empty());
    EXPECT_EQ(handles, std::vector<std::wstring>{L"1F"});
    EXPECT_EQ(host().commandLine(), W().splitPrinted);
}

INSTANTIATE_TEST_SUITE_P(BothMeshKinds, MeshWritersTest, ::testing::Values(kPolyFace, kSubD),
                         [](const ::testing::TestParamInfo<WriterKind>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
