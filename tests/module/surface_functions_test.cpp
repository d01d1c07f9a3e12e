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
using kafhost::LispValue;
using kafhost::MeterEvent;

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

// Twice the signed plan area of a closed polyline: positive when it runs counter-clockwise.
double TwiceSignedArea(const EntityInfo& polyline) {
    double area = 0.0;
    const std::size_t n = polyline.points.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto& a = polyline.points[i];
        const auto& b = polyline.points[(i + 1) % n];
        area += a[0] * b[1] - b[0] * a[1];
    }
    return area;
}

using SurfaceFunctionTest = SurfaceTest;

TEST_F(SurfaceFunctionTest, PyramidContoursAreClosedSquaresOnTheirLayers) {
    ASSERT_TRUE(host().addLayer(L"CONTOUR"));
    ASSERT_TRUE(host().addLayer(L"MAJOR"));
    const std::wstring pyramid = Pyramid();
    const CallResult result =
        Call(L"kaf-contours",
             {Handles({pyramid}), LispValue::real(2.5), LispValue::real(0.0),
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
        EXPECT_EQ(polyline.type, L"AcDbPolyline");
        EXPECT_EQ(polyline.layer, k == 1 ? L"MAJOR" : L"CONTOUR");
        EXPECT_EQ(polyline.elevation, level);
        EXPECT_TRUE(polyline.closed);
        // A square of half side 5 - level / 2 around the apex, higher ground on the left.
        const double half = 5.0 - level / 2.0;
        ASSERT_EQ(polyline.points.size(), 4u);
        for (const auto& point : polyline.points) {
            EXPECT_NEAR(std::fabs(point[0] - 5.0), half, 1e-12);
            EXPECT_NEAR(std::fabs(point[1] - 5.0), half, 1e-12);
        }
        EXPECT_NEAR(TwiceSignedArea(polyline), 2 * 4 * half * half, 1e-9);
        EXPECT_TRUE(polyline.bulges.empty() || polyline.bulges == std::vector<double>(4, 0.0));
    }

    // The meter shows each step in turn and is gone at the end.
    std::vector<std::wstring> labels;
    for (const MeterEvent& event : host().meterEvents()) {
        if (event.kind == MeterEvent::Kind::kShow &&
            (labels.empty() || labels.back() != event.label)) {
            labels.push_back(event.label);
        }
    }
    EXPECT_EQ(labels,
              (std::vector<std::wstring>{L"Reading meshes ...", L"Joining meshes ...",
                                         L"Tracing contours ...", L"Writing contours ..."}));
    EXPECT_FALSE(host().meter().shown);
}

TEST_F(SurfaceFunctionTest, PlaneContoursAreStraightOpenLinesAcrossIt) {
    const std::wstring plane = Plane(0.0, 1.0);  // z = x
    const CallResult result = Call(L"kaf-contours", {Handles({plane}), LispValue::real(2.0),
                                                     LispValue::real(1.0), LispValue::nil()});
    EXPECT_EQ(result.printed,
              L"\nContours: 5 polylines (0 closed, 0 major) at 5 levels from 1.000 to 9.000");
    const std::vector<EntityInfo> polylines = EntitiesOf(result);
    ASSERT_EQ(polylines.size(), 5u);
    for (std::size_t k = 0; k < polylines.size(); ++k) {
        const EntityInfo& polyline = polylines[k];
        const double level = 1.0 + 2.0 * static_cast<double>(k);
        EXPECT_EQ(polyline.layer, L"0");
        EXPECT_EQ(polyline.elevation, level);
        EXPECT_FALSE(polyline.closed);
        for (const auto& point : polyline.points) {
            EXPECT_NEAR(point[0], level, 1e-12);
        }
        EXPECT_NEAR(Length(polyline), 10.0, 1e-12);
    }
}

TEST_F(SurfaceFunctionTest, LevelsOutsideTheSurfaceGiveNoLineAndNil) {
    const CallResult result = Call(
        L"kaf-contours",
        {Handles({Plane(3.0, 0.0)}), LispValue::real(1.5), LispValue::real(0.0), LispValue::nil()});
    EXPECT_EQ(result.status, RSRSLT);
    EXPECT_TRUE(result.value.isNil());
    EXPECT_EQ(result.printed, L"\nContours: none");
    EXPECT_EQ(host().snapshot().entities.size(), 1u);
}

TEST_F(SurfaceFunctionTest, PyramidStatistics) {
    const CallResult result = Call(L"kaf-surfaceStatistics", {Handles({Pyramid()})});
    EXPECT_EQ(result.status, RSRSLT);
    EXPECT_EQ(result.printed,
              L"\nSurface: 5 vertices, 4 triangles, elevation 0.000 to 10.000 (mean 2.000), plan "
              L"area 100.000, surface area 223.607");
    ASSERT_EQ(result.value.items().size(), 7u);
    EXPECT_EQ(result.value.items()[0], LispValue::integer(5));
    EXPECT_EQ(result.value.items()[1], LispValue::integer(4));
    const std::vector<double> numbers = Numbers(result);
    EXPECT_EQ(numbers[2], 0.0);
    EXPECT_EQ(numbers[3], 10.0);
    EXPECT_DOUBLE_EQ(numbers[4], 2.0);
    EXPECT_DOUBLE_EQ(numbers[5], 100.0);
    // Four faces of base 10 and slant height sqrt(5^2 + 10^2).
    EXPECT_DOUBLE_EQ(numbers[6], 20.0 * std::sqrt(125.0));
}

TEST_F(SurfaceFunctionTest, VolumesBetweenPyramidPlanesAndDatum) {
    const std::wstring pyramid = Pyramid();
    const std::wstring ground = Plane(0.0, 0.0);
    const auto volume = [](const std::wstring& existing, const std::wstring& design) {
        return Call(L"kaf-volume", {Handles({existing}), Handles({design})});
    };
    const double pyramidVolume = 1000.0 / 3.0;

    const CallResult cut = volume(pyramid, ground);
    EXPECT_EQ(cut.printed, L"\nVolume: cut 333.333, fill 0.000, net 333.333, plan area 100.000");
    const std::vector<double> cutNumbers = Numbers(cut);
    ASSERT_EQ(cutNumbers.size(), 4u);
    EXPECT_NEAR(cutNumbers[0], pyramidVolume, 1e-9);
    EXPECT_EQ(cutNumbers[1], 0.0);
    EXPECT_NEAR(cutNumbers[2], pyramidVolume, 1e-9);
    EXPECT_NEAR(cutNumbers[3], 100.0, 1e-9);

    // Swapped, cut and fill swap.
    const std::vector<double> fill = Numbers(volume(ground, pyramid));
    ASSERT_EQ(fill.size(), 4u);
    EXPECT_EQ(fill[0], 0.0);
    EXPECT_NEAR(fill[1], pyramidVolume, 1e-9);
    EXPECT_NEAR(fill[2], -pyramidVolume, 1e-9);

    const std::vector<double> itself = Numbers(volume(pyramid, pyramid));
    EXPECT_EQ(itself, (std::vector<double>{0.0, 0.0, 0.0, itself.at(3)}));
    EXPECT_NEAR(itself[3], 100.0, 1e-9);

    const std::vector<double> planes = Numbers(volume(Plane(2.0, 0.0), Plane(1.0, 0.0)));
    ASSERT_EQ(planes.size(), 4u);
    EXPECT_NEAR(planes[0], 100.0, 1e-9);
    EXPECT_EQ(planes[1], 0.0);

    // Above the datum 5 a pyramid of a quarter of the base and half the height; below it the
    // box of height 5 less the frustum.
    const CallResult datum = Call(L"kaf-volumeToDatum", {Handles({pyramid}), LispValue::real(5.0)});
    EXPECT_EQ(datum.printed,
              L"\nVolume: cut 41.667, fill 208.333, net -166.667, plan area 100.000");
    const std::vector<double> datumNumbers = Numbers(datum);
    ASSERT_EQ(datumNumbers.size(), 4u);
    EXPECT_NEAR(datumNumbers[0], 125.0 / 3.0, 1e-9);
    EXPECT_NEAR(datumNumbers[1], 625.0 / 3.0, 1e-9);
    EXPECT_NEAR(datumNumbers[2], -500.0 / 3.0, 1e-9);
}

// Per level: the number of polylines, how many are closed, and their total length.
struct LevelContours {
    int lines = 0;
    int closed = 0;
    double length = 0.0;
};

std::map<double, LevelContours> ContoursByLevel(const std::vector<EntityInfo>& polylines) {
    std::map<double, LevelContours> levels;
    for (const EntityInfo& polyline : polylines) {
        LevelContours& level = levels[polyline.elevation];
        ++level.lines;
        level.closed += polyline.closed ? 1 : 0;
        level.length += Length(polyline);
    }
    return levels;
}

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
        const CallResult made =
            Call(function, {PointListOf(points), LispValue::nil(), LispValue::integer(maxPoints)});
        return made.value;
    };
    const LispValue single = meshes(L"kaf-dct-subdmesh", 100);
    const LispValue split = meshes(L"kaf-dct-subdmesh", 10);
    const LispValue polyface = meshes(L"kaf-dct-pfacemesh", 12);
    ASSERT_EQ(single.items().size(), 1u);
    ASSERT_GT(split.items().size(), 3u);
    ASSERT_GT(polyface.items().size(), 3u);

    const std::vector<double> statistics = Numbers(Call(L"kaf-surfaceStatistics", {single}));
    const std::vector<double> datum =
        Numbers(Call(L"kaf-volumeToDatum", {single, LispValue::real(20.0)}));
    const auto contoursOf = [](const LispValue& surface) {
        return ContoursByLevel(
            EntitiesOf(Call(L"kaf-contours", {surface, LispValue::real(1.0), LispValue::real(0.5),
                                              LispValue::nil()})));
    };
    const std::map<double, LevelContours> contours = contoursOf(single);
    ASSERT_EQ(statistics.size(), 7u);
    EXPECT_EQ(statistics[0], 49.0);
    EXPECT_GT(contours.size(), 8u);

    for (const LispValue& other : {split, polyface}) {
        SCOPED_TRACE(kafhost::wideToUtf8(kafhost::toLispText(other)));
        const std::vector<double> otherStatistics =
            Numbers(Call(L"kaf-surfaceStatistics", {other}));
        ASSERT_EQ(otherStatistics.size(), 7u);
        for (std::size_t i = 0; i < 7; ++i) {
            EXPECT_NEAR(otherStatistics[i], statistics[i], 1e-9 * std::fabs(statistics[i]));
        }
        const std::vector<double> otherDatum =
            Numbers(Call(L"kaf-volumeToDatum", {other, LispValue::real(20.0)}));
        ASSERT_EQ(otherDatum.size(), 4u);
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_NEAR(otherDatum[i], datum[i], 1e-9 * std::fabs(datum[3]));
        }
        const std::vector<double> between = Numbers(Call(L"kaf-volume", {single, other}));
        ASSERT_EQ(between.size(), 4u);
        EXPECT_NEAR(between[0], 0.0, 1e-9);
        EXPECT_NEAR(between[1], 0.0, 1e-9);
        EXPECT_NEAR(between[3], statistics[5], 1e-9 * statistics[5]);

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
