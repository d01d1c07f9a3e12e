// The functions that make a drawing to issue, as a user calls them: kaf-surfaceFaces and
// kaf-cdt-pface (3D faces), kaf-contourLabels on a hilly surface (every label's text, place,
// rotation and box) and kaf-spotLevels (interpolated levels, positions outside counted).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "kafhost/wide_to_utf8.h"
#include "support/error_lines.h"
#include "surface_fixture.h"

namespace {

using kafhost::CallResult;
using kafhost::EntityInfo;
using kafhost::EntityKind;
using kafhost::LispValue;

constexpr double kPi = 3.14159265358979323846;

using DrawingFunctionTest = SurfaceTest;

// A hilly terrain: a jittered grid of points over 300 m x 300 m with two hills and a valley.
std::vector<kafhost::Point3> HillyPoints() {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> jitter(-2.0, 2.0);
    std::vector<kafhost::Point3> points;
    for (int i = 0; i <= 50; ++i) {
        for (int j = 0; j <= 50; ++j) {
            const double x = i * 6.0 + (i % 50 == 0 ? 0.0 : jitter(random));
            const double y = j * 6.0 + (j % 50 == 0 ? 0.0 : jitter(random));
            const double z =
                100.0 + 25.0 * std::exp(-((x - 90) * (x - 90) + (y - 100) * (y - 100)) / 4000.0) +
                18.0 * std::exp(-((x - 210) * (x - 210) + (y - 200) * (y - 200)) / 3000.0) -
                0.03 * x + 4.0 * std::sin(y / 40.0);
            points.push_back({x, y, z});
        }
    }
    return points;
}

double DistanceToSegment(double px, double py, const kafhost::Point2& a, const kafhost::Point2& b,
                         double& direction) {
    const double dx = b[0] - a[0];
    const double dy = b[1] - a[1];
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0.0 ? ((px - a[0]) * dx + (py - a[1]) * dy) / length2 : 0.0;
    t = std::max(0.0, std::min(1.0, t));
    direction = std::atan2(dy, dx);
    return std::hypot(px - (a[0] + t * dx), py - (a[1] + t * dy));
}

// The difference of two directions of a line, in degrees, regardless of which way it runs.
double LineAngleDegrees(double a, double b) {
    double d = std::fmod(std::fabs(a - b), kPi);
    return std::min(d, kPi - d) * 180.0 / kPi;
}

struct Box {
    double x, y, ux, uy, halfLength, halfHeight;
};

bool Overlap(const Box& a, const Box& b) {
    const Box* boxes[2] = {&a, &b};
    for (const Box* axisBox : boxes) {
        for (int k = 0; k < 2; ++k) {
            const double ax = k == 0 ? axisBox->ux : -axisBox->uy;
            const double ay = k == 0 ? axisBox->uy : axisBox->ux;
            double reach = 0.0;
            for (const Box* box : boxes) {
                reach += box->halfLength * std::fabs(box->ux * ax + box->uy * ay) +
                         box->halfHeight * std::fabs(-box->uy * ax + box->ux * ay);
            }
            if (std::fabs((b.x - a.x) * ax + (b.y - a.y) * ay) >= reach) {
                return false;
            }
        }
    }
    return true;
}

TEST_F(DrawingFunctionTest, ContourLabelsShowTheirLineLevelAlongItUprightWithoutOverlap) {
    ASSERT_TRUE(host().addLayer(L"TIN"));
    ASSERT_TRUE(host().addLayer(L"CONTOUR"));
    ASSERT_TRUE(host().addLayer(L"LABELS"));
    const CallResult meshes =
        Call(L"kaf-dct-subdmesh", {PointListOf(HillyPoints()), LispValue::string(L"TIN")});
    ASSERT_EQ(meshes.status, RSRSLT);
    const CallResult contours = Call(
        L"kaf-contours",
        {meshes.value, LispValue::real(2.0), LispValue::real(0.0), LispValue::string(L"CONTOUR")});
    ASSERT_EQ(contours.status, RSRSLT);
    const std::vector<EntityInfo> lines = EntitiesOf(contours);
    const double height = 2.5;
    const CallResult labels =
        Call(L"kaf-contourLabels",
             {contours.value, LispValue::string(L"LABELS"), LispValue::real(height),
              LispValue::integer(1), LispValue::real(60.0)});
    ASSERT_EQ(labels.status, RSRSLT);
    const std::vector<EntityInfo> texts = EntitiesOf(labels);
    ASSERT_GE(texts.size(), 30u);

    std::vector<Box> boxes;
    std::vector<bool> labelled(lines.size(), false);
    for (const EntityInfo& text : texts) {
        SCOPED_TRACE(kafhost::wideToUtf8(text.handle));
        EXPECT_EQ(text.type, EntityKind::kText);
        EXPECT_EQ(text.layer, L"LABELS");
        EXPECT_EQ(text.height, height);
        EXPECT_EQ(text.horizontalMode, 4);  // middle: centred on its alignment point
        // The line it lies on, and that line's direction there.
        const double x = text.alignmentPoint[0];
        const double y = text.alignmentPoint[1];
        double best = INFINITY;
        double direction = 0.0;
        std::size_t line = 0;
        for (std::size_t k = 0; k < lines.size(); ++k) {
            const auto& p = lines[k].points;
            for (std::size_t i = 0; i + 1 < p.size() + (lines[k].closed ? 1 : 0); ++i) {
                double d = 0.0;
                const double distance = DistanceToSegment(x, y, p[i], p[(i + 1) % p.size()], d);
                if (distance < best) {
                    best = distance;
                    direction = d;
                    line = k;
                }
            }
        }
        EXPECT_LT(best, 1e-9);
        labelled[line] = true;
        char level[32];
        std::snprintf(level, sizeof level, "%.1f", lines[line].elevation);
        EXPECT_EQ(kafhost::wideToUtf8(text.text), level);
        EXPECT_EQ(text.alignmentPoint[2], lines[line].elevation);
        EXPECT_LT(LineAngleDegrees(text.rotation, direction), 1.0);
        // Upright: reads from left to right.
        EXPECT_GT(text.rotation, -kPi / 2.0);
        EXPECT_LE(text.rotation, kPi / 2.0);
        const double length = 0.9 * height * static_cast<double>(text.text.size());
        boxes.push_back(Box{x, y, std::cos(text.rotation), std::sin(text.rotation), length / 2.0,
                            height / 2.0});
    }
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        for (std::size_t j = i + 1; j < boxes.size(); ++j) {
            EXPECT_FALSE(Overlap(boxes[i], boxes[j])) << "labels " << i << " and " << j;
        }
    }
    int labelledLines = 0;
    for (const bool has : labelled) {
        labelledLines += has ? 1 : 0;
    }
    EXPECT_EQ(labels.printed, L"\nContour labels: " + std::to_wstring(texts.size()) + L" on " +
                                  std::to_wstring(labelledLines) + L" of " +
                                  std::to_wstring(lines.size()) + L" lines");
}

