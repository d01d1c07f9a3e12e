// The constrained surface functions as users meet them: the same meshes as the unconstrained
// functions without lines; kerbs, a boundary and a hole shaping the surface; the elevations the
// hard cases take; survey point files, and their reader on its own (column layouts, the easting
// and northing columns put where they belong, the listing of unreadable rows cut off after ten).
// (Refused calls are in the refusal tables, failing host calls with the injected failures.)
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "geom/dct/dct.h"
#include "input/point_file.h"
#include "input/survey_point_file.h"
#include "kafhost/drawing_dxf.h"
#include "mesh_writer_checks.h"
#include "module_fixture.h"
#include "support/files.h"
#include "support/refused_allocation.h"
#include "support/survey_reads.h"

namespace {

using kafhost::EntityInfo;
using kafhost::LispValue;
using kafhost::Point2;
using kafhost::Point3;

const LispValue kNil = LispValue::nil();

class ConstrainedFunctions : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        host().setMessageBoxEcho(false);
        ASSERT_TRUE(host().addLayer(L"TIN"));
    }

    static std::vector<EntityInfo> EntitiesFrom(std::size_t first) {
        std::vector<EntityInfo> entities = host().snapshot().entities;
        entities.erase(entities.begin(), entities.begin() + static_cast<std::ptrdiff_t>(first));
        return entities;
    }

    // The faces of one subdivision mesh as corner triples.
    static std::vector<std::array<Point3, 3>> Faces(const EntityInfo& mesh) {
        std::vector<std::array<Point3, 3>> faces;
        for (const std::vector<int>& face : mesh.faces) {
            faces.push_back(
                {mesh.vertices[face[0]], mesh.vertices[face[1]], mesh.vertices[face[2]]});
        }
        return faces;
    }

    // Calls the function and gives the one subdivision mesh it made.
    static EntityInfo OneMesh(const std::vector<LispValue>& args) {
        const std::size_t before = host().snapshot().entities.size();
        const kafhost::CallResult result = Call(L"kaf-cdt-subdmesh", args);
        EXPECT_EQ(result.status, RSRSLT) << kafhost::wideToUtf8(result.printed);
        const std::vector<EntityInfo> made = EntitiesFrom(before);
        EXPECT_EQ(made.size(), 1u);
        return made.empty() ? EntityInfo{} : made[0];
    }

    static double ElevationAt(const EntityInfo& mesh, double x, double y) {
        for (const Point3& v : mesh.vertices) {
            if (v[0] == x && v[1] == y) {
                return v[2];
            }
        }
        ADD_FAILURE() << "no vertex at " << x << ", " << y;
        return NAN;
    }
};

double Cross(const Point3& o, const Point3& a, const Point3& b) {
    return (a[0] - o[0]) * (b[1] - o[1]) - (a[1] - o[1]) * (b[0] - o[0]);
}

// Whether the open segments pq and ab cross at one point inside both.
bool CrossProperly(const Point3& p, const Point3& q, const Point3& a, const Point3& b) {
    const double d1 = Cross(p, q, a);
    const double d2 = Cross(p, q, b);
    const double d3 = Cross(a, b, p);
    const double d4 = Cross(a, b, q);
    return ((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0));
}

double Area(const std::vector<std::array<Point3, 3>>& faces) {
    double area = 0.0;
    for (const auto& f : faces) {
        area += Cross(f[0], f[1], f[2]) / 2.0;
    }
    return area;
}

TEST_F(ConstrainedFunctions, WithoutLinesTheMeshesAndTheirSplitAreTheUnconstrainedFunctions) {
    const LispValue points = PointListOf(ScatteredPoints(200));
    const struct {
        const wchar_t* unconstrained;
        const wchar_t* constrained;
        int maximum;
    } pairs[] = {{L"kaf-dct-subdmesh", L"kaf-cdt-subdmesh", 40},
                 {L"kaf-dct-subdmesh", L"kaf-cdt-subdmesh", 1000},
                 {L"kaf-dct-pfacemesh", L"kaf-cdt-pfacemesh", 40}};
    for (const auto& pair : pairs) {
        host().reset();
        ASSERT_TRUE(host().addLayer(L"TIN"));
        const LispValue layer = LispValue::string(L"TIN");
        const LispValue maximum = LispValue::integer(pair.maximum);
        const kafhost::CallResult plain = Call(pair.unconstrained, {points, layer, maximum});
        const std::size_t split = host().snapshot().entities.size();
        const kafhost::CallResult constrained = Call(
            pair.constrained, {points, kNil, kNil, kNil, LispValue::real(0.0), layer, maximum});
        EXPECT_EQ(constrained.printed, plain.printed);
        const std::vector<EntityInfo> all = host().snapshot().entities;
        ASSERT_EQ(all.size(), 2 * split);
        EXPECT_EQ(split > 1, pair.maximum == 40);
        for (std::size_t i = 0; i < split; ++i) {
            EXPECT_EQ(all[split + i].vertices, all[i].vertices);
            EXPECT_EQ(all[split + i].faces, all[i].faces);
            EXPECT_EQ(all[split + i].layer, L"TIN");
        }
    }
}

