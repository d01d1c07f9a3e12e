// kaf-dct-pfacemesh and kaf-dct-subdmesh as a user calls them: the argument walk with its layer and
// maximum, the choice between the single and the split writer by the point count, the exact
// command-line text, the handles returned and the meshes in the drawing, triangulator failures and
// points on one line; and the polyface mesh's 16-bit vertex count. (Failing host calls of the
// writers are met with the injected failures.)
#include <ostream>
#include <string>
#include <vector>

#include "mesh_writer_checks.h"
#include "module_fixture.h"
#include "support/error_lines.h"

namespace {

using kafhost::ChainBuilder;
using kafhost::EntityInfo;
using kafhost::LispValue;

struct MeshFunctionCase {
    const wchar_t* name;
    const wchar_t* label;
    const wchar_t* integerMessage;
    const wchar_t* rangeMessage;
    int largestMaxPoints;
    const wchar_t* entityType;
    const wchar_t* singlePrinted;  // what the single writer prints when it succeeds
    const wchar_t* splitPrinted;   // what the split writer prints before its first announcement
    const wchar_t* announcement;   // the announcement up to the mesh number
    MeshShape (*shape)(const EntityInfo&);
};

void PrintTo(const MeshFunctionCase& function, std::ostream* os) {
    *os << kafhost::wideToUtf8(function.name);
}

const MeshFunctionCase kPfacemesh = {
    L"kaf-dct-pfacemesh",
    L"dct_pfacemesh",
    L"The maximum size of points in a polyfacemesh has to be an integer!",
    L"The maximum size of points in a polyfacemesh has to be a number of 3 up to 32767!",
    32767,
    L"AcDbPolyFaceMesh",
    L"",
    L"",
    L"\rPolyFaceMesh ",
    PolyFaceShape};

const MeshFunctionCase kSubdmesh = {
    L"kaf-dct-subdmesh",
    L"dct_subdmesh",
    L"The maximum size of points in a subdmesh has to be an integer!",
    L"The maximum size of points in a subdmesh has to be a number of 3 up to 3.000.000!",
    3000000,
    L"AcDbSubDMesh",
    L"\nCreate Mesh ... ",
    L"\n",
    L"\rMesh ",
    SubDShape};

const std::wstring kStart = L"\nStart Calculation...";
const std::wstring kReady = L"ready after 0.000000 seconds\n";
const std::wstring kTooFew = L"A minimum of 3 vertices are required!\n";
const std::wstring kNoMesh = L"\nNo mesh created: all points lie on one line.\n";

class MeshFunctionsTest : public ModuleTest,
                          public ::testing::WithParamInterface<MeshFunctionCase> {
protected:
    const MeshFunctionCase& F() const { return GetParam(); }

    kafhost::CallResult CallF(const std::vector<LispValue>& args) const {
        return Call(F().name, args);
    }

    std::wstring ArgumentError(const std::wstring& message) const {
        return kStart + Aborted(F().label, message);
    }

    std::wstring Announcement(int mesh, int estimate) const {
        return F().announcement + std::to_wstring(mesh) + L"/min" + std::to_wstring(estimate) +
               L" will be created...";
    }

    std::vector<MeshShape> Meshes() const {
        std::vector<MeshShape> meshes;
        for (const EntityInfo& entity : ModelSpaceEntities()) {
            EXPECT_EQ(entity.type, F().entityType);
            meshes.push_back(F().shape(entity));
        }
        return meshes;
    }

    // The list of the handles of the model-space entities, in drawing order.
    static LispValue DrawingHandleList() {
        std::vector<LispValue> handles;
        for (const EntityInfo& entity : ModelSpaceEntities()) {
            handles.push_back(LispValue::string(entity.handle));
        }
        return LispValue::list(handles);
    }

    void ExpectArgumentError(const std::vector<LispValue>& args, const std::wstring& message) {
        ExpectFailedWithNil(CallF(args), ArgumentError(message));
        EXPECT_TRUE(ModelSpaceEntities().empty());
    }

    // A successful call: its result is the list of the handles of every mesh in the drawing.
    void ExpectHandlesOfTheDrawing(const kafhost::CallResult& result) {
        ASSERT_TRUE(result.defined);
        EXPECT_EQ(result.status, RSRSLT);
        EXPECT_TRUE(result.resultSet);
        ASSERT_FALSE(ModelSpaceEntities().empty());
        EXPECT_EQ(result.value, DrawingHandleList())
            << kafhost::wideToUtf8(kafhost::toLispText(result.value));
    }

    void ExpectSingleMeshOf(const Triangulation& t, const std::wstring& layer) {
        const std::vector<EntityInfo> entities = ModelSpaceEntities();
        ASSERT_EQ(entities.size(), 1u);
        EXPECT_EQ(entities[0].layer, layer);
        ExpectWholeTriangulation(F().shape(entities[0]), t);
    }
};

TEST_P(MeshFunctionsTest, PointListAndNilWriteOneMeshOfTheTriangulation) {
    const std::vector<kafhost::Point3> points = ScatteredPoints(50);
    const kafhost::CallResult result = CallF({PointListOf(points), LispValue::nil()});
    ExpectHandlesOfTheDrawing(result);
    EXPECT_EQ(result.printed, kStart + kReady + F().singlePrinted);
    ExpectSingleMeshOf(Triangulate(points), L"0");
}

TEST_P(MeshFunctionsTest, LayerNameAndTwoDimensionalPointsGiveAFlatMeshOnThatLayer) {
    ASSERT_TRUE(host().addLayer(L"TIN"));
    const kafhost::CallResult result =
        CallF({PointList2({{0, 0}, {1, 0}, {0, 1}, {1, 1}}), LispValue::string(L"TIN")});
    ExpectHandlesOfTheDrawing(result);
    ExpectSingleMeshOf(Triangulate({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}), L"TIN");
}

TEST_P(MeshFunctionsTest, MorePointsThanTheMaximumAreSplitInTriangleOrder) {
    // 2500 vertices with at most 1000 per mesh: announced as at least ceil(2500 / 998) = 3.
    const std::vector<kafhost::Point3> points = ScatteredPoints(2500);
    const kafhost::CallResult result =
        CallF({PointListOf(points), LispValue::nil(), LispValue::integer(1000)});
    ExpectHandlesOfTheDrawing(result);
    const std::vector<MeshShape> meshes = Meshes();
    EXPECT_GE(meshes.size(), 3u);
    ExpectSplitByFillingRule(meshes, Triangulate(points), 1000);
    const std::wstring opening = kStart + kReady + F().splitPrinted + Announcement(1, 3);
    EXPECT_EQ(result.printed.substr(0, opening.size()), opening);
    EXPECT_NE(result.printed.find(Announcement(static_cast<int>(meshes.size()), 3)),
              std::wstring::npos);
}

TEST_P(MeshFunctionsTest, DefaultMaximumOf32767PointsCountsDuplicates) {
    // 32700 positions: with 67 repeats the 32767 points go to the single writer; with 68 the 32768
    // points go to the split writer, whose one mesh holds them all (fewer than 32765 vertices).
    std::vector<kafhost::Point3> points = ScatteredPoints(32700);
    points.insert(points.end(), points.begin(), points.begin() + 67);
    const kafhost::CallResult single = CallF({PointListOf(points), LispValue::nil()});
    ExpectHandlesOfTheDrawing(single);
    EXPECT_EQ(single.printed, kStart + kReady + F().singlePrinted);

    host().reset();
    points.push_back(points[67]);
    const kafhost::CallResult split = CallF({PointListOf(points), LispValue::nil()});
    ExpectHandlesOfTheDrawing(split);
    EXPECT_EQ(split.printed, kStart + kReady + F().splitPrinted + Announcement(1, 1));
    const std::vector<EntityInfo> entities = ModelSpaceEntities();
    ASSERT_EQ(entities.size(), 1u);
    EXPECT_EQ(entities[0].vertices.size(), 32700u);
}

TEST_P(MeshFunctionsTest, DuplicatePointsCountTowardsTheMaximum) {
    // Four points, three positions: 4 > 3 sends them to the split writer, 4 <= 4 does not.
    const LispValue points = PointList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 1, 0}});
    const kafhost::CallResult split = CallF({points, LispValue::nil(), LispValue::integer(3)});
    ExpectHandlesOfTheDrawing(split);
    EXPECT_EQ(split.printed, kStart + kReady + F().splitPrinted + Announcement(1, 3));

    host().reset();
    const kafhost::CallResult single = CallF({points, LispValue::nil(), LispValue::integer(4)});
    ExpectHandlesOfTheDrawing(single);
    EXPECT_EQ(single.printed, kStart + kReady + F().singlePrinted);
}

