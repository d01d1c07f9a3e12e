// The surface functions as a user calls them, on small surfaces with known answers: the exact
// command-line line, the list result and, for kaf-contours, the polylines in the drawing; a
// surface split into several meshes (and written as polyface meshes) gives what the single mesh
// gives.
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "surface_fixture.h"

namespace {

using kafhost::CallResult;
using kafhost::EntityInfo;
using kafhost::EntityKind;
using kafhost::LispValue;

// Length of a polyline, its closing segment included when it is closed.
double Length(const EntityInfo& polyline) {
    double length = 0.0;
    const std::size_t n = polyline.points.size();
    for (std::size_t i = 0; i + 1 < n + (polyline.closed ? 1 : 0); ++i) {
        const auto& a = polyline.points[i];
        const auto& b = polyline.points[(i + 1) % n];
        length += std::hypot(b[0] - a[0], b[1] - a[1]);
    }
    return length;
}

using SurfaceFunctionTest = SurfaceTest;

TEST_F(SurfaceFunctionTest, PyramidContoursAreClosedSquaresOnTheirLayers) {
    ASSERT_TRUE(host().addLayer(L"CONTOUR"));
    ASSERT_TRUE(host().addLayer(L"MAJOR"));
    const CallResult result =
        Call(L"kaf-contours",
             {StringList({Pyramid()}), LispValue::real(2.5), LispValue::real(0.0),
              LispValue::string(L"CONTOUR"), LispValue::integer(2), LispValue::string(L"MAJOR")});
    EXPECT_EQ(result.status, RSRSLT);
    EXPECT_EQ(result.printed,
              L"\nContours: 3 polylines (3 closed, 1 major) at 3 levels from 2.500 to 7.500");
    // The apex at 10.0 touches its level in a point: no line there.
    const std::vector<EntityInfo> polylines = EntitiesOf(result);
    ASSERT_EQ(polylines.size(), 3u);
    for (std::size_t k = 0; k < polylines.size(); ++k) {
        const EntityInfo& polyline = polylines[k];
        const double level = 2.5 * static_cast<double>(k + 1);
        SCOPED_TRACE(level);
        EXPECT_EQ(polyline.type, EntityKind::kPolyline);
        EXPECT_EQ(polyline.layer, k == 1 ? L"MAJOR" : L"CONTOUR");
        EXPECT_EQ(polyline.elevation, level);
        EXPECT_TRUE(polyline.closed);
        // A square of half side 5 - level / 2 around the apex, counter-clockwise (higher ground
        // on the left).
        const auto& p = polyline.points;
        ASSERT_EQ(p.size(), 4u);
        for (const auto& point : p) {
            EXPECT_NEAR(std::fabs(point[0] - 5.0), 5.0 - level / 2.0, 1e-12);
            EXPECT_NEAR(std::fabs(point[1] - 5.0), 5.0 - level / 2.0, 1e-12);
        }
        EXPECT_GT(
            (p[1][0] - p[0][0]) * (p[2][1] - p[0][1]) - (p[1][1] - p[0][1]) * (p[2][0] - p[0][0]),
            0.0);
    }
    // The meter shows each step in turn and is gone at the end.
    std::vector<std::wstring> labels;
    for (const kafhost::MeterEvent& event : host().meterEvents()) {
        if (event.kind == kafhost::MeterEvent::Kind::kShow) {
            labels.push_back(event.label);
        }
    }
    EXPECT_EQ(labels,
              (std::vector<std::wstring>{L"Reading meshes ...", L"Joining meshes ...",
                                         L"Tracing contours ...", L"Writing contours ..."}));
    EXPECT_FALSE(host().meter().shown);
}

TEST_F(SurfaceFunctionTest, PlaneContoursAreStraightOpenLinesAcrossIt) {
    const CallResult result =
        Call(L"kaf-contours", {StringList({Plane(0.0, 1.0)}),  // z = x
                               LispValue::real(2.0), LispValue::real(1.0), LispValue::nil()});
    EXPECT_EQ(result.printed,
              L"\nContours: 5 polylines (0 closed, 0 major) at 5 levels from 1.000 to 9.000");
    const std::vector<EntityInfo> polylines = EntitiesOf(result);
    ASSERT_EQ(polylines.size(), 5u);
    for (std::size_t k = 0; k < polylines.size(); ++k) {
        const double level = 1.0 + 2.0 * static_cast<double>(k);
        EXPECT_EQ(polylines[k].layer, L"0");
        EXPECT_EQ(polylines[k].elevation, level);
        EXPECT_FALSE(polylines[k].closed);
        for (const auto& point : polylines[k].points) {
            EXPECT_NEAR(point[0], level, 1e-12);
        }
        EXPECT_NEAR(Length(polylines[k]), 10.0, 1e-12);
    }

    // A level plane lies on no level above its lowest point.
    const CallResult none =
        Call(L"kaf-contours", {StringList({Plane(3.0, 0.0)}), LispValue::real(1.5),
                               LispValue::real(0.0), LispValue::nil()});
    EXPECT_EQ(none.status, RSRSLT);
    EXPECT_TRUE(none.value.isNil());
    EXPECT_EQ(none.printed, L"\nContours: none");
}

TEST_F(SurfaceFunctionTest, PyramidStatistics) {
    const CallResult result = Call(L"kaf-surfaceStatistics", {StringList({Pyramid()})});
    EXPECT_EQ(result.printed,
              L"\nSurface: 5 vertices, 4 triangles, elevation 0.000 to 10.000 (mean 2.000), plan "
              L"area 100.000, surface area 223.607");
    // Four faces of base 10 and slant height sqrt(5^2 + 10^2).
    ExpectNumbers(result, {5, 4, 0.0, 10.0, 2.0, 100.0, 20.0 * std::sqrt(125.0)}, 1e-12);
    EXPECT_EQ(result.value.items().at(0), LispValue::integer(5));
}

TEST_F(SurfaceFunctionTest, VolumesBetweenPyramidPlanesAndDatum) {
    const std::wstring pyramid = Pyramid();
    const std::wstring ground = Plane(0.0, 0.0);
    const auto volume = [](const std::wstring& existing, const std::wstring& design) {
        return Call(L"kaf-volume", {StringList({existing}), StringList({design})});
    };
    const double v = 1000.0 / 3.0;  // the pyramid's volume
    const CallResult cut = volume(pyramid, ground);
    EXPECT_EQ(cut.printed, L"\nVolume: cut 333.333, fill 0.000, net 333.333, plan area 100.000");
    ExpectNumbers(cut, {v, 0.0, v, 100.0}, 1e-9);
    ExpectNumbers(volume(ground, pyramid), {0.0, v, -v, 100.0}, 1e-9);
    ExpectNumbers(volume(pyramid, pyramid), {0.0, 0.0, 0.0, 100.0}, 1e-9);
    ExpectNumbers(volume(Plane(2.0, 0.0), Plane(1.0, 0.0)), {100.0, 0.0, 100.0, 100.0}, 1e-9);

    // Above the datum 5 a pyramid of a quarter of the base and half the height; below it the box
    // of height 5 less the frustum.
    const CallResult datum =
        Call(L"kaf-volumeToDatum", {StringList({pyramid}), LispValue::real(5.0)});
    EXPECT_EQ(datum.printed,
              L"\nVolume: cut 41.667, fill 208.333, net -166.667, plan area 100.000");
    ExpectNumbers(datum, {v / 8.0, 500.0 - 7.0 * v / 8.0, v - 500.0, 100.0}, 1e-9);
}

// Per level: the number of polylines, how many are closed, and their total length.
struct LevelContours {
    int lines = 0;
    int closed = 0;
    double length = 0.0;
};

TEST_F(SurfaceFunctionTest, SplitAndPolyFaceMeshesGiveWhatTheSingleMeshGives) {
    std::vector<kafhost::Point3> points;
    for (int i = 0; i < 7; ++i) {
        for (int j = 0; j < 7; ++j) {
            const double x = 10.0 * i + 0.37 * j;
            const double y = 10.0 * j + 0.21 * i;
            points.push_back({x, y, 20.0 + 6.0 * std::sin(x / 17.0) * std::cos(y / 13.0)});
        }
    }
    const auto meshes = [&points](const wchar_t* function, int maxPoints) {
        return Call(function,
                    {PointListOf(points), LispValue::nil(), LispValue::integer(maxPoints)})
            .value;
    };
    const auto contoursOf = [](const LispValue& surface) {
        std::map<double, LevelContours> levels;
        for (const EntityInfo& polyline :
             EntitiesOf(Call(L"kaf-contours", {surface, LispValue::real(1.0), LispValue::real(0.5),
                                               LispValue::nil()}))) {
            LevelContours& level = levels[polyline.elevation];
            ++level.lines;
            level.closed += polyline.closed ? 1 : 0;
            level.length += Length(polyline);
        }
        return levels;
    };
    const LispValue single = meshes(L"kaf-dct-subdmesh", 100);
    ASSERT_EQ(single.items().size(), 1u);
    const CallResult statistics = Call(L"kaf-surfaceStatistics", {single});
    const CallResult datum = Call(L"kaf-volumeToDatum", {single, LispValue::real(20.0)});
    const std::map<double, LevelContours> contours = contoursOf(single);
    ASSERT_GT(contours.size(), 8u);

    for (const LispValue& other :
         {meshes(L"kaf-dct-subdmesh", 10), meshes(L"kaf-dct-pfacemesh", 12),
          // a mesh named twice counts once
          LispValue::list({single.items()[0], single.items()[0]})}) {
        SCOPED_TRACE(kafhost::wideToUtf8(kafhost::toLispText(other)));
        ASSERT_GE(other.items().size(), 2u);
        EXPECT_EQ(Call(L"kaf-surfaceStatistics", {other}).printed, statistics.printed);
        EXPECT_EQ(Call(L"kaf-volumeToDatum", {other, LispValue::real(20.0)}).printed,
                  datum.printed);
        const std::vector<LispValue>& plan = statistics.value.items();
        ExpectNumbers(Call(L"kaf-volume", {single, other}), {0, 0, 0, plan.at(5).asReal()}, 1e-9);
        const std::map<double, LevelContours> otherContours = contoursOf(other);
        ASSERT_EQ(otherContours.size(), contours.size());
        for (const auto& [level, expected] : contours) {
            SCOPED_TRACE(level);
            const LevelContours& got = otherContours.at(level);
            EXPECT_EQ(got.lines, expected.lines);
            EXPECT_EQ(got.closed, expected.closed);
            EXPECT_NEAR(got.length, expected.length, 1e-9 * expected.length);
        }
    }
}

}  // namespace