// Without lines the point-file functions draw what the plain ones draw from the same file: the
// same meshes, split alike, with the same handles, byte for byte the same DXF drawing; each
// function prints its own texts before the writer's, and the writer's are the same.
TEST_F(ConstrainedFunctions, WithoutLinesThePointFileFunctionsDrawWhatThePlainOnesDraw) {
    TempFolder folder;
    std::string rows;
    for (int i = 0; i < 300; ++i) {
        char row[64];
        std::snprintf(row, sizeof row, "%d.%03d %d.%03d %d.%02d\n", (i * 37) % 101,
                      (i * 7919) % 1000, (i * 53) % 97, (i * 104729) % 1000, 10 + i % 9,
                      (i * 31) % 100);
        rows += row;
    }
    const LispValue files = StringList({folder.Write("survey.xyz", rows).wstring()});
    // The plain functions' timing lines, and their last texts: the subdivision one's timing line
    // has no line end and "finished" follows its writer.
    const wchar_t* const subdTiming = L"ready after 0.000000 seconds";
    const wchar_t* const pfaceTiming = L"ready after 0.000000 seconds\n";
    const struct {
        const wchar_t* plain;
        const wchar_t* constrained;
        int maximum;
        std::size_t meshes;
        const wchar_t* plainTiming;
        const wchar_t* plainEnd;
    } pairs[] = {{L"kaf-dct-subdmesh-withloadcsv", L"kaf-cdt-subdmesh-withloadcsv", 100, 4,
                  subdTiming, L"finished"},
                 {L"kaf-dct-subdmesh-withloadcsv", L"kaf-cdt-subdmesh-withloadcsv", 32767, 1,
                  subdTiming, L"finished"},
                 {L"kaf-dct-pfacemesh-withloadcsv", L"kaf-cdt-pfacemesh-withloadcsv", 120, 4,
                  pfaceTiming, L""}};
    for (const auto& pair : pairs) {
        const LispValue layer = LispValue::string(L"TIN");
        const LispValue maximum = LispValue::integer(pair.maximum);
        host().reset();
        ASSERT_TRUE(host().addLayer(L"TIN"));
        const kafhost::CallResult plain =
            Call(pair.plain, {files, LispValue::string(L" "), layer, LispValue::real(0.0),
                              LispValue::real(0.0), LispValue::real(1.0), maximum});
        const std::string plainDxf = kafhost::drawingToDxf(host().snapshot());
        host().reset();
        ASSERT_TRUE(host().addLayer(L"TIN"));
        const kafhost::CallResult constrained =
            Call(pair.constrained, {files, LispValue::string(L"XYZ"), LispValue::string(L" "), kNil,
                                    kNil, kNil, LispValue::real(0.0), layer, maximum});
        EXPECT_EQ(constrained.status, RSRSLT);
        EXPECT_EQ(plain.status, RSRSLT);
        EXPECT_EQ(constrained.value, plain.value);
        EXPECT_EQ(plain.value.items().size(), pair.meshes);
        EXPECT_EQ(kafhost::drawingToDxf(host().snapshot()), plainDxf);

        const std::wstring plainStart =
            std::wstring(
                L"\nPlease wait ...\n\nLoading files ... finished.\nParsing ... finished"
                L"\nVertex count: 300\nStart Calculation ... ") +
            pair.plainTiming;
        const std::wstring constrainedStart =
            L"\nReading points ...\nRows read: 300, skipped: 0, duplicate plan positions: 0"
            L"\nStart Calculation...ready after 0.000000 seconds\n";
        ASSERT_EQ(plain.printed.substr(0, plainStart.size()), plainStart);
        ASSERT_EQ(constrained.printed.substr(0, constrainedStart.size()), constrainedStart);
        const std::wstring writer = constrained.printed.substr(constrainedStart.size());
        EXPECT_NE(writer.find(L"Mesh"), std::wstring::npos);
        EXPECT_EQ(plain.printed, plainStart + writer + pair.plainEnd);
    }
}

