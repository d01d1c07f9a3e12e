// The polyface mesh writers called as the mesh functions call them: the meshes, vertices, face
// records and layer they leave in the drawing, the handles they give back, the announcements and
// step-error lines on the command line, and what stays after a failing host call.
#include <string>
#include <vector>

#include "mesh_writer_checks.h"
#include "module_fixture.h"
#include "output/create_pface_mesh.h"
#include "output/create_splitted_pface_mesh.h"

namespace {

using kafhost::EntityInfo;
using kafhost::HostCall;

std::wstring StepError(const std::wstring& step, const std::wstring& text) {
    return L"[Module 'kaf'] Error in function '" + step + L"': " + text + L"\n";
}

std::wstring StatusText(Acad::ErrorStatus status) {
    return acadErrorStatusText(status);
}

class PolyFaceMeshWritersTest : public HostTest {
protected:
    void TearDown() override { EXPECT_EQ(host().openObjectCount(), 0u); }

    static std::vector<MeshShape> Meshes() {
        std::vector<MeshShape> meshes;
        for (const EntityInfo& entity : ModelSpaceEntities()) {
            EXPECT_EQ(entity.type, L"AcDbPolyFaceMesh");
            meshes.push_back(PolyFaceShape(entity));
        }
        return meshes;
    }

    static std::vector<std::wstring> DrawingHandles() {
        std::vector<std::wstring> handles;
        for (const EntityInfo& entity : ModelSpaceEntities()) {
            handles.push_back(entity.handle);
        }
        return handles;
    }

