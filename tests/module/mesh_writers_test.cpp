// The polyface and the subdivision mesh writers, single and splitting, called directly and
// through kaf-dct-pfacemesh and kaf-dct-subdmesh: the argument walk with its layer and maximum,
// the choice between the single and the split writer by the point count, the meshes, vertices,
// faces and layer they leave in the drawing, the handles they give back and what they print; and
// the polyface mesh's 16-bit vertex count. (Refused calls are in the refusal tables, failing host
// calls of the writers with the injected failures.)
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
#include "support/error_lines.h"

namespace {

using kafhost::ChainBuilder;
using kafhost::EntityInfo;
using kafhost::EntityKind;
using kafhost::LispValue;

struct MeshKind {
    const char* name;
    const wchar_t* function;
    const wchar_t* label;
    MeshWriters writers;
    kafhost::EntityKind entityType;
    const wchar_t* singlePrinted;  // what the single writer prints
    const wchar_t* splitPrinted;   // what the split writer prints before its first announcement
    const wchar_t* announcement;   // an announcement up to the mesh number
    int largestMaxPoints;
    MeshShape (*shape)(const EntityInfo&);
};

void PrintTo(const MeshKind& kind, std::ostream* os) {
    *os << kind.name;
}

const MeshKind kPolyFace = {"PolyFace",
                            L"kaf-dct-pfacemesh",
                            L"dct_pfacemesh",
                            {CreatePFaceMesh, CreateSplittedPFaceMesh},
                            EntityKind::kPolyFaceMesh,
                            L"",
                            L"",
                            L"\rPolyFaceMesh ",
                            32767,
                            PolyFaceShape};

const MeshKind kSubD = {"SubD",
                        L"kaf-dct-subdmesh",
                        L"dct_subdmesh",
                        {CreateSubDMesh, CreateSplittedSubDMesh},
                        EntityKind::kSubDMesh,
                        L"\nCreate Mesh ... ",
                        L"\n",
                        L"\rMesh ",
                        3000000,
                        SubDShape};

const std::wstring kStart = L"\nStart Calculation...";
const std::wstring kReady = L"ready after 0.000000 seconds\n";

class MeshWritersTest : public ModuleTest, public ::testing::WithParamInterface<MeshKind> {
protected:
    void TearDown() override { EXPECT_EQ(host().openObjectCount(), 0u); }

    const MeshKind& W() const { return GetParam(); }

    int Single(const Triangulation& t, const wchar_t* layer,
               std::vector<std::wstring>& handles) const {
        return W().writers.single(t.triangles, t.vertices, layer, handles);
    }

    int Split(const Triangulation& t, const wchar_t* layer, int maxPoints,
              std::vector<std::wstring>& handles) const {
        return W().writers.split(t.triangles, t.vertices, layer, maxPoints, handles);
    }