TEST_F(ConstrainedFunctions, KerbsAreEdgesAndTheBoundaryAndHoleLimitTheSurface) {
    std::vector<Point3> grid;
    for (int i = 0; i <= 20; ++i) {
        for (int j = 0; j <= 20; ++j) {
            grid.push_back({i * 1.0, j * 1.0, 0.0});
        }
    }
    const std::vector<Point3> kerb = {{0.5, 5.3, 1.0}, {9.7, 5.6, 1.25}, {19.5, 8.3, 1.5}};
    const std::wstring kerbLine = host().add3dPolyline(kerb, false);
    // An L-shaped outline (the notch at the top right stays empty) and a square building.
    const std::wstring outline = host().addPolyline(
        {{0.2, 0.2}, {19.8, 0.2}, {19.8, 9.5}, {9.5, 9.5}, {9.5, 19.8}, {0.2, 19.8}}, 0.0, true);
    const std::wstring building =
        host().addPolyline({{2.5, 12.5}, {6.5, 12.5}, {6.5, 16.5}, {2.5, 16.5}}, 0.0, true);
    const EntityInfo mesh =
        OneMesh({PointListOf(grid), StringList({kerbLine}), LispValue::string(outline),
                 StringList({building}), LispValue::real(0.0), LispValue::string(L"TIN")});
    const std::vector<std::array<Point3, 3>> faces = Faces(mesh);

    for (std::size_t s = 0; s + 1 < kerb.size(); ++s) {
        for (const auto& f : faces) {
            for (int e = 0; e < 3; ++e) {
                EXPECT_FALSE(CrossProperly(kerb[s], kerb[s + 1], f[e], f[(e + 1) % 3]));
            }
        }
        EXPECT_EQ(ElevationAt(mesh, kerb[s][0], kerb[s][1]), kerb[s][2]);
    }
    // The outline: 19.6 by 9.3 below, 9.3 by 10.3 above; less the building's 16.
    EXPECT_NEAR(Area(faces), 19.6 * 9.3 + 9.3 * 10.3 - 16.0, 1e-9);
    for (const auto& f : faces) {
        EXPECT_GT(Cross(f[0], f[1], f[2]), 0.0);
    }
}

TEST_F(ConstrainedFunctions, HardCasesTakeTheDocumentedElevations) {
    const LispValue corners =
        PointList({{-1, -1, 0}, {11, -1, 0}, {11, 11, 0}, {-1, 11, 0}, {2, 2, 50}, {8, 3, 60}});
    // Crossing lines: z 5 and 3 at (5, 5), the crossing takes their mean. The survey point at
    // (2, 2) lies on the first line and takes its z there; the line vertex at (8, 3) wins over
    // the survey point there.
    const std::wstring rising = host().add3dPolyline({{0, 0, 0}, {10, 10, 10}}, false);
    const std::wstring falling = host().add3dPolyline({{0, 10, 2}, {10, 0, 4}}, false);
    const std::wstring spur = host().add3dPolyline({{8, 3, 7}, {9, 1, 7}}, false);
    const EntityInfo mesh = OneMesh({corners, StringList({rising, falling, spur}), kNil, kNil,
                                     LispValue::integer(0), LispValue::string(L"TIN")});
    EXPECT_EQ(ElevationAt(mesh, 5, 5), 4.0);
    EXPECT_EQ(ElevationAt(mesh, 2, 2), 2.0);
    EXPECT_EQ(ElevationAt(mesh, 8, 3), 7.0);
    EXPECT_EQ(ElevationAt(mesh, 0, 10), 2.0);

    const LispValue square = PointList({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}});
    // Repeated vertices and a zero-length segment are skipped; the line reaching outside the
    // points brings its far vertex into the surface; a hole outside the boundary hides nothing.
    const std::wstring ragged =
        host().add3dPolyline({{2, 5, 1}, {2, 5, 1}, {6, 5, 3}, {6, 5, 3}, {14, 5, 7}}, false);
    const std::wstring outline = host().add3dPolyline(
        {{-1, -1, 0}, {20, -1, 0}, {20, 11, 0}, {-1, 11, 0}, {-1, -1, 0}}, false);
    const std::wstring farHole =
        host().addPolyline({{30, 30}, {31, 30}, {31, 31}, {30, 31}}, 0.0, true);
    const EntityInfo shaped = OneMesh({square, StringList({ragged}), LispValue::string(outline),
                                       StringList({farHole}), LispValue::real(0.0), kNil});
    EXPECT_EQ(ElevationAt(shaped, 14, 5), 7.0);
    EXPECT_EQ(ElevationAt(shaped, 6, 5), 3.0);
    EXPECT_NEAR(Area(Faces(shaped)), 21.0 * 12.0, 1e-9);
}

