// The profile functions as a user calls them, on the pyramid and planes with known answers: the
// profile's list and its 3D polylines, gaps, sections' areas, volumes and table, the cut/fill
// map's meshes, colours and volume, and the exact argument errors.
#include <string>
#include <vector>

#include "support/error_lines.h"
#include "surface_fixture.h"

namespace {

using kafhost::CallResult;
using kafhost::EntityInfo;
using kafhost::EntityKind;
using kafhost::LispValue;

using ProfileFunctionTest = SurfaceTest;

// The (station elevation) pairs of a profile list, a gap as (-1 -1).
std::vector<std::array<double, 2>> Pairs(const LispValue& profile) {
    std::vector<std::array<double, 2>> pairs;
    for (const LispValue& item : profile.items()) {
        if (item.isNil()) {
            pairs.push_back({-1, -1});
        } else {
            pairs.push_back({item.items()[0].asNumber(), item.items()[1].asNumber()});
        }
    }
    return pairs;
}

// Across the pyramid through its apex: in at its edge, over the apex, out at the other edge;
// drawn as one 3D polyline on the layer.
TEST_F(ProfileFunctionTest, PyramidProfileRunsOverTheApex) {
    const std::wstring pyramid = Pyramid();
    host().addLayer(L"PROFILE");
    const std::wstring line = host().addPolyline({{-2, 5}, {12, 5}}, 3.0, false);
    const CallResult result = Call(L"kaf-profile", {StringList({pyramid}), LispValue::string(line),
                                                    LispValue::string(L"PROFILE")});
    EXPECT_EQ(result.printed,
              L"\nProfile: 3 points in 1 piece, stations 2.000 to 12.000, "
              L"elevations 0.000 to 10.000");
    const std::vector<std::array<double, 2>> expected = {{2, 0}, {7, 10}, {12, 0}};
    EXPECT_EQ(Pairs(result.value), expected);
    const std::vector<EntityInfo> live = LiveEntities();
    ASSERT_EQ(live.size(), 3u);
    const EntityInfo& drawn = live.back();
    EXPECT_EQ(drawn.type, EntityKind::kPolyline3d);
    EXPECT_EQ(drawn.layer, L"PROFILE");
    const std::vector<kafhost::Point3> vertices = {{0, 5, 0}, {5, 5, 10}, {10, 5, 0}};
    EXPECT_EQ(drawn.vertices, vertices);
}

// A 3D polyline that leaves the pyramid and comes back, with a point every 4 m: nil in the
// list at the gap, a 3D polyline per piece.
TEST_F(ProfileFunctionTest, GapsShowAsNilAndSeparatePolylines) {
    const std::wstring pyramid = Pyramid();
    const std::wstring line =
        host().add3dPolyline({{1, 5, 0}, {-3, 5, 0}, {-3, 6, 0}, {1, 6, 0}}, false);
    const CallResult result = Call(L"kaf-profile", {StringList({pyramid}), LispValue::string(line),
                                                    LispValue::nil(), LispValue::real(4.0)});
    EXPECT_EQ(result.printed,
              L"\nProfile: 4 points in 2 pieces, stations 0.000 to 9.000, "
              L"elevations 0.000 to 2.000");
    const std::vector<std::array<double, 2>> expected = {{0, 2}, {1, 0}, {-1, -1}, {8, 0}, {9, 2}};
    EXPECT_EQ(Pairs(result.value), expected);
    EXPECT_EQ(LiveEntities().size(), 4u);
}

TEST_F(ProfileFunctionTest, ProfileArgumentErrors) {
    const std::wstring pyramid = Pyramid();
    const std::wstring line = host().addPolyline({{-2, 5}, {12, 5}}, 0.0, false);
    const LispValue surface = StringList({pyramid});
    ExpectFailedWithNil(Call(L"kaf-profile", {surface, LispValue::string(line)}),
                        Aborted(L"profile", L"Too few arguments!"));
    ExpectFailedWithNil(Call(L"kaf-profile", {surface, LispValue::integer(5), LispValue::nil()}),
                        Aborted(L"profile", L"Second argument has to be a handle string!"));
    ExpectFailedWithNil(Call(L"kaf-profile", {surface, LispValue::string(line), LispValue::nil(),
                                              LispValue::integer(5)}),
                        Aborted(L"profile", L"Fourth argument has to be a real!"));
    ExpectFailedWithNil(Call(L"kaf-profile", {surface, LispValue::string(line), LispValue::nil(),
                                              LispValue::real(0.0)}),
                        Aborted(L"profile", L"The interval has to be a positive number!"));
    ExpectFailedWithNil(
        Call(L"kaf-profile", {surface, LispValue::string(pyramid), LispValue::nil()}),
        Aborted(L"profile", L"Object " + pyramid + L" is not a 3D polyline or polyline!"));
    EXPECT_EQ(LiveEntities().size(), 2u);
}

// Existing z = 0.5 x against the level design z = 2, sections across x = 1, 5 and 9, 2 m
// either side: fill 1.5 * 4, then cut 0.5 * 4 and 2.5 * 4; average-end-area volumes between.
TEST_F(ProfileFunctionTest, SectionsBetweenTwoPlanes) {
    const std::wstring existing = Plane(0.0, 0.5);
    const std::wstring design = Plane(2.0, 0.0);
    const std::wstring line = host().addPolyline({{1, 5}, {9, 5}}, 0.0, false);
    const CallResult result =
        Call(L"kaf-sections", {LispValue::string(line), LispValue::real(4.0), LispValue::real(2.0),
                               LispValue::real(2.0), StringList({existing}), StringList({design})});
    EXPECT_EQ(result.printed,
              L"\nSections: 3 stations from 0.000 to 8.000, 2.000 left and 2.000 right"
              L"\n     Station     Cut area    Fill area     Cut volume    Fill volume"
              L"\n       0.000        0.000        6.000          0.000          0.000"
              L"\n       4.000        2.000        0.000          4.000         12.000"
              L"\n       8.000       10.000        0.000         24.000          0.000"
              L"\n       Total                                   28.000         12.000");
    const std::vector<LispValue>& sections = result.value.items();
    ASSERT_EQ(sections.size(), 3u);
    const std::vector<LispValue>& middle = sections[1].items();
    ASSERT_EQ(middle.size(), 7u);
    EXPECT_EQ(middle[0].asNumber(), 4.0);
    // The plane's diagonal crosses the cut at the line.
    const std::vector<std::array<double, 2>> ground = {{-2, 2.5}, {0, 2.5}, {2, 2.5}};
    EXPECT_EQ(Pairs(middle[1]), ground);
    EXPECT_NEAR(middle[3].asNumber(), 2.0, 1e-12);
    EXPECT_NEAR(middle[5].asNumber(), 4.0, 1e-12);

    // One surface: (station profile) only, no table.
    const CallResult one =
        Call(L"kaf-sections", {LispValue::string(line), LispValue::real(4.0), LispValue::real(0.0),
                               LispValue::real(2.0), StringList({existing})});
    EXPECT_EQ(one.printed,
              L"\nSections: 3 stations from 0.000 to 8.000, 0.000 left and 2.000 right");
    ASSERT_EQ(one.value.items().size(), 3u);
    EXPECT_EQ(one.value.items()[0].items().size(), 2u);
    ExpectFailedWithNil(
        Call(L"kaf-sections", {LispValue::string(line), LispValue::real(4.0), LispValue::real(0.0),
                               LispValue::real(0.0), StringList({existing})}),
        Aborted(L"sections", L"The widths have to be numbers of 0 or more, not both 0!"));
    ExpectFailedWithNil(
        Call(L"kaf-sections", {LispValue::string(line), LispValue::real(4.0), LispValue::real(1.0),
                               LispValue::real(1.0), LispValue::real(1.0)}),
        Aborted(L"sections", L"Fifth argument has to be a handle list!"));
}

// The pyramid against the level ground at 0: the map is the pyramid, its volume to datum 0 the
// pyramid's, the apex in the full cut colour and the corners white.
TEST_F(ProfileFunctionTest, CutFillMapOfThePyramid) {
    const std::wstring pyramid = Pyramid();
    const std::wstring ground = Plane(0.0, 0.0);
    host().addLayer(L"CUTFILL");
    const CallResult map = Call(L"kaf-isopach", {StringList({pyramid}), StringList({ground}),
                                                 LispValue::string(L"CUTFILL")});
    EXPECT_EQ(map.printed,
              L"\nCreate Mesh ... finished\n\rMesh: 1 of 1, Number of vertices: 5"
              L"\nCut/fill map: 5 vertices, 4 triangles, difference 0.000 to 10.000, colours over "
              L"+-10.000");
    const std::vector<EntityInfo> meshes = EntitiesOf(map);
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_EQ(meshes[0].layer, L"CUTFILL");
    ASSERT_EQ(meshes[0].vertexColours.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        const kafhost::Rgb expected = meshes[0].vertices[i][2] == 10.0
                                          ? kafhost::Rgb{200, 40, 30}
                                          : kafhost::Rgb{255, 255, 255};
        EXPECT_EQ(meshes[0].vertexColours[i], expected);
    }
    ExpectNumbers(Call(L"kaf-volumeToDatum", {map.value, LispValue::real(0.0)}),
                  {1000.0 / 3, 0.0, 1000.0 / 3, 100.0}, 1e-9);

    // Half the range: the colours reach full strength at 5; the fill side is blue.
    const CallResult fill =
        Call(L"kaf-isopach", {StringList({ground}), StringList({pyramid}), LispValue::nil(),
                              LispValue::integer(4), LispValue::real(5.0)});
    const std::vector<EntityInfo> split = EntitiesOf(fill);
    EXPECT_EQ(split.size(), 4u);  // a mesh takes faces while it has fewer than 4 - 2 vertices
    for (const EntityInfo& mesh : split) {
        for (std::size_t i = 0; i < mesh.vertices.size(); ++i) {
            const kafhost::Rgb expected = mesh.vertices[i][2] == -10.0
                                              ? kafhost::Rgb{30, 90, 200}
                                              : kafhost::Rgb{255, 255, 255};
            EXPECT_EQ(mesh.vertexColours[i], expected);
        }
    }
    ExpectFailedWithNil(
        Call(L"kaf-isopach", {StringList({pyramid}), StringList({ground}), LispValue::nil(),
                              LispValue::integer(32767), LispValue::real(-1.0)}),
        Aborted(L"isopach", L"The range has to be a positive number!"));
}

TEST_F(ProfileFunctionTest, CutFillMapOfSurfacesApartIsNil) {
    const std::wstring pyramid = Pyramid();
    const std::wstring far = host().addSubDMesh({{20, 0, 0}, {30, 0, 0}, {20, 10, 0}}, {{0, 1, 2}});
    const CallResult map =
        Call(L"kaf-isopach", {StringList({pyramid}), StringList({far}), LispValue::nil()});
    EXPECT_EQ(map.status, RSRSLT);
    EXPECT_TRUE(map.value.isNil());
    EXPECT_EQ(map.printed, L"\nCut/fill map: the surfaces do not overlap");
}

}  // namespace