TEST_F(DrawingFunctionTest, ContourLabelsOnOneLayerOnlyAndArgumentErrors) {
    ASSERT_TRUE(host().addLayer(L"CONTOUR"));
    ASSERT_TRUE(host().addLayer(L"MAJOR"));
    // z = x over 10 x 10: straight lines at 1, 3, 5, 7, 9; every second one major.
    const CallResult contours =
        Call(L"kaf-contours",
             {StringList({Plane(0.0, 1.0)}), LispValue::real(2.0), LispValue::real(1.0),
              LispValue::string(L"CONTOUR"), LispValue::integer(2), LispValue::string(L"MAJOR")});
    ASSERT_EQ(contours.status, RSRSLT);
    const CallResult majors =
        Call(L"kaf-contourLabels",
             {contours.value, LispValue::nil(), LispValue::real(0.5), LispValue::integer(0),
              LispValue::real(100.0), LispValue::string(L"major")});
    EXPECT_EQ(majors.printed, L"\nContour labels: 3 on 3 of 3 lines");
    std::vector<std::wstring> shown;
    for (const EntityInfo& text : EntitiesOf(majors)) {
        shown.push_back(text.text);
        EXPECT_EQ(text.layer, L"0");
        // One label in the middle of each vertical line, reading upwards.
        EXPECT_NEAR(text.alignmentPoint[1], 5.0, 1e-12);
        EXPECT_NEAR(text.rotation, kPi / 2.0, 1e-12);
    }
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"1", L"5", L"9"}));

    const std::wstring label = L"contourLabels";
    ExpectFailedWithNil(Call(L"kaf-contourLabels", {contours.value}),
                        Aborted(label, L"Too few arguments!"));
    ExpectFailedWithNil(
        Call(L"kaf-contourLabels", {contours.value, LispValue::nil(), LispValue::integer(1),
                                    LispValue::integer(0), LispValue::real(10.0)}),
        Aborted(label, L"Third argument has to be a real!"));
    ExpectFailedWithNil(
        Call(L"kaf-contourLabels", {contours.value, LispValue::nil(), LispValue::real(1.0),
                                    LispValue::integer(7), LispValue::real(10.0)}),
        Aborted(label, L"The decimals have to be a number of 0 up to 6!"));
    ExpectFailedWithNil(
        Call(L"kaf-contourLabels", {contours.value, LispValue::nil(), LispValue::real(1.0),
                                    LispValue::integer(2), LispValue::real(-10.0)}),
        Aborted(label, L"The spacing has to be a positive number!"));
    const std::wstring mesh = Plane(0.0, 1.0);
    const CallResult notALine =
        Call(L"kaf-contourLabels", {StringList({mesh}), LispValue::nil(), LispValue::real(1.0),
                                    LispValue::integer(2), LispValue::real(10.0)});
    ExpectFailedWithNil(notALine, Aborted(label, L"Object " + mesh + L" is not a polyline!"));
}

