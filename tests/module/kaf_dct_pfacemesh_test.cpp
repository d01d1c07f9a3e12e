// kaf-dct-pfacemesh around the 16-bit vertex count of a polyface mesh: the point count, duplicates
// included, chooses the writer, and the count -1 of a point list holding its layer sends any number
// of vertices to the single writer, which then fails on the vertex count without writing a mesh.
#include <string>
#include <vector>

#include "mesh_writer_checks.h"
#include "module_fixture.h"

namespace {

using kafhost::EntityInfo;
using kafhost::LispValue;

std::vector<LispValue> PointItems(const std::vector<kafhost::Point3>& points) {
    std::vector<LispValue> items;
    for (const kafhost::Point3& p : points) {
        items.push_back(LispValue::point(p[0], p[1], p[2]));
    }
    return items;
}

using KafDctPfacemeshTest = ModuleTest;

TEST_F(KafDctPfacemeshTest, MoreThan32767PointsGoToTheSplitWriterEvenWhenSomeAreDuplicates) {
    // 32700 positions, 32768 points: one split mesh holds them all (fewer than 32765 vertices).
    std::vector<kafhost::Point3> points = ScatteredPoints(32700);
    points.insert(points.end(), points.begin(), points.begin() + 68);
    const kafhost::CallResult result =
        Call(L"kaf-dct-pfacemesh", {LispValue::list(PointItems(points)), LispValue::nil()});
    EXPECT_EQ(result.status, RSRSLT);
    EXPECT_EQ(result.printed,
              L"\nStart Calculation...ready after 0.000000 seconds\n"
              L"\rPolyFaceMesh 1/min1 will be created...");
    const std::vector<EntityInfo> entities = ModelSpaceEntities();
    ASSERT_EQ(entities.size(), 1u);
    EXPECT_EQ(result.value, LispValue::list({LispValue::string(entities[0].handle)}));
    EXPECT_EQ(entities[0].vertices.size(), 32700u);
}

TEST_F(KafDctPfacemeshTest, LayerInsideAListOfMoreThan32767PointsEndsInAVertexNumberMismatch) {
    ASSERT_TRUE(host().addLayer(L"TIN"));
    std::vector<LispValue> items = PointItems(ScatteredPoints(32768));
    items.push_back(LispValue::string(L"TIN"));
    items.push_back(LispValue::integer(100));
    const kafhost::CallResult result = Call(L"kaf-dct-pfacemesh", {LispValue::list(items)});
    EXPECT_EQ(result.status, RSERR);
    EXPECT_TRUE(result.resultSet);
    EXPECT_TRUE(result.value.isNil());
    EXPECT_EQ(result.printed,
              L"\nStart Calculation...ready after 0.000000 seconds\n"
              L"[Module 'kaf'] Error in function 'CreatePFaceMesh: ': Vertex "
              L"number mismatch!\n");
    // No mesh without faces is left behind.
    EXPECT_TRUE(host().snapshot().entities.empty());
}

}  // namespace