// Survey points between 98.985 and 105.118 m, as the site of the examples.
const std::vector<Point3> kSite = {{0, 0, 99.2},    {20, 0, 100.4},  {40, 0, 101.1},
                                   {60, 0, 102.0},  {0, 20, 98.985}, {20, 20, 101.7},
                                   {40, 20, 103.2}, {60, 20, 104.4}, {0, 40, 100.3},
                                   {20, 40, 102.6}, {40, 40, 104.1}, {60, 40, 105.118}};

std::pair<double, double> ElevationRangeOf(const EntityInfo& mesh) {
    double low = HUGE_VAL;
    double high = -HUGE_VAL;
    for (const Point3& v : mesh.vertices) {
        low = std::min(low, v[2]);
        high = std::max(high, v[2]);
    }
    return {low, high};
}

TEST_F(ConstrainedFunctions, OutlinesDrawnIn2DClipWithoutPullingTheSurfaceToZero) {
    // The site outline as drafters draw it: a polyline at elevation 0, partly beyond the points
    // and with a vertex (30, 30) among them.
    const std::vector<Point2> outline = {{-5, -5}, {65, -5}, {65, 45}, {30, 30}, {-5, 45}};
    const std::wstring flat = host().addPolyline(outline, 0.0, true);
    const EntityInfo clipped = OneMesh({PointListOf(kSite), kNil, LispValue::string(flat), kNil,
                                        LispValue::real(0.0), LispValue::string(L"TIN")});
    EXPECT_EQ(ElevationRangeOf(clipped), std::make_pair(98.985, 105.118));
    // (30, 30) halfway between (20, 20) and (40, 40), on the edge between them.
    EXPECT_NEAR(ElevationAt(clipped, 30, 30), (101.7 + 104.1) / 2, 1e-9);
    EXPECT_EQ(ElevationAt(clipped, -5, 45), 100.3);
    EXPECT_EQ(ElevationAt(clipped, 65, -5), 102.0);
    EXPECT_NEAR(Area(Faces(clipped)), 70.0 * 50.0 - 35.0 * 15.0, 1e-9);

    // As a hole inside a 3D outline it clips as well; the 3D outline keeps its own z.
    std::vector<Point3> raised;
    for (const Point2& p : outline) {
        raised.push_back({p[0], p[1], 97.5});
    }
    raised.push_back(raised.front());
    const std::wstring outline3d = host().add3dPolyline(raised, false);
    const std::wstring pond = host().addPolyline({{10, 5}, {15, 5}, {15, 10}}, 0.0, true);
    const EntityInfo holed =
        OneMesh({PointListOf(kSite), kNil, LispValue::string(outline3d), StringList({pond}),
                 LispValue::real(0.0), LispValue::string(L"TIN")});
    EXPECT_EQ(ElevationAt(holed, 65, 45), 97.5);
    EXPECT_EQ(ElevationAt(holed, 30, 30), 97.5);
    EXPECT_GT(ElevationAt(holed, 15, 10), 99.0);
    EXPECT_EQ(ElevationRangeOf(holed), std::make_pair(97.5, 105.118));
}

TEST_F(ConstrainedFunctions, BreaklinesDrawnIn2DKeepTheirElevationAndAreWarnedOfOutsideThePoints) {
    const std::wstring ground = host().addPolyline({{10, 5}, {50, 35}}, 0.0, false);
    const std::wstring contour = host().addPolyline({{5, 30}, {55, 30}}, 102.5, false);
    const kafhost::CallResult result =
        Call(L"kaf-cdt-subdmesh", {PointListOf(kSite), StringList({ground, contour}), kNil, kNil,
                                   LispValue::real(0.0), LispValue::string(L"TIN")});
    EXPECT_EQ(result.status, RSRSLT);
    EXPECT_EQ(result.printed, L"\nBreakline " + ground +
                                  L" lies at 0.000, outside the points' elevations 98.985 to "
                                  L"105.118.\nStart Calculation...ready after 0.000000 seconds\n"
                                  L"\nCreate Mesh ... ");
    const EntityInfo mesh = EntitiesFrom(host().snapshot().entities.size() - 1)[0];
    EXPECT_EQ(ElevationAt(mesh, 10, 5), 0.0);
    EXPECT_EQ(ElevationAt(mesh, 55, 30), 102.5);
}

