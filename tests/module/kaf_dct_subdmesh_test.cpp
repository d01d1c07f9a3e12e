// kaf-dct-subdmesh with its default maximum of 32767 points per mesh: 30,000 points make one
// mesh, 40,000 points are split into meshes that follow the triangulation's order.
#include <string>
#include <vector>

#include "mesh_writer_checks.h"
#include "module_fixture.h"

namespace {

using kafhost::EntityInfo;
using kafhost::LispValue;

LispValue PointListOf(const std::vector<kafhost::Point3>& points) {
    std::vector<LispValue> items;
    for (const kafhost::Point3& p : points) {
        items.push_back(LispValue::point(p[0], p[1], p[2]));
    }
    return LispValue::list(items);
}

LispValue HandleListOf(const std::vector<EntityInfo>& entities) {
    std::vector<LispValue> handles;
    for (const EntityInfo& entity : entities) {
        handles.push_back(LispValue::string(entity.handle));
    }
    return LispValue::list(handles);
}

using KafDctSubdmeshTest = ModuleTest;

TEST_F(KafDctSubdmeshTest, ThirtyThousandPointsMakeOneMesh) {
    const std::vector<kafhost::Point3> points = ScatteredPoints(30000);
    const kafhost::CallResult result =
        Call(L"kaf-dct-subdmesh", {PointListOf(points), LispValue::nil()});
    EXPECT_EQ(result.status, RSRSLT);
    EXPECT_EQ(result.printed,
              L"\nStart Calculation...ready after 0.000000 seconds\n\nCreate Mesh ... ");
    const std::vector<EntityInfo> entities = ModelSpaceEntities();
    ASSERT_EQ(entities.size(), 1u);
    EXPECT_EQ(result.value, HandleListOf(entities));
    const Triangulation t = Triangulate(points);
    EXPECT_EQ(entities[0].vertices.size(), t.vertices.size());
    EXPECT_EQ(entities[0].faces.size(), t.triangles.size());
}

TEST_F(KafDctSubdmeshTest, FortyThousandPointsAreSplitByTheDefaultMaximum) {
    // 40,000 vertices with at most 32767 per mesh announce ceil(40000 / 32765) = 2 meshes.
    const std::vector<kafhost::Point3> points = ScatteredPoints(40000);
    const kafhost::CallResult result =
        Call(L"kaf-dct-subdmesh", {PointListOf(points), LispValue::nil()});
    EXPECT_EQ(result.status, RSRSLT);
    EXPECT_EQ(result.printed,
              L"\nStart Calculation...ready after 0.000000 seconds\n\n"
              L"\rMesh 1/min2 will be created...\rMesh 2/min2 will be created...");
    const std::vector<EntityInfo> entities = ModelSpaceEntities();
    ASSERT_EQ(entities.size(), 2u);
    EXPECT_EQ(result.value, HandleListOf(entities));
    ExpectSplitByFillingRule({SubDShape(entities[0]), SubDShape(entities[1])}, Triangulate(points),
                             32767);
}

}  // namespace