TEST_P(MeshFunctionsTest, TheSmallestAndLargestMaximumAreAccepted) {
    const std::vector<kafhost::Point3> points = ScatteredPoints(12);
    const kafhost::CallResult split =
        CallF({PointListOf(points), LispValue::nil(), LispValue::integer(3)});
    ExpectHandlesOfTheDrawing(split);
    ExpectSplitByFillingRule(Meshes(), Triangulate(points), 3);

    host().reset();
    const kafhost::CallResult single =
        CallF({PointListOf(points), LispValue::nil(), LispValue::integer(F().largestMaxPoints)});
    ExpectHandlesOfTheDrawing(single);
    ExpectSingleMeshOf(Triangulate(points), L"0");
}

TEST_P(MeshFunctionsTest, NumberAmongThePointsIsReadAsTheLayer) {
    const kafhost::Chain chain = ChainBuilder()
                                     .lb()
                                     .point3(0, 0, 0)
                                     .point3(1, 0, 0)
                                     .shortInt(7)
                                     .point3(0, 1, 0)
                                     .le()
                                     .nil()
                                     .build();
    const kafhost::CallResult result = CallWithChain(F().name, chain.get());
    ExpectFailedWithNil(result, ArgumentError(L"Layer name has to be a string or nil!"));
}

TEST_P(MeshFunctionsTest, LayerAndMaximumInsideThePointListGiveOneMeshWhateverTheCount) {
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
    const kafhost::CallResult result = CallWithChain(F().name, chain.get());
    ExpectHandlesOfTheDrawing(result);
    EXPECT_EQ(result.printed, kStart + kReady + F().singlePrinted);
    ExpectSingleMeshOf(Triangulate({{0, 0, 1}, {1, 0, 2}, {0, 1, 3}, {1, 1, 4}}), L"TIN");
}

TEST_P(MeshFunctionsTest, ArgumentsAfterTheMaximumAreIgnored) {
    const kafhost::CallResult result =
        CallF({PointList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}), LispValue::nil(),
               LispValue::integer(5), LispValue::string(L"extra"), LispValue::real(1.5)});
    ExpectHandlesOfTheDrawing(result);
    EXPECT_EQ(ModelSpaceEntities().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(BothMeshKinds, MeshFunctionsTest, ::testing::Values(kPfacemesh, kSubdmesh),
                         [](const ::testing::TestParamInfo<MeshFunctionCase>& info) {
                             return std::string(info.param.largestMaxPoints == 32767 ? "Pfacemesh"
                                                                                     : "Subdmesh");
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