TEST_F(ConstrainedFunctions, TheSnapToleranceIsCountedAndCloseVerticesNoted) {
    const std::wstring kerb = host().add3dPolyline({{10, 10, 101.5}, {50, 30, 103.5}}, false);
    std::vector<Point3> points = kSite;
    points.push_back({10.00002, 10.00003, 101.4});
    points.push_back({30.00003, 19.99998, 102.4});
    points.push_back({40.00002, 0.00001, 101.0});
    const auto run = [&](std::vector<LispValue> tail) {
        std::vector<LispValue> args = {PointListOf(points),  StringList({kerb}),       kNil, kNil,
                                       LispValue::real(0.0), LispValue::string(L"TIN")};
        args.insert(args.end(), tail.begin(), tail.end());
        return Call(L"kaf-cdt-pfacemesh", args);
    };
    const std::wstring start = L"\nStart Calculation...ready after 0.000000 seconds\n";
    const kafhost::CallResult plain = run({});
    EXPECT_EQ(plain.printed, start +
                                 L"Note: 4 vertices lie closer than 6e-05 (a millionth of the "
                                 L"surface's extent) to another; a snap tolerance joins them.\n");
    const std::size_t before = host().snapshot().entities.size();
    const kafhost::CallResult snapped = run({LispValue::integer(100), LispValue::real(0.001)});
    EXPECT_EQ(snapped.printed, start +
                                   L"Points snapped: 3 (onto lines 2, onto earlier points 1), "
                                   L"line vertices joined: 0\n");
    const EntityInfo mesh = EntitiesFrom(before)[0];
    // The twelve points, the kerb's ends and the point put onto the kerb.
    EXPECT_EQ(mesh.vertices.size(), 15u);
    EXPECT_EQ(ElevationAt(mesh, 10, 10), 101.5);
    EXPECT_EQ(ElevationAt(mesh, 40, 0), 101.1);
    // A tolerance of 0 is none: the output is the one without it.
    EXPECT_EQ(run({LispValue::integer(100), LispValue::integer(0)}).printed, plain.printed);
}

TEST_F(ConstrainedFunctions, SurveyFilesAsInstrumentsWriteThem) {
    TempFolder folder;
    // BOM, a header, CRLF, quoted descriptions with the delimiter inside, decimal commas, a row
    // that cannot be read, a duplicate plan position, blank lines, extra columns.
    const std::string text =
        "\xEF\xBB\xBFPoint;North;East;Elev;Code\r\n"
        "1;0,0;0,0;10,5;\"KERB; left\"\r\n"
        "2;0,0;10,0;11;GND\r\n"
        "\r\n"
        "3;\"10,0\";10,0;12;GND;extra\r\n"
        "4;10,0;n/a;12;GND\r\n"
        "5;10,0;0,0;13;\"a \"\"quoted\"\" code\"\r\n"
        "6;10,0;0,0;99;DUP\r\n";
    const std::wstring file = folder.Write("survey.txt", text).wstring();
    const kafhost::CallResult result =
        Call(L"kaf-cdt-subdmesh-withloadcsv",
             {StringList({file}), LispValue::string(L"PNEZD"), LispValue::string(L";"), kNil, kNil,
              kNil, LispValue::real(0.0), LispValue::string(L"TIN")});
    EXPECT_EQ(result.status, RSRSLT);
    EXPECT_EQ(result.printed, L"\nReading points ...\n" + file +
                                  L", row 6 cannot be read and is skipped."
                                  L"\nRows read: 4, skipped: 2, duplicate plan positions: 1"
                                  L"\nStart Calculation...ready after 0.000000 seconds\n"
                                  L"\nCreate Mesh ... ");
    const std::vector<EntityInfo> made = EntitiesFrom(0);
    ASSERT_EQ(made.size(), 1u);
    std::vector<Point3> vertices = made[0].vertices;
    std::sort(vertices.begin(), vertices.end());
    EXPECT_EQ(vertices,
              (std::vector<Point3>{{0, 0, 10.5}, {0, 10, 13}, {10, 0, 11}, {10, 10, 12}}));

    // Space-delimited XYZ.
    const std::wstring spaced = folder.Write("xyz.txt", "0 0 1\n  4\t0   2\n0 4 3\n").wstring();
    EXPECT_EQ(Call(L"kaf-cdt-pfacemesh-withloadcsv",
                   {StringList({spaced}), LispValue::string(L"xyz"), LispValue::string(L" "), kNil,
                    kNil, kNil, LispValue::real(0.0), kNil})
                  .status,
              RSRSLT);
}

