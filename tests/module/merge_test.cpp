// kaf-mergingCoplanarFacesOfSubMesh: its argument checks, the model-space lookup under its own
// step names, the class check, and the merge report that leaves the mesh as it was.
#include <string>

#include "module_fixture.h"

namespace {

using kafhost::LispValue;

constexpr const wchar_t* kFunction = L"kaf-mergingCoplanarFacesOfSubMesh";

using MergeTest = ModuleTest;

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