    kafhost::CallResult CallW(const std::vector<LispValue>& args) const {
        return Call(W().function, args);
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

    std::wstring Announcement(int mesh, int estimate) const {
        return W().announcement + std::to_wstring(mesh) + L"/min" + std::to_wstring(estimate) +
               L" will be created...";
    }

    // The split writer's text for meshes 1 ... count with the estimate given.
    std::wstring SplitPrinted(int count, int estimate) const {
        std::wstring printed = W().splitPrinted;
        for (int mesh = 1; mesh <= count; ++mesh) {
            printed += Announcement(mesh, estimate);
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

    // A successful call: its result is the list of the handles of every mesh in the drawing.
    void ExpectHandlesOfTheDrawing(const kafhost::CallResult& result) {
        ASSERT_TRUE(result.defined);
        EXPECT_EQ(result.status, RSRSLT);
        EXPECT_TRUE(result.resultSet);
        ASSERT_FALSE(ModelSpaceEntities().empty());
        EXPECT_EQ(result.value, StringList(DrawingHandles()))
            << kafhost::wideToUtf8(kafhost::toLispText(result.value));
    }

    void ExpectSingleMeshOf(const Triangulation& t, const std::wstring& layer) {
        const std::vector<EntityInfo> entities = ModelSpaceEntities();
        ASSERT_EQ(entities.size(), 1u);
        EXPECT_EQ(entities[0].layer, layer);
        ExpectWholeTriangulation(W().shape(entities[0]), t);
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

TEST_P(MeshWritersTest, SplitMeshesFollowTheFillingRuleForSmallAndLargeLimits) {
    const Triangulation t = Triangulate(ScatteredPoints(300));
    // 301 leaves one vertex over 299 per mesh: announced as at least 2 meshes.
    for (int maxPoints : {3, 4, 5, 6, 7, 50, 299, 301, W().largestMaxPoints}) {
        SCOPED_TRACE("maxPoints " + std::to_string(maxPoints));
        host().reset();
        std::vector<std::wstring> handles;
        EXPECT_EQ(Split(t, nullptr, maxPoints, handles), RTNORM);
        ExpectSplitByFillingRule(Meshes(), t, maxPoints);
        const int limit = maxPoints - 2;
        const int estimate = (static_cast<int>(t.vertices.size()) + limit - 1) / limit;
        EXPECT_NE(host().commandLine().find(Announcement(1, estimate)), std::wstring::npos);
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

TEST_P(MeshWritersTest, NoTrianglesMakeNoMesh) {
    Triangulation t = UnitSquare();
    t.triangles.clear();
    std::vector<std::wstring> handles{L"1F"};
    EXPECT_EQ(Split(t, nullptr, 100, handles), RTNORM);
    EXPECT_TRUE(ModelSpaceEntities().empty());
    EXPECT_EQ(handles, std::vector<std::wstring>{L"1F"});
    EXPECT_EQ(host().commandLine(), W().splitPrinted);
}

TEST_P(MeshWritersTest, LayerNameAndTwoDimensionalPointsGiveAFlatMeshOnThatLayer) {
    ASSERT_TRUE(host().addLayer(L"TIN"));
    const kafhost::CallResult result =
        CallW({PointList2({{0, 0}, {1, 0}, {0, 1}, {1, 1}}), LispValue::string(L"TIN")});
    ExpectHandlesOfTheDrawing(result);
    ExpectSingleMeshOf(Triangulate({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}), L"TIN");
}

TEST_P(MeshWritersTest, MorePointsThanTheMaximumAreSplitInTriangleOrder) {
    // 2500 vertices with at most 1000 per mesh: announced as at least ceil(2500 / 998) = 3.
    const std::vector<kafhost::Point3> points = ScatteredPoints(2500);
    const kafhost::CallResult result =
        CallW({PointListOf(points), LispValue::nil(), LispValue::integer(1000)});
    ExpectHandlesOfTheDrawing(result);
    const std::vector<MeshShape> meshes = Meshes();
    EXPECT_GE(meshes.size(), 3u);
    ExpectSplitByFillingRule(meshes, Triangulate(points), 1000);
    const std::wstring opening = kStart + kReady + W().splitPrinted + Announcement(1, 3);
    EXPECT_EQ(result.printed.substr(0, opening.size()), opening);
    EXPECT_NE(result.printed.find(Announcement(static_cast<int>(meshes.size()), 3)),
              std::wstring::npos);
}

TEST_P(MeshWritersTest, DefaultMaximumOf32767PointsCountsDuplicates) {
    // 32700 positions: with 67 repeats the 32767 points go to the single writer; with 68 the 32768
    // points go to the split writer, whose one mesh holds them all (fewer than 32765 vertices).
    std::vector<kafhost::Point3> points = ScatteredPoints(32700);
    points.insert(points.end(), points.begin(), points.begin() + 67);
    const kafhost::CallResult single = CallW({PointListOf(points), LispValue::nil()});
    ExpectHandlesOfTheDrawing(single);
    EXPECT_EQ(single.printed, kStart + kReady + W().singlePrinted);

    host().reset();
    points.push_back(points[67]);
    const kafhost::CallResult split = CallW({PointListOf(points), LispValue::nil()});
    ExpectHandlesOfTheDrawing(split);
    EXPECT_EQ(split.printed, kStart + kReady + SplitPrinted(1, 1));
    const std::vector<EntityInfo> entities = ModelSpaceEntities();
    ASSERT_EQ(entities.size(), 1u);
    EXPECT_EQ(entities[0].vertices.size(), 32700u);
}

TEST_P(MeshWritersTest, TheSmallestAndLargestMaximumAreAccepted) {
    const std::vector<kafhost::Point3> points = ScatteredPoints(12);
    const kafhost::CallResult split =
        CallW({PointListOf(points), LispValue::nil(), LispValue::integer(3)});
    ExpectHandlesOfTheDrawing(split);
    ExpectSplitByFillingRule(Meshes(), Triangulate(points), 3);

    host().reset();
    const kafhost::CallResult single =
        CallW({PointListOf(points), LispValue::nil(), LispValue::integer(W().largestMaxPoints)});
    ExpectHandlesOfTheDrawing(single);
    ExpectSingleMeshOf(Triangulate(points), L"0");
}

TEST_P(MeshWritersTest, NumberAmongThePointsIsReadAsTheLayer) {
    const kafhost::Chain chain =
        ChainBuilder().lb().point(0, 0).point(1, 0).shortInt(7).point(0, 1).le().nil().build();
    const kafhost::CallResult result = CallWithChain(W().function, chain.get());
    ExpectFailedWithNil(result,
                        kStart + Aborted(W().label, L"Layer name has to be a string or nil!"));
}

TEST_P(MeshWritersTest, LayerAndMaximumInsideThePointListGiveOneMeshWhateverTheCount) {
    // The walk ends on the string with the count -1, which is never above the maximum: one mesh
    // of four vertices although 4 > 3. The closing bracket is not looked at.
    ASSERT_TRUE(host().addLayer(L"TIN"));
    const kafhost::Chain chain = ChainBuilder()
                                     .lb()
                                     .point3(0, 0, 1)
                                     .point3(1, 0, 2)
                                     .point3(0, 1, 3)
                                     .point3(1, 1, 4)
                                     .str(L"TIN")
                                     .shortInt(3)
                                     .le()
                                     .build();
    const kafhost::CallResult result = CallWithChain(W().function, chain.get());
    ExpectHandlesOfTheDrawing(result);
    EXPECT_EQ(result.printed, kStart + kReady + W().singlePrinted);
    ExpectSingleMeshOf(Triangulate({{0, 0, 1}, {1, 0, 2}, {0, 1, 3}, {1, 1, 4}}), L"TIN");
}

TEST_P(MeshWritersTest, ArgumentsAfterTheMaximumAreIgnored) {
    const kafhost::CallResult result =
        CallW({PointList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}), LispValue::nil(),
               LispValue::integer(5), LispValue::string(L"extra"), LispValue::real(1.5)});
    ExpectHandlesOfTheDrawing(result);
    EXPECT_EQ(ModelSpaceEntities().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(BothMeshKinds, MeshWritersTest, ::testing::Values(kPolyFace, kSubD),
                         [](const ::testing::TestParamInfo<MeshKind>& info) {
                             return std::string(info.param.name);
                         });

using PolyfaceVertexCountTest = ModuleTest;

TEST_F(PolyfaceVertexCountTest, LayerInsideAListOfMoreThan32767PointsEndsInAVertexNumberMismatch) {
    // The walk ends on the layer with the count -1, so the single writer gets all 32768 vertices,
    // more than a polyface mesh can count; it refuses them before appending anything.
    ASSERT_TRUE(host().addLayer(L"TIN"));
    std::vector<LispValue> items = PointListOf(ScatteredPoints(32768)).items();
    items.push_back(LispValue::string(L"TIN"));
    items.push_back(LispValue::integer(100));
    const kafhost::CallResult result = Call(L"kaf-dct-pfacemesh", {LispValue::list(items)});
    EXPECT_EQ(result.status, RSERR);
    EXPECT_TRUE(result.resultSet);
    EXPECT_TRUE(result.value.isNil());
    EXPECT_EQ(result.printed,
              kStart + kReady + StepLine(L"CreatePFaceMesh: ", L"Vertex number mismatch!"));
    EXPECT_TRUE(host().snapshot().entities.empty());
}

}  // namespace