// Only the first row at a position counts: a repeated row's z neither reaches the surface nor
// widens the range of the points' elevations that breaklines are checked against, with or
// without a snap tolerance.
TEST_F(ConstrainedFunctions, RepeatedRowsLeaveNoTraceInTheSurfaceOrTheBreaklineWarning) {
    TempFolder folder;
    const std::wstring file =
        folder.Write("repeats.txt", "0 0 10\n20 0 11\n0 20 12\n20 20 13\n0 0 1\n20 20 1\n")
            .wstring();
    const std::wstring line = host().addPolyline({{5, 5}, {15, 12}}, 5.0, false);
    for (const double snap : {0.0, 0.001}) {
        const std::size_t first = host().snapshot().entities.size();
        const kafhost::CallResult result =
            Call(L"kaf-cdt-subdmesh-withloadcsv",
                 {StringList({file}), LispValue::string(L"XYZ"), LispValue::string(L" "),
                  StringList({line}), kNil, kNil, LispValue::real(0.0), LispValue::string(L"TIN"),
                  LispValue::integer(32767), LispValue::real(snap)});
        EXPECT_EQ(result.status, RSRSLT);
        const std::wstring snapped =
            snap > 0 ? L"Points snapped: 0 (onto lines 0, onto earlier points 0), line vertices "
                       L"joined: 0\n"
                     : L"";
        EXPECT_EQ(result.printed,
                  L"\nReading points ..."
                  L"\nRows read: 4, skipped: 0, duplicate plan positions: 2"
                  L"\nBreakline " +
                      line +
                      L" lies at 5.000, outside the points' elevations 10.000 "
                      L"to 13.000.\nStart Calculation...ready after 0.000000 "
                      L"seconds\n" +
                      snapped + L"\nCreate Mesh ... ")
            << snap;
        const EntityInfo mesh = EntitiesFrom(first)[0];
        EXPECT_EQ(ElevationAt(mesh, 0, 0), 10.0) << snap;
        EXPECT_EQ(ElevationAt(mesh, 20, 20), 13.0) << snap;
        EXPECT_EQ(ElevationAt(mesh, 15, 12), 5.0) << snap;
    }
}

TEST(SurveyLayout, LettersNameTheColumnsOnceEachAndXYZAreNeeded) {
    const struct {
        const wchar_t* layout;
        int x;
        int y;
        int z;
    } good[] = {{L"PNEZD", 2, 1, 3}, {L"PENZD", 1, 2, 3}, {L"NEZ", 1, 0, 2},
                {L"enz", 0, 1, 2},   {L"XYZ", 0, 1, 2},   {L"dpzyx", 4, 3, 2}};
    for (const auto& c : good) {
        SurveyColumns columns;
        ASSERT_TRUE(ParseSurveyLayout(c.layout, columns)) << kafhost::wideToUtf8(c.layout);
        EXPECT_EQ(columns.x, c.x);
        EXPECT_EQ(columns.y, c.y);
        EXPECT_EQ(columns.z, c.z);
        EXPECT_EQ(columns.layout, c.layout);
    }
    for (const wchar_t* bad : {L"", L"PNE", L"PNEZZ", L"NEXZ", L"PNEZDQ", L"N E Z"}) {
        SurveyColumns columns;
        EXPECT_FALSE(ParseSurveyLayout(bad, columns)) << kafhost::wideToUtf8(bad);
    }
}

class SurveyReader : public HostTest {
protected:
    using Points = SurveyPoints;

    // The points ReadSurveyPointFiles keeps of the file in the layout, as the constrained
    // functions read; none when it fails.
    static Points Read(const std::wstring& name, const wchar_t* layout, wchar_t delimiter) {
        Points points;
        SurveyReadCounts counts;
        EXPECT_TRUE(ReadKeepingFirsts({name}, layout, delimiter, points, counts));
        return points;
    }
};

TEST_F(SurveyReader, EastingIsXAndUnreadableRowsAreListedUpToTen) {
    TempFolder folder;
    std::string text = "Pt,E,N,Z\n1,100.5,200.25,3\n";
    for (int i = 0; i < 12; ++i) {
        text += "x,y,z,w\n";
    }
    text += "2,\"101\",201,4,extra\n";
    const std::wstring name = folder.Write("penz.csv", text).wstring();
    EXPECT_EQ(Read(name, L"PENZ", L','), (Points{{100.5, 200.25, 3}, {101, 201, 4}}));
    std::wstring expected;
    for (int row = 3; row <= 12; ++row) {
        expected +=
            L"\n" + name + L", row " + std::to_wstring(row) + L" cannot be read and is skipped.";
    }
    expected +=
        L"\nFurther rows that cannot be read are not listed."
        L"\nRows read: 2, skipped: 13, duplicate plan positions: 0";
    EXPECT_EQ(host().commandLine(), expected);
}

// Old exports end lines with a carriage return alone; Windows with CR LF, others with LF; a file
// may mix them. Each ends one row.
TEST_F(SurveyReader, EveryKindOfLineEndEndsARow) {
    TempFolder folder;
    const std::wstring name =
        folder.Write("cr.txt", "E;N;Z\r1;2;3\r4;5;6\r\n7;8;9\n\r10;11;12\r\r13;14;15\r").wstring();
    EXPECT_EQ(Read(name, L"ENZ", L';'),
              (Points{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}, {13, 14, 15}}));
    EXPECT_EQ(host().commandLine(), L"\nRows read: 5, skipped: 1, duplicate plan positions: 0");
}

