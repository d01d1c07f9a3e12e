// The outline search of kaf-dct-subdmesh-aa: which vertices lie inside a polyline outline (on
// and near its border, through its vertices, along arcs taken as chords), the raising by zDelta,
// the point count that chooses the writer, and the function's argument and lookup errors.
#include <algorithm>
#include <string>
#include <vector>

#include "input/is_point_in_polygon.h"
#include "module_fixture.h"

namespace {

using kafhost::LispValue;
using kafhost::Point3;

constexpr const wchar_t* kFunction = L"kaf-dct-subdmesh-aa";

bool Inside(const std::vector<AcGePoint3d>& outline, double x, double y) {
    return IsPointInPolygon(outline, AcGePoint3d(x, y, 0.0));
}

TEST(IsPointInPolygonTest, BorderPointsFollowTheCrossingRule) {
    const std::vector<AcGePoint3d> square = {
        {0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {0, 0, 0}};
    EXPECT_TRUE(Inside(square, 5, 5));
    EXPECT_FALSE(Inside(square, 20, 5));
    EXPECT_FALSE(Inside(square, -1e-9, 5));
    EXPECT_TRUE(Inside(square, 1e-9, 5));
    EXPECT_FALSE(Inside(square, 0, 5));  // left edge: out
    EXPECT_TRUE(Inside(square, 10, 5));  // right edge: in
    EXPECT_FALSE(Inside(square, 5, 0));  // bottom edge: out
    EXPECT_TRUE(Inside(square, 5, 10));  // top edge: in
    EXPECT_FALSE(Inside(square, 10 + 1e-9, 5));
    EXPECT_FALSE(Inside(square, 5, 10 + 1e-9));
    EXPECT_FALSE(Inside(square, 0, 0));
    EXPECT_TRUE(Inside(square, 10, 10));
    EXPECT_FALSE(Inside({}, 0, 0));
}

TEST(IsPointInPolygonTest, RayThroughAnOutlineVertexCountsOnce) {
    const std::vector<AcGePoint3d> diamond = {
        {5, 0, 0}, {10, 5, 0}, {5, 10, 0}, {0, 5, 0}, {5, 0, 0}};
    EXPECT_TRUE(Inside(diamond, 2, 5));
    EXPECT_TRUE(Inside(diamond, 9.9, 5));
    EXPECT_FALSE(Inside(diamond, -1, 5));
    EXPECT_FALSE(Inside(diamond, 11, 5));
    EXPECT_FALSE(Inside(diamond, 9, 9));
    // On a slanted edge the rule holds as on a vertical one: the right edge in, the left edge out.
    EXPECT_TRUE(Inside(diamond, 7.5, 2.5));
    EXPECT_FALSE(Inside(diamond, 2.5, 2.5));
    // A concave outline: the notch between x = 4 and 6 above y = 5 is outside.
    const std::vector<AcGePoint3d> notched = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {6, 10, 0},
                                              {5, 5, 0}, {4, 10, 0}, {0, 10, 0},  {0, 0, 0}};
    EXPECT_FALSE(Inside(notched, 5, 8));
    EXPECT_TRUE(Inside(notched, 2, 8));
    EXPECT_TRUE(Inside(notched, 5, 4));
}

class OutlineTest : public ModuleTest {
protected:
    static std::wstring Square() {
        return host().addPolyline({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 0.0, true);
    }
    // A mesh holding the points, with one face on the first three.
    static std::wstring Mesh(const std::vector<Point3>& points) {
        return host().addSubDMesh(points, {{0, 1, 2}});
    }
    static kafhost::CallResult Run(const std::wstring& polyline,
                                   const std::vector<std::wstring>& meshes,
                                   std::int32_t maxPoints = 100, double zDelta = 0.5) {
        return Call(kFunction, {LispValue::string(polyline), StringList(meshes), LispValue::nil(),
                                LispValue::integer(maxPoints), LispValue::real(zDelta)});
    }
    // The meshes the call made, sorted vertices of each.
    static std::vector<std::vector<Point3>> NewMeshes(const kafhost::CallResult& result) {
        EXPECT_EQ(result.status, RSRSLT) << kafhost::wideToUtf8(result.printed);
        std::vector<std::vector<Point3>> meshes;
        for (const LispValue& handle : result.value.items()) {
            kafhost::EntityInfo mesh;
            EXPECT_TRUE(host().entityInfo(handle.asString(), mesh));
            std::sort(mesh.vertices.begin(), mesh.vertices.end());
            meshes.push_back(mesh.vertices);
        }
        return meshes;
    }
};

TEST_F(OutlineTest, VerticesInsideAreRaisedAndTriangulatedIntoANewMesh) {
    const std::wstring outline = Square();
    const std::wstring mesh = Mesh({{5, 5, 1}, {1, 1, 2}, {9, 2, 3}, {20, 5, 4}});
    const auto result = Run(outline, {mesh});
    EXPECT_EQ(NewMeshes(result),
              (std::vector<std::vector<Point3>>{{{1, 1, 2.5}, {5, 5, 1.5}, {9, 2, 3.5}}}));
    kafhost::EntityInfo made;
    ASSERT_TRUE(host().entityInfo(result.value.items()[0].asString(), made));
    EXPECT_EQ(made.faces.size(), 1u);
    EXPECT_EQ(result.printed,
              L"\nStart Calculation...ready after 0.000000 seconds\n\nCreate Mesh ... ");
    // The sources are read only.
    kafhost::EntityInfo source;
    ASSERT_TRUE(host().entityInfo(mesh, source));
    EXPECT_EQ(source.vertices.size(), 4u);
    EXPECT_FALSE(host().meter().shown);
}

TEST_F(OutlineTest, ArcSegmentsSelectByTheirChords) {
    // The first segment is a half circle bowing into the square up to y = 5: (5, 1) lies outside
    // the arc's shape but inside the chords, and is taken; (5, -2) is outside both.
    const std::wstring outline =
        host().addPolyline({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 0.0, true);
    kafhost::EntityInfo info;
    ASSERT_TRUE(host().entityInfo(outline, info));
    info.handle.clear();
    info.bulges = {-1.0, 0.0, 0.0, 0.0};
    std::wstring error;
    const std::wstring arced = host().addEntity(info, error);
    ASSERT_FALSE(arced.empty()) << kafhost::wideToUtf8(error);
    const std::wstring mesh = Mesh({{5, -2, 9}, {5, 1, 1}, {2, 8, 2}, {8, 8, 3}});
    EXPECT_EQ(NewMeshes(Run(arced, {mesh}, 100, 0.0)),
              (std::vector<std::vector<Point3>>{{{2, 8, 2}, {5, 1, 1}, {8, 8, 3}}}));
}

TEST_F(OutlineTest, MeshListedTwiceCountsItsPointsTwiceForTheChoiceOfWriter) {
    const std::wstring outline = Square();
    const std::wstring mesh = Mesh({{5, 5, 1}, {1, 1, 2}, {9, 2, 3}});
    // 6 points counted, 3 distinct: above a maximum of 5 the splitting writer announces its mesh.
    const auto split = Run(outline, {mesh, mesh}, 5);
    EXPECT_EQ(NewMeshes(split).size(), 1u);
    EXPECT_NE(split.printed.find(L"\rMesh 1/min1 will be created..."), std::wstring::npos);
    host().reset();
    const std::wstring outline2 = Square();
    const std::wstring mesh2 = Mesh({{5, 5, 1}, {1, 1, 2}, {9, 2, 3}});
    const auto single = Run(outline2, {mesh2, mesh2}, 6);
    EXPECT_EQ(NewMeshes(single).size(), 1u);
    EXPECT_EQ(single.printed.find(L"\rMesh"), std::wstring::npos);
}

}  // namespace
