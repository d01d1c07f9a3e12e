// The subdivision mesh writers called as the mesh functions call them: the meshes, points, faces
// and layer they leave in the drawing, the handles they give back, the status lines and
// step-error lines on the command line, and what stays after a failing host call.
#include <string>
#include <vector>

#include "mesh_writer_checks.h"
#include "module_fixture.h"
#include "output/create_splitted_subd_mesh.h"
#include "output/create_subd_mesh.h"

namespace {

using kafhost::EntityInfo;
using kafhost::HostCall;

std::wstring StepError(const std::wstring& step, const std::wstring& text) {
    return L"[Module 'kaf'] Error in function '" + step + L"': " + text + L"\n";
}

std::wstring StatusText(Acad::ErrorStatus status) {
    return acadErrorStatusText(status);
}

class SubDMeshWritersTest : public HostTest {
protected:
    void TearDown() override { EXPECT_EQ(host().openObjectCount(), 0u); }

    static std::vector<MeshShape> Meshes() {
        std::vector<MeshShape> meshes;
        for (const EntityInfo& entity : ModelSpaceEntities()) {
            EXPECT_EQ(entity.type, L"AcDbSubDMesh");
            EXPECT_EQ(entity.subDLevel, 0);
            meshes.push_back(SubDShape(entity));
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

    static Triangulation UnitSquare() {
        return Triangulate({{0, 0, 1}, {1, 0, 2}, {0, 1, 3}, {1, 1, 4}});
    }
};

TEST_F(SubDMeshWritersTest, SingleMeshCopiesTheWholeVertexListAndEveryTriangle) {
    Triangulation t = Triangulate(ScatteredPoints(12));
    // A vertex no triangle uses is still in the single mesh.
    t.vertices.emplace_back(5000.0, 5000.0, 9.0);
    std::vector<std::wstring> handles{L"AB"};
    EXPECT_EQ(CreateSubDMesh(t.triangles, t.vertices, nullptr, handles), RTNORM);
    EXPECT_EQ(host().commandLine(), L"\nCreate Mesh ... ");

    const std::vector<EntityInfo> entities = ModelSpaceEntities();
    ASSERT_EQ(entities.size(), 1u);
    EXPECT_EQ(entities[0].type, L"AcDbSubDMesh");
    EXPECT_EQ(entities[0].layer, L"0");
    EXPECT_EQ(entities[0].subDLevel, 0);
    EXPECT_EQ(handles, (std::vector<std::wstring>{L"AB", entities[0].handle}));
    ASSERT_EQ(entities[0].vertices.size(), t.vertices.size());
    for (std::size_t v = 0; v < t.vertices.size(); ++v) {
        EXPECT_EQ(entities[0].vertices[v], PositionOf(t.vertices[v]));
    }
    ASSERT_EQ(entities[0].faces.size(), t.triangles.size());
    for (std::size_t f = 0; f < t.triangles.size(); ++f) {
        const geom::CTriangle& triangle = t.triangles[f];
        EXPECT_EQ(entities[0].faces[f], (std::vector<int>{triangle.i1, triangle.i2, triangle.i3}));
    }
}

TEST_F(SubDMeshWritersTest, MeshesGoOnTheGivenLayer) {
    ASSERT_TRUE(host().addLayer(L"TIN"));
    const Triangulation t = Triangulate(ScatteredPoints(40));
    std::vector<std::wstring> handles;
    EXPECT_EQ(CreateSubDMesh(t.triangles, t.vertices, L"TIN", handles), RTNORM);
    EXPECT_EQ(CreateSplittedSubDMesh(t.triangles, t.vertices, L"TIN", 10, handles), RTNORM);
    const std::vector<EntityInfo> entities = ModelSpaceEntities();
    ASSERT_GT(entities.size(), 2u);
    for (const EntityInfo& entity : entities) {
        EXPECT_EQ(entity.layer, L"TIN");
    }
    EXPECT_EQ(handles, DrawingHandles());
}

TEST_F(SubDMeshWritersTest, SplitMeshesFollowTheFillingRuleForSmallAndLargeLimits) {
    const Triangulation t = Triangulate(ScatteredPoints(300));
    for (int maxPoints : {3, 4, 5, 6, 7, 50, 299, 3000000}) {
        SCOPED_TRACE("maxPoints " + std::to_string(maxPoints));
        host().reset();
        std::vector<std::wstring> handles;
        EXPECT_EQ(CreateSplittedSubDMesh(t.triangles, t.vertices, nullptr, maxPoints, handles),
                  RTNORM);
        ExpectSplitByFillingRule(Meshes(), t, maxPoints);
        EXPECT_EQ(handles, DrawingHandles());
    }
}

TEST_F(SubDMeshWritersTest, LimitThreeMakesOneMeshPerTriangleAndAnnouncesTheVertexCount) {
    const Triangulation t = Triangulate(ScatteredPoints(8));
    std::vector<std::wstring> handles;
    EXPECT_EQ(CreateSplittedSubDMesh(t.triangles, t.vertices, nullptr, 3, handles), RTNORM);
    const std::vector<MeshShape> meshes = Meshes();
    ASSERT_EQ(meshes.size(), t.triangles.size());
    std::wstring printed = L"\n";
    for (std::size_t m = 0; m < meshes.size(); ++m) {
        EXPECT_EQ(meshes[m].vertices.size(), 3u);
        EXPECT_EQ(meshes[m].faces, (std::vector<std::array<int, 3>>{{0, 1, 2}}));
        printed += L"\rMesh " + std::to_wstring(m + 1) + L"/min8 will be created...";
    }
    EXPECT_EQ(host().commandLine(), printed);
}

TEST_F(SubDMeshWritersTest, LimitFourGivesTheUnitSquareTwoMeshesSharingTheDiagonal) {
    const Triangulation t = UnitSquare();
    std::vector<std::wstring> handles;
    EXPECT_EQ(CreateSplittedSubDMesh(t.triangles, t.vertices, nullptr, 4, handles), RTNORM);
    const std::vector<EntityInfo> entities = ModelSpaceEntities();
    ASSERT_EQ(entities.size(), 2u);
    EXPECT_EQ(entities[0].vertices,
              (std::vector<kafhost::Point3>{{0, 0, 1}, {1, 0, 2}, {0, 1, 3}}));
    EXPECT_EQ(entities[1].vertices,
              (std::vector<kafhost::Point3>{{0, 1, 3}, {1, 0, 2}, {1, 1, 4}}));
    EXPECT_EQ(entities[0].faces, (std::vector<std::vector<int>>{{0, 1, 2}}));
    EXPECT_EQ(entities[1].faces, (std::vector<std::vector<int>>{{0, 1, 2}}));
    EXPECT_EQ(host().commandLine(),
              L"\n\rMesh 1/min2 will be created...\rMesh 2/min2 will be created...");
}

TEST_F(SubDMeshWritersTest, LimitSixTakesASecondTriangleSharingTwoVerticesThenStops) {
    const Triangulation t = UnitSquare();
    std::vector<std::wstring> handles;
    EXPECT_EQ(CreateSplittedSubDMesh(t.triangles, t.vertices, nullptr, 6, handles), RTNORM);
    const std::vector<EntityInfo> entities = ModelSpaceEntities();
    ASSERT_EQ(entities.size(), 1u);
    EXPECT_EQ(entities[0].vertices.size(), 4u);
    EXPECT_EQ(entities[0].faces, (std::vector<std::vector<int>>{{0, 1, 2}, {2, 1, 3}}));
}

TEST_F(SubDMeshWritersTest, LimitFiveStopsTheFirstMeshAfterOneTriangle) {
    const Triangulation t = Triangulate(ScatteredPoints(30));
    std::vector<std::wstring> handles;
    EXPECT_EQ(CreateSplittedSubDMesh(t.triangles, t.vertices, nullptr, 5, handles), RTNORM);
    const std::vector<MeshShape> meshes = Meshes();
    ASSERT_FALSE(meshes.empty());
    EXPECT_EQ(meshes[0].faces.size(), 1u);
    ExpectSplitByFillingRule(meshes, t, 5);
}

TEST_F(SubDMeshWritersTest, NoTrianglesMakeNoMeshAndPrintOnlyALineBreak) {
    const Triangulation t = UnitSquare();
    std::vector<std::wstring> handles{L"1F"};
    EXPECT_EQ(CreateSplittedSubDMesh({}, t.vertices, nullptr, 100, handles), RTNORM);
    EXPECT_TRUE(ModelSpaceEntities().empty());
    EXPECT_EQ(handles, std::vector<std::wstring>{L"1F"});
    EXPECT_EQ(host().commandLine(), L"\n");
}

TEST_F(SubDMeshWritersTest, MissingLayerFailsBeforeAnyMeshIsAppended) {
    const Triangulation t = Triangulate(ScatteredPoints(20));
    std::vector<std::wstring> handles;
    EXPECT_EQ(CreateSubDMesh(t.triangles, t.vertices, L"NOPE", handles), RTERROR);
    EXPECT_EQ(CreateSplittedSubDMesh(t.triangles, t.vertices, L"NOPE", 5, handles), RTERROR);
    const std::wstring line = StepError(L"CreateSubDMesh:setLayer", StatusText(Acad::eKeyNotFound));
    EXPECT_EQ(host().commandLine(), L"\nCreate Mesh ... " + line + L"\n" + line);
    EXPECT_TRUE(ModelSpaceEntities().empty());
    EXPECT_TRUE(handles.empty());
}

TEST_F(SubDMeshWritersTest, FailingHostCallsPrintTheirStepAndCreateNothing) {
    const Triangulation t = Triangulate(ScatteredPoints(20));
    // 20 vertices with maxPoints 5 announce ceil(20 / 3) = 7 meshes.
    const std::wstring announced = L"\n\rMesh 1/min7 will be created...";
    struct Failure {
        HostCall call;
        const wchar_t* step;
        Acad::ErrorStatus printedStatus;
        std::wstring splitPrinted;  // what the split writer prints before its step line
    };
    // A thrown text is reported with the status of the last successful step.
    for (const Failure& failure :
         {Failure{HostCall::kGetSymbolTable, L"CreateSubDMesh:getSymbolTable", Acad::eOutOfMemory,
                  L""},
          Failure{HostCall::kBlockTableGetAt, L"CreateSubDMesh:getAt", Acad::eOutOfMemory, L""},
          Failure{HostCall::kSetLayer, L"CreateSubDMesh:setLayer", Acad::eOutOfMemory, L"\n"},
          Failure{HostCall::kSetSubDMesh, L"CreateSubDMesh:setSubDMesh", Acad::eOk, announced},
          Failure{HostCall::kAppendAcDbEntity, L"CreateSubDMesh:appendAcDbEntity",
                  Acad::eOutOfMemory, announced}}) {
        for (bool split : {false, true}) {
            SCOPED_TRACE(std::wstring(failure.step) + (split ? L" split" : L" single"));
            host().reset();
            ASSERT_TRUE(host().addLayer(L"TIN"));
            host().failCall(failure.call, 1, Acad::eOutOfMemory);
            std::vector<std::wstring> handles;
            const int status =
                split ? CreateSplittedSubDMesh(t.triangles, t.vertices, L"TIN", 5, handles)
                      : CreateSubDMesh(t.triangles, t.vertices, L"TIN", handles);
            EXPECT_EQ(status, RTERROR);
            const std::wstring line = StepError(failure.step, StatusText(failure.printedStatus));
            EXPECT_EQ(host().commandLine(),
                      (split ? failure.splitPrinted : std::wstring(L"\nCreate Mesh ... ")) + line);
            EXPECT_TRUE(ModelSpaceEntities().empty());
            EXPECT_TRUE(handles.empty());
            EXPECT_EQ(host().openObjectCount(), 0u);
        }
    }
}

TEST_F(SubDMeshWritersTest, SplitFailureOnALaterMeshKeepsTheMeshesBefore) {
    // 20 vertices with maxPoints 5 announce ceil(20 / 3) = 7 meshes.
    const Triangulation t = Triangulate(ScatteredPoints(20));
    struct Failure {
        HostCall call;
        const wchar_t* lastAnnounced;
        std::wstring line;
    };
    for (const Failure& failure :
         {Failure{HostCall::kSetLayer, L"\rMesh 2/min7 will be created...",
                  StepError(L"CreateSubDMesh:setLayer", StatusText(Acad::eLockViolation))},
          Failure{HostCall::kSetSubDMesh, L"\rMesh 3/min7 will be created...",
                  StepError(L"CreateSubDMesh:setSubDMesh", StatusText(Acad::eOk))},
          Failure{
              HostCall::kAppendAcDbEntity, L"\rMesh 3/min7 will be created...",
              StepError(L"CreateSubDMesh:appendAcDbEntity", StatusText(Acad::eLockViolation))}}) {
        SCOPED_TRACE(failure.line);
        host().reset();
        ASSERT_TRUE(host().addLayer(L"TIN"));
        host().failCall(failure.call, 3, Acad::eLockViolation);
        std::vector<std::wstring> handles;
        EXPECT_EQ(CreateSplittedSubDMesh(t.triangles, t.vertices, L"TIN", 5, handles), RTERROR);
        const std::wstring& printed = host().commandLine();
        EXPECT_EQ(printed.substr(printed.rfind(L'\r')), failure.lastAnnounced + failure.line);
        const std::vector<MeshShape> meshes = Meshes();
        ASSERT_EQ(meshes.size(), 2u);
        EXPECT_EQ(handles, DrawingHandles());
        EXPECT_EQ(host().openObjectCount(), 0u);
        Triangulation firstPart = t;
        firstPart.triangles.resize(meshes[0].faces.size() + meshes[1].faces.size());
        ExpectSplitByFillingRule(meshes, firstPart, 5);
    }
}

}  // namespace
