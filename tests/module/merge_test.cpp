// kaf-mergingCoplanarFacesOfSubMesh: its argument checks, the model-space lookup under its own
// step names, the class check, and the merge report that leaves the mesh as it was.
#include <string>

#include "module_fixture.h"
#include "support/error_lines.h"

namespace {

using kafhost::LispValue;

constexpr const wchar_t* kFunction = L"kaf-mergingCoplanarFacesOfSubMesh";

using MergeTest = ModuleTest;

TEST_F(MergeTest, ArgumentMustBeAHandleString) {
    ExpectFailedWithNil(Call(kFunction),
                        Aborted(L"mergingCoplanarFacesOfSubMesh", L"Too few arguments!"));
    ExpectFailedWithNil(Call(kFunction, {LispValue::integer(12)}),
                        Aborted(L"mergingCoplanarFacesOfSubMesh",
                                L"First argument has to be a string (handle name)!"));
}

TEST_F(MergeTest, LookupFailuresEndTheCallUnderTheFunctionsStepNames) {
    const std::wstring paper =
        host().addSubDMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}}, L"0", L"paper");
    ExpectFailedWithNil(Call(kFunction, {LispValue::string(L"ABC123")}),
                        Aborted(L"mergingCoplanarFacesOfSubMesh:getAcDbObjectId",
                                acadErrorStatusText(Acad::eUnknownHandle)));
    ExpectFailedWithNil(
        Call(kFunction, {LispValue::string(paper)}),
        Aborted(L"mergingCoplanarFacesOfSubMesh:seek", acadErrorStatusText(Acad::eInvalidInput)));
}

TEST_F(MergeTest, OtherEntitiesAreNotSubdivisionMeshes) {
    const std::wstring polyface =
        host().addPolyFaceMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{1, 2, 3, 0}});
    ExpectFailedWithNil(Call(kFunction, {LispValue::string(polyface)}),
                        Aborted(L"mergingCoplanarFacesOfSubMesh", L"Object is not a SubDMesh!"));
}

TEST_F(MergeTest, SubdivisionMeshIsReportedWithNoFacesMergedAndLeftUnchanged) {
    const std::wstring mesh =
        host().addSubDMesh({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{0, 1, 2}, {0, 2, 3}});
    const kafhost::DrawingSnapshot before = host().snapshot();
    const auto result = Call(kFunction, {LispValue::string(mesh), LispValue::integer(1)});
    EXPECT_EQ(result.status, RSRSLT);
    EXPECT_TRUE(result.resultSet);
    EXPECT_TRUE(result.value.isNil());
    EXPECT_EQ(result.printed, L"\n0 faces merged.");
    const kafhost::DrawingSnapshot after = host().snapshot();
    ASSERT_EQ(after.entities.size(), 1u);
    EXPECT_EQ(after.entities[0].vertices, before.entities[0].vertices);
    EXPECT_EQ(after.entities[0].faces, before.entities[0].faces);
}

}  // namespace