// A carriage return and line feed are one line end also where the pair falls apart between two
// blocks of the read (1 MiB each); a lone carriage return ends a line too, and counts as one.
TEST_F(SurveyReader, LineEndsSplitBetweenReadBlocksEndOneRow) {
    TempFolder folder;
    std::string text = "E;N;Z;Note;" + std::string((std::size_t{1} << 20) - 12, 'x') + "\r";
    ASSERT_EQ(text.size(), std::size_t{1} << 20);
    text += "\n1;2;3\r4;5;6\r\n\r\n7;8;9\n\r10;11;12";
    const std::wstring name = folder.Write("blocks.txt", text).wstring();
    EXPECT_EQ(Read(name, L"ENZ", L';'), (Points{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}}));
    EXPECT_EQ(host().commandLine(), L"\nRows read: 4, skipped: 1, duplicate plan positions: 0");
    // The meter counts the lines: the header, four rows and two blank lines.
    PointFile file(name, LineEnds::AnyNewline);
    EXPECT_EQ(file.CountLines(), 7);
}

// Columns apart by blanks: fields of every length up to 24 bytes, each followed by spaces or tabs
// in any mix at any place in the row, blanks before the first and after the last field, and
// bytes above 127 in a column that is not read; a blank-delimited field ends at its first blank.
TEST_F(SurveyReader, BlankDelimitedFieldsOfAnyLengthEndAtTheirFirstBlank) {
    TempFolder folder;
    const char* const gaps[] = {" ", "\t", "  ", " \t ", "\t\t", "   \t"};
    std::string text;
    Points expected;
    std::mt19937 random(8);
    for (int row = 0; row < 600; ++row) {
        // Numbers of 1 to 24 characters: digits, and a decimal point in longer ones.
        double values[3];
        std::string fields[3];
        for (int k = 0; k < 3; ++k) {
            const int length = 1 + static_cast<int>(random() % 24);
            std::string digits;
            for (int d = 0; d < length; ++d) {
                digits += static_cast<char>('1' + random() % 9);
            }
            if (length > 2 && row % 2 == 0) {
                digits[static_cast<std::size_t>(length / 2)] = '.';
            }
            fields[k] = digits;
            values[k] = std::stod(digits);
        }
        const auto gap = [&] { return std::string(gaps[random() % 6]); };
        text += (row % 3 == 0 ? gap() : "") + "P\xC3\xA9" + std::to_string(row) + "\xA0\xFF" +
                gap() + fields[0] + gap() + fields[1] + gap() + fields[2] +
                (row % 4 == 0 ? gap() + "D\xE2\x80\x94" : "") + (row % 5 == 0 ? gap() : "") + "\n";
        expected.push_back({values[0], values[1], values[2]});
    }
    const std::wstring name = folder.Write("blanks.txt", text).wstring();
    EXPECT_EQ(Read(name, L"PXYZD", L' '), expected);
    EXPECT_EQ(host().commandLine(), L"\nRows read: 600, skipped: 0, duplicate plan positions: 0");
}

// Duplicates are found among any number of rows and across files; the first row at a position
// wins, -0 and 0 being one position, and the points come in the order of the rows.
TEST_F(SurveyReader, TheFirstRowAtAPositionWinsAcrossFilesAndThousandsOfRows) {
    TempFolder folder;
    std::string first = "-0;0;1\n0;-0;2\n";
    std::string second;
    Points expected = {{-0.0, 0, 1}};
    for (int i = 1; i <= 3000; ++i) {
        first += std::to_string(i) + ";" + std::to_string(i % 7) + ";1\n";
        expected.push_back({static_cast<double>(i), static_cast<double>(i % 7), 1});
    }
    for (int i = 2001; i <= 5000; ++i) {
        second += std::to_string(i) + ";" + std::to_string(i % 7) + ";2\n";
        if (i % 500 == 0) {
            second += std::to_string(i) + ";" + std::to_string(i % 7) + ";3\n";
        }
        if (i > 3000) {
            expected.push_back({static_cast<double>(i), static_cast<double>(i % 7), 2});
        }
    }
    Points points;
    SurveyReadCounts counts;
    ASSERT_TRUE(ReadKeepingFirsts(
        {folder.Write("a.txt", first).wstring(), folder.Write("b.txt", second).wstring()}, L"ENZ",
        L';', points, counts));
    EXPECT_EQ(points, expected);
    EXPECT_TRUE(std::signbit(points[0][0]));
    EXPECT_EQ(host().commandLine(),
              L"\nRows read: 5001, skipped: 0, duplicate plan positions: 1007");
}