    // Two triangles over the unit square, sharing the diagonal (1)-(2).
    static Triangulation UnitSquare() {
        return Triangulate({{0, 0, 1}, {1, 0, 2}, {0, 1, 3}, {1, 1, 4}});
    }
};

TEST_F(PolyFaceMeshWritersTest, SingleMeshHoldsEveryVertexAndOneFaceRecordPerTriangle) {
    const Triangulation t = Triangulate(ScatteredPoints(10));
    std::vector<std::wstring> handles{L"AB"};
    EXPECT_EQ(CreatePFaceMesh(t.triangles, t.vertices, nullptr, handles), RTNORM);

    const std::vector<EntityInfo> entities = ModelSpaceEntities();
    ASSERT_EQ(entities.size(), 1u);
    EXPECT_EQ(entities[0].layer, L"0");
    EXPECT_EQ(handles, (std::vector<std::wstring>{L"AB", entities[0].handle}));
    ASSERT_EQ(entities[0].vertices.size(), t.vertices.size());
    for (std::size_t v = 0; v < t.vertices.size(); ++v) {
        EXPECT_EQ(entities[0].vertices[v], PositionOf(t.vertices[v]));
    }
    ASSERT_EQ(entities[0].faces.size(), t.triangles.size());
    for (std::size_t f = 0; f < t.triangles.size(); ++f) {
        const geom::CTriangle& triangle = t.triangles[f];
        EXPECT_EQ(entities[0].faces[f],
                  (std::vector<int>{triangle.i1 + 1, triangle.i2 + 1, triangle.i3 + 1, 0}));
    }
    EXPECT_EQ(host().commandLine(), L"");
}

TEST_F(PolyFaceMeshWritersTest, MeshesGoOnTheGivenLayer) {
    ASSERT_TRUE(host().addLayer(L"TIN"));
    const Triangulation t = Triangulate(ScatteredPoints(40));
    std::vector<std::wstring> handles;
    EXPECT_EQ(CreatePFaceMesh(t.triangles, t.vertices, L"TIN", handles), RTNORM);
    EXPECT_EQ(CreateSplittedPFaceMesh(t.triangles, t.vertices, L"TIN", 10, handles), RTNORM);
    const std::vector<EntityInfo> entities = ModelSpaceEntities();
    ASSERT_GT(entities.size(), 2u);
    for (const EntityInfo& entity : entities) {
        EXPECT_EQ(entity.layer, L"TIN");
    }
    EXPECT_EQ(handles, DrawingHandles());
}

TEST_F(PolyFaceMeshWritersTest, SingleMeshOfMoreThan32767VerticesEndsWithAVertexNumberMismatch) {
    std::vector<geom::CVertex> vertices;
    for (int i = 0; i < 32768; ++i) {
        vertices.emplace_back(i % 200, i / 200, 1.0);
    }
    const Triangulation t = Triangulate({{0, 0, 1}, {1, 0, 1}, {0, 1, 1}});
    std::vector<std::wstring> handles;
    EXPECT_EQ(CreatePFaceMesh(t.triangles, vertices, nullptr, handles), RTERROR);
    EXPECT_EQ(host().commandLine(), StepError(L"CreatePFaceMesh: ", L"Vertex number mismatch!"));

    // Nothing is appended: no mesh of vertices without faces, no handle.
    EXPECT_TRUE(host().snapshot().entities.empty());
    EXPECT_TRUE(handles.empty());
}

TEST_F(PolyFaceMeshWritersTest, SingleMeshOf32767VerticesIsWhole) {
    std::vector<geom::CVertex> vertices;
    for (int i = 0; i < 32767; ++i) {
        vertices.emplace_back(i % 200, i / 200, 1.0);
    }
    const Triangulation t = Triangulate({{0, 0, 1}, {1, 0, 1}, {0, 1, 1}});
    std::vector<std::wstring> handles;
    EXPECT_EQ(CreatePFaceMesh(t.triangles, vertices, nullptr, handles), RTNORM);
    const std::vector<EntityInfo> entities = ModelSpaceEntities();
    ASSERT_EQ(entities.size(), 1u);
    EXPECT_EQ(entities[0].vertices.size(), 32767u);
    EXPECT_EQ(entities[0].faces.size(), 1u);
}

TEST_F(PolyFaceMeshWritersTest, SplitMeshesFollowTheFillingRuleForSmallAndLargeLimits) {
    const Triangulation t = Triangulate(ScatteredPoints(300));
    for (int maxPoints : {3, 4, 5, 6, 7, 50, 299, 32767}) {
        SCOPED_TRACE("maxPoints " + std::to_string(maxPoints));
        host().reset();
        std::vector<std::wstring> handles;
        EXPECT_EQ(CreateSplittedPFaceMesh(t.triangles, t.vertices, nullptr, maxPoints, handles),
                  RTNORM);
        ExpectSplitByFillingRule(Meshes(), t, maxPoints);
        EXPECT_EQ(handles, DrawingHandles());
    }
}

TEST_F(PolyFaceMeshWritersTest, LimitThreeMakesOneMeshPerTriangleAndAnnouncesTheVertexCount) {
    const Triangulation t = Triangulate(ScatteredPoints(8));
    std::vector<std::wstring> handles;
    EXPECT_EQ(CreateSplittedPFaceMesh(t.triangles, t.vertices, nullptr, 3, handles), RTNORM);
    const std::vector<MeshShape> meshes = Meshes();
    ASSERT_EQ(meshes.size(), t.triangles.size());
    std::wstring announcements;
    for (std::size_t m = 0; m < meshes.size(); ++m) {
        EXPECT_EQ(meshes[m].vertices.size(), 3u);
        EXPECT_EQ(meshes[m].faces, (std::vector<std::array<int, 3>>{{0, 1, 2}}));
        announcements += L"\rPolyFaceMesh " + std::to_wstring(m + 1) + L"/min8 will be created...";
    }
    EXPECT_EQ(host().commandLine(), announcements);
}

TEST_F(PolyFaceMeshWritersTest, LimitFourGivesTheUnitSquareTwoMeshesSharingTheDiagonal) {
    const Triangulation t = UnitSquare();
    std::vector<std::wstring> handles;
    EXPECT_EQ(CreateSplittedPFaceMesh(t.triangles, t.vertices, nullptr, 4, handles), RTNORM);
    const std::vector<EntityInfo> entities = ModelSpaceEntities();
    ASSERT_EQ(entities.size(), 2u);
    // Triangles (0 2 1) and (1 2 3) over the vertices (0 0) (0 1) (1 0) (1 1).
    EXPECT_EQ(entities[0].vertices,
              (std::vector<kafhost::Point3>{{0, 0, 1}, {1, 0, 2}, {0, 1, 3}}));
    EXPECT_EQ(entities[1].vertices,
              (std::vector<kafhost::Point3>{{0, 1, 3}, {1, 0, 2}, {1, 1, 4}}));
    EXPECT_EQ(entities[0].faces, (std::vector<std::vector<int>>{{1, 2, 3, 0}}));
    EXPECT_EQ(entities[1].faces, (std::vector<std::vector<int>>{{1, 2, 3, 0}}));
    EXPECT_EQ(host().commandLine(),
              L"\rPolyFaceMesh 1/min2 will be created...\rPolyFaceMesh 2/min2 will be created...");
}

TEST_F(PolyFaceMeshWritersTest, LimitSixTakesExactlyTwoTrianglesPerMeshButTheLast) {
    const Triangulation t = Triangulate(ScatteredPoints(60));
    std::vector<std::wstring> handles;
    EXPECT_EQ(CreateSplittedPFaceMesh(t.triangles, t.vertices, nullptr, 6, handles), RTNORM);
    const std::vector<MeshShape> meshes = Meshes();
    ASSERT_EQ(meshes.size(), (t.triangles.size() + 1) / 2);
    for (std::size_t m = 0; m + 1 < meshes.size(); ++m) {
        EXPECT_EQ(meshes[m].faces.size(), 2u);
        EXPECT_GE(meshes[m].vertices.size(), 4u);
        EXPECT_LE(meshes[m].vertices.size(), 6u);
    }
}

TEST_F(PolyFaceMeshWritersTest, NoTrianglesMakeNoMesh) {
    const Triangulation t = UnitSquare();
    std::vector<std::wstring> handles{L"1F"};
    EXPECT_EQ(CreateSplittedPFaceMesh({}, t.vertices, nullptr, 100, handles), RTNORM);
    EXPECT_TRUE(ModelSpaceEntities().empty());
    EXPECT_EQ(handles, std::vector<std::wstring>{L"1F"});
    EXPECT_EQ(host().commandLine(), L"");
}

TEST_F(PolyFaceMeshWritersTest, MissingLayerFailsBeforeAnyMeshIsAppended) {
    const Triangulation t = Triangulate(ScatteredPoints(20));
    std::vector<std::wstring> handles;
    EXPECT_EQ(CreatePFaceMesh(t.triangles, t.vertices, L"NOPE", handles), RTERROR);
    EXPECT_EQ(CreateSplittedPFaceMesh(t.triangles, t.vertices, L"NOPE", 5, handles), RTERROR);
    EXPECT_EQ(host().commandLine(),
              StepError(L"CreatePFaceMesh:3", StatusText(Acad::eKeyNotFound)) +
                  StepError(L"CreateSplittedPFaceMesh:3", StatusText(Acad::eKeyNotFound)));
    EXPECT_TRUE(ModelSpaceEntities().empty());
    EXPECT_TRUE(handles.empty());
}

TEST_F(PolyFaceMeshWritersTest, FailingHostCallsPrintTheirStepAndCreateNothing) {
    // 20 vertices with maxPoints 5 announce ceil(20 / 3) = 7 meshes; the split writer announces
    // its first mesh before appending it.
    const Triangulation t = Triangulate(ScatteredPoints(20));
    struct Failure {
        HostCall call;
        const wchar_t* singleStep;
        const wchar_t* splitStep;
        const wchar_t* splitAnnouncement;
    };
    for (const Failure& failure :
         {Failure{HostCall::kGetSymbolTable, L"CreatePFaceMesh:1", L"CreateSplittedPFaceMesh:1",
                  L""},
          Failure{HostCall::kBlockTableGetAt, L"CreatePFaceMesh:2", L"CreateSplittedPFaceMesh:2",
                  L""},
          Failure{HostCall::kSetLayer, L"CreatePFaceMesh:3", L"CreateSplittedPFaceMesh:3", L""},
          Failure{HostCall::kAppendAcDbEntity, L"CreatePFaceMesh:4", L"CreateSplittedPFaceMesh:4",
                  L"\rPolyFaceMesh 1/min7 will be created..."}}) {
        for (bool split : {false, true}) {
            SCOPED_TRACE(split ? failure.splitStep : failure.singleStep);
            host().reset();
            ASSERT_TRUE(host().addLayer(L"TIN"));
            host().failCall(failure.call, 1, Acad::eOutOfMemory);
            std::vector<std::wstring> handles;
            const int status =
                split ? CreateSplittedPFaceMesh(t.triangles, t.vertices, L"TIN", 5, handles)
                      : CreatePFaceMesh(t.triangles, t.vertices, L"TIN", handles);
            EXPECT_EQ(status, RTERROR);
            EXPECT_EQ(host().commandLine(),
                      split ? failure.splitAnnouncement +
                                  StepError(failure.splitStep, StatusText(Acad::eOutOfMemory))
                            : StepError(failure.singleStep, StatusText(Acad::eOutOfMemory)));
            EXPECT_TRUE(ModelSpaceEntities().empty());
            EXPECT_TRUE(handles.empty());
            EXPECT_EQ(host().openObjectCount(), 0u);
        }
    }
}

TEST_F(PolyFaceMeshWritersTest, SplitFailureOnALaterMeshKeepsTheMeshesBefore) {
    // 20 vertices with maxPoints 5 announce ceil(20 / 3) = 7 meshes.
    const Triangulation t = Triangulate(ScatteredPoints(20));
    for (HostCall call : {HostCall::kSetLayer, HostCall::kAppendAcDbEntity}) {
        host().reset();
        ASSERT_TRUE(host().addLayer(L"TIN"));
        host().failCall(call, 3, Acad::eLockViolation);
        std::vector<std::wstring> handles;
        EXPECT_EQ(CreateSplittedPFaceMesh(t.triangles, t.vertices, L"TIN", 5, handles), RTERROR);
        const std::wstring step = call == HostCall::kSetLayer ? L"CreateSplittedPFaceMesh:3"
                                                              : L"CreateSplittedPFaceMesh:4";
        const std::wstring& printed = host().commandLine();
        EXPECT_EQ(printed.substr(printed.rfind(L'\r')),
                  L"\rPolyFaceMesh " + std::wstring(call == HostCall::kSetLayer ? L"2" : L"3") +
                      L"/min7 will be created..." +
                      StepError(step, StatusText(Acad::eLockViolation)));
        const std::vector<MeshShape> meshes = Meshes();
        ASSERT_EQ(meshes.size(), 2u);
        EXPECT_EQ(handles, DrawingHandles());
        EXPECT_EQ(host().openObjectCount(), 0u);
        // The two meshes are whole: the first triangles, by the filling rule.
        Triangulation firstPart = t;
        firstPart.triangles.resize(meshes[0].faces.size() + meshes[1].faces.size());
        ExpectSplitByFillingRule(meshes, firstPart, 5);
    }
}

}  // namespace