TEST_F(DrawingFunctionTest, SpotLevelsInterpolateAndCountPositionsOutside) {
    ASSERT_TRUE(host().addLayer(L"SPOTS"));
    const std::wstring plane = Plane(10.0, 0.5);  // z = 10 + x / 2
    const CallResult given = Call(
        L"kaf-spotLevels", {StringList({plane}), LispValue::string(L"SPOTS"), LispValue::real(1.0),
                            LispValue::integer(2), PointList2({{3.0, 4.0}, {20.0, 5.0}})});
    EXPECT_EQ(given.printed, L"\nSpot levels: 1 written, 1 outside the surface");
    const std::vector<EntityInfo> spot = EntitiesOf(given);
    ASSERT_EQ(spot.size(), 2u);
    EXPECT_EQ(spot[0].type, EntityKind::kPoint);
    EXPECT_EQ(spot[0].layer, L"SPOTS");
    EXPECT_NEAR(spot[0].position[0], 3.0, 0.0);
    EXPECT_NEAR(spot[0].position[2], 11.5, 1e-12);
    EXPECT_EQ(spot[1].type, EntityKind::kText);
    EXPECT_EQ(spot[1].text, L"11.50");
    EXPECT_EQ(spot[1].horizontalMode, 0);
    EXPECT_EQ(spot[1].verticalMode, 2);
    EXPECT_NEAR(spot[1].alignmentPoint[0], 3.75, 1e-12);
    EXPECT_NEAR(spot[1].alignmentPoint[1], 4.0, 1e-12);

    // A grid of 5 over the square (0, 0) ... (10, 10): its corners and edges are on it.
    const CallResult grid =
        Call(L"kaf-spotLevels", {StringList({plane}), LispValue::nil(), LispValue::real(1.0),
                                 LispValue::integer(0), LispValue::real(5.0)});
    EXPECT_EQ(grid.printed, L"\nSpot levels: 9 written, 0 outside the surface");
    const std::vector<EntityInfo> spots = EntitiesOf(grid);
    ASSERT_EQ(spots.size(), 18u);
    EXPECT_EQ(spots[2].position[0], 5.0);  // row by row from the lowest y, by rising x
    EXPECT_EQ(spots[2].position[1], 0.0);
    EXPECT_EQ(spots[5].text, L"15");

    ExpectFailedWithNil(
        Call(L"kaf-spotLevels", {StringList({plane}), LispValue::nil(), LispValue::real(1.0),
                                 LispValue::integer(0), LispValue::string(L"5")}),
        Aborted(L"spotLevels", L"Fifth argument has to be a point list or a real!"));
    ExpectFailedWithNil(
        Call(L"kaf-spotLevels", {StringList({plane}), LispValue::nil(), LispValue::real(1.0),
                                 LispValue::integer(0), LispValue::real(0.001)}),
        Aborted(L"spotLevels", L"The spacing gives more than 1000000 spot levels!"));
    // Two meshes over the same ground that disagree: no level is written.
    const std::wstring other = Plane(0.0, 0.0);
    const std::size_t before = LiveEntities().size();
    ExpectFailedWithNil(
        Call(L"kaf-spotLevels", {StringList({plane, other}), LispValue::nil(), LispValue::real(1.0),
                                 LispValue::integer(0), PointList2({{3.0, 4.0}})}),
        Aborted(L"spotLevels", L"Mesh " + other +
                                   L" gives another elevation at (3.000, 4.000) than a mesh "
                                   L"before it!"));
    EXPECT_EQ(LiveEntities().size(), before);
}

TEST_F(DrawingFunctionTest, SurfacesAsThreeDFaces) {
    ASSERT_TRUE(host().addLayer(L"FACES"));
    const CallResult faces =
        Call(L"kaf-surfaceFaces", {StringList({Pyramid()}), LispValue::string(L"FACES")});
    EXPECT_EQ(faces.printed, L"\n3D faces: 4");
    const std::vector<EntityInfo> written = EntitiesOf(faces);
    ASSERT_EQ(written.size(), 4u);
    for (const EntityInfo& face : written) {
        EXPECT_EQ(face.type, EntityKind::kFace);
        EXPECT_EQ(face.layer, L"FACES");
        ASSERT_EQ(face.corners.size(), 4u);
        EXPECT_EQ(face.corners[3], face.corners[2]);
        // Each face has the apex and two base corners.
        EXPECT_EQ(face.corners[0][2] + face.corners[1][2] + face.corners[2][2], 10.0);
    }
    // A missing layer writes nothing.
    const std::size_t before = LiveEntities().size();
    const CallResult missing =
        Call(L"kaf-surfaceFaces", {StringList({Pyramid()}), LispValue::string(L"NONE")});
    EXPECT_EQ(missing.status, RSERR);
    EXPECT_EQ(LiveEntities().size(), before + 1);  // the new pyramid only

    const CallResult constrained =
        Call(L"kaf-cdt-pface", {PointList({{0, 0, 1}, {10, 0, 2}, {0, 10, 3}, {10, 10, 4}}),
                                LispValue::nil(), LispValue::nil(), LispValue::nil(),
                                LispValue::integer(0), LispValue::string(L"FACES")});
    EXPECT_EQ(constrained.status, RSRSLT);
    const std::vector<EntityInfo> two = EntitiesOf(constrained);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0].type, EntityKind::kFace);
    EXPECT_EQ(two[1].layer, L"FACES");
}

}  // namespace