// Many duplicates, near and far apart, in a small file and then in a far larger one: the points
// are those of the first row at each position in row order. Rows at -0 are at 0; rows with "nan"
// or "inf" coordinates are skipped, never kept or counted as duplicates. Without a sink that
// drops them, every row is handed on, the repeats too.
TEST_F(SurveyReader, ManyDuplicatesAcrossFilesKeepTheFirstRowAtEachPositionInOrder) {
    TempFolder folder;
    std::mt19937 random(27);
    std::uniform_int_distribution<int> column(-60, 60);
    std::uniform_int_distribution<int> row(0, 90);
    std::set<std::pair<double, double>> seen;
    Points expected;
    Points everyRow;
    int duplicates = 0;
    int skipped = 0;
    std::vector<std::wstring> names;
    for (const int rows : {1000, 40000}) {
        std::string text;
        for (int i = 0; i < rows; ++i) {
            const int x = column(random);
            const int y = row(random);
            const double z = i % 97;
            if (i % 1001 == 500) {
                text += (i % 2 == 0 ? "nan;" : "inf;") + std::to_string(y) + ";1\n";
                ++skipped;
                continue;
            }
            // Whole numbers, some with decimals, and 0 written as -0 now and then.
            std::string xText = x == 0 && i % 3 == 0 ? "-0" : std::to_string(x);
            if (i % 5 == 0) {
                xText += ".0";
            }
            text += xText + ";" + std::to_string(y) + ";" + std::to_string(i % 97) + "\n";
            everyRow.push_back({static_cast<double>(x), static_cast<double>(y), z});
            if (seen.insert({x + 0.0, y + 0.0}).second) {
                expected.push_back({static_cast<double>(x), static_cast<double>(y), z});
            } else {
                ++duplicates;
            }
        }
        names.push_back(folder.Write("part" + std::to_string(rows) + ".txt", text).wstring());
    }
    ASSERT_GT(duplicates, 30000);
    Points points;
    SurveyReadCounts counts;
    ASSERT_TRUE(ReadKeepingFirsts(names, L"ENZ", L';', points, counts));
    for (auto& point : points) {
        point[0] += 0.0;
    }
    EXPECT_EQ(points, expected);
    EXPECT_EQ(counts.duplicates, duplicates);
    EXPECT_EQ(counts.skipped, skipped);
    // The summary closes what is printed (after the listing of the rows skipped).
    const auto printedEnd = [](std::size_t size) {
        const std::wstring printed = host().commandLine();
        return printed.substr(printed.size() - std::min(size, printed.size()));
    };
    const std::wstring summary = L"\nRows read: " + std::to_wstring(expected.size()) +
                                 L", skipped: " + std::to_wstring(skipped);
    const std::wstring dropped = L", duplicate plan positions: " + std::to_wstring(duplicates);
    EXPECT_EQ(printedEnd(summary.size() + dropped.size()), summary + dropped);

    host().reset();
    SurveyColumns columns;
    ASSERT_TRUE(ParseSurveyLayout(L"ENZ", columns));
    points.clear();
    counts = SurveyReadCounts();
    ASSERT_TRUE(ReadSurveyPointFiles(
        names, columns, L';', L"test",
        [&points](double x, double y, double z) {
            points.push_back({x + 0.0, y, z});
        },
        counts));
    EXPECT_EQ(points, everyRow);
    EXPECT_EQ(counts.duplicates, 0);
    const std::wstring everySummary = L"\nRows read: " + std::to_wstring(everyRow.size()) +
                                      L", skipped: " + std::to_wstring(skipped);
    EXPECT_EQ(printedEnd(everySummary.size()), everySummary);
}

// A row of two million empty fields after the layout's three: only those three are kept, so the
// memory asked for stays within a few times the row's bytes (the read buffer holding it).
TEST_F(SurveyReader, FieldsAfterTheLayoutsColumnsAreNotKept) {
    TempFolder folder;
    const std::size_t fieldCount = 2000000;
    const std::string row = "1;2;3" + std::string(fieldCount, ';') + "\n4;5;6\n";
    const std::wstring name = folder.Write("wide.txt", row).wstring();
    Points points;
    std::size_t asked = 0;
    {
        const AllocationTally tally;
        points = Read(name, L"ENZ", L';');
        asked = tally.Bytes();
    }
    EXPECT_EQ(points, (Points{{1, 2, 3}, {4, 5, 6}}));
    EXPECT_LT(asked, 8 * row.size());
}

}  // namespace
