// kaf-thin-subdmesh-withloadcsv as users meet it: a LAS cloud of terrain and roofs becomes a
// ground surface with far fewer vertices, every ground point within the tolerance of the mesh
// drawn (its faces' planes evaluated at the point); its argument errors.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "module_fixture.h"
#include "support/files.h"
#include "support/las_file.h"

namespace {

using kafhost::EntityInfo;
using kafhost::LispValue;
using kafhost::Point3;

// The elevation of the mesh at (x, y): the plane of a face whose plan triangle holds the point;
// NAN when none does.
double MeshElevation(const EntityInfo& mesh, double x, double y) {
    for (const std::vector<int>& face : mesh.faces) {
        const Point3& a = mesh.vertices[face[0]];
        const Point3& b = mesh.vertices[face[1]];
        const Point3& c = mesh.vertices[face[2]];
        const double d = (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]);
        const double wb = ((x - a[0]) * (c[1] - a[1]) - (y - a[1]) * (c[0] - a[0])) / d;
        const double wc = ((b[0] - a[0]) * (y - a[1]) - (b[1] - a[1]) * (x - a[0])) / d;
        const double slack = 1e-12;
        if (wb >= -slack && wc >= -slack && wb + wc <= 1 + slack) {
            return a[2] + wb * (b[2] - a[2]) + wc * (c[2] - a[2]);
        }
    }
    return NAN;
}

class ThinningFunction : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        host().setMessageBoxEcho(false);
        ASSERT_TRUE(host().addLayer(L"TIN"));
    }
};

TEST_F(ThinningFunction, GroundOfACloudStaysWithinTheToleranceOfTheMesh) {
    // 61 x 61 ground points (cm) of a hill with ripples; roofs (class 6) on a block.
    std::vector<LasRecord> records;
    for (int i = 0; i <= 60; ++i) {
        for (int j = 0; j <= 60; ++j) {
            const double z = 100.0 +
                             8.0 * std::exp(-((i - 30) * (i - 30) + (j - 25) * (j - 25)) / 200.0) +
                             0.3 * std::sin(i * 0.7) * std::cos(j * 0.4);
            records.push_back(
                {i * 100, j * 100, static_cast<std::int32_t>(std::lround(z * 100)), 2, false});
        }
    }
    for (int i = 0; i < 10; ++i) {
        records.push_back({1050 + i * 100, 1050, 13000, 6, false});
    }
    LasFileSpec spec;
    spec.minor = 4;
    spec.format = 6;
    spec.offset[0] = 400000.0;
    spec.offset[1] = 5000000.0;
    TempFolder folder;
    const std::wstring file = folder.Write("site.las", LasFileBytes(spec, records)).wstring();
    const kafhost::CallResult result =
        Call(L"kaf-thin-subdmesh-withloadcsv",
             {StringList({file}), LispValue::string(L"XYZ class=2"), LispValue::string(L","),
              LispValue::nil(), LispValue::nil(), LispValue::nil(), LispValue::real(0.05),
              LispValue::string(L"TIN")});
    ASSERT_EQ(result.status, RSRSLT) << kafhost::wideToUtf8(result.printed);
    const std::vector<EntityInfo> made = host().snapshot().entities;
    ASSERT_EQ(made.size(), 1u);
    const EntityInfo& mesh = made[0];
    const std::wstring kept = std::to_wstring(mesh.vertices.size());
    EXPECT_EQ(result.printed, L"\nReading points ...\n" + file +
                                  L": LAS 1.4, point format 6, 3731 points, 3721 kept"
                                  L"\nRows read: 3721, skipped: 0"
                                  L"\nStart Calculation...kept " +
                                  kept +
                                  L" of 3721 points within 0.05 ... ready after 0.000000 "
                                  L"seconds\n\nCreate Mesh ... ");
    EXPECT_LT(mesh.vertices.size(), 3721u / 3);
    double worst = 0.0;
    for (const LasRecord& r : records) {
        if (r.classification != 2) {
            continue;
        }
        const double x = 400000.0 + r.x * 0.01;
        const double y = 5000000.0 + r.y * 0.01;
        const double z = r.z * 0.01;
        const double surface = MeshElevation(mesh, x, y);
        ASSERT_FALSE(std::isnan(surface)) << x << " " << y;
        worst = std::max(worst, std::fabs(surface - z));
    }
    // The mesh's own evaluation here rounds at about 1e-10 m at these coordinates.
    EXPECT_LE(worst, 0.05 + 1e-9);
    EXPECT_GT(worst, 0.02);
    for (const Point3& v : mesh.vertices) {
        EXPECT_LT(v[2], 120.0) << "a roof point in the ground surface";
    }
}

TEST_F(ThinningFunction, PointsRepeatedAtAKeptPositionAreCountedWhenBeyondTheTolerance) {
    // A 5 x 5 grid on a plane; its corner (0, 0) measured again 2 m higher and, 0.05 m higher,
    // the point (2, 2) inside: the surface keeps the first corner; the second reading of it cannot
    // be served and is reported; (2, 2) lies within the tolerance of the plane.
    std::string rows;
    for (int i = 0; i <= 4; ++i) {
        for (int j = 0; j <= 4; ++j) {
            rows +=
                std::to_string(i) + " " + std::to_string(j) + " " + std::to_string(10 + i) + "\n";
        }
    }
    rows += "0 0 12\n2 2 12.05\n";
    TempFolder folder;
    const std::wstring file = folder.Write("twice.xyz", rows).wstring();
    const kafhost::CallResult result = Call(
        L"kaf-thin-subdmesh-withloadcsv",
        {StringList({file}), LispValue::string(L"XYZ"), LispValue::string(L" "), LispValue::nil(),
         LispValue::nil(), LispValue::nil(), LispValue::real(0.1), LispValue::string(L"TIN")});
    ASSERT_EQ(result.status, RSRSLT) << kafhost::wideToUtf8(result.printed);
    EXPECT_EQ(
        result.printed,
        L"\nReading points ...\nRows read: 27, skipped: 0\nStart Calculation...kept 4 of 27 "
        L"points within 0.1 ... 1 points beyond the tolerance of a kept point or line at their "
        L"plan position are left out ... ready after 0.000000 seconds\n\nCreate Mesh ... ");
    const std::vector<EntityInfo> made = host().snapshot().entities;
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0].vertices.size(), 4u);
    EXPECT_NEAR(MeshElevation(made[0], 0.0, 0.0), 10.0, 1e-12);
}

// The ground of a hill with a kerb drawn as a 3D polyline, inside an outline drawn as a polyline
// (it clips, its vertices at the surface's elevation) with a building drawn as a closed polyline:
// the mesh keeps the kerb as edges, nothing of it lies outside the outline or inside the
// building, and every ground point under it lies within the tolerance of the mesh, except those on
// the kerb itself, where the kerb gives the elevation: counted as left out.
TEST_F(ThinningFunction, BreaklinesAndBoundariesShapeTheThinnedSurface) {
    std::string rows;
    std::vector<Point3> ground;
    for (int i = 0; i <= 40; ++i) {
        for (int j = 0; j <= 40; ++j) {
            const double x = i * 0.5 + 0.13 * (j % 3), y = j * 0.5 + 0.07 * (i % 4);
            const double z = 10.0 + 0.1 * x + (y < 10.0 ? 0.0 : 0.15) + 0.05 * std::sin(x * y);
            ground.push_back({x, y, z});
            char row[80];
            std::snprintf(row, sizeof row, "%.17g %.17g %.17g\n", x, y, z);
            rows += row;
        }
    }
    TempFolder folder;
    const std::wstring file = folder.Write("ground.xyz", rows).wstring();
    const std::wstring kerb = host().add3dPolyline({{-1, 10, 9.9}, {21, 10, 12.1}}, false);
    const std::wstring outline =
        host().addPolyline({{1, 1}, {19, 1}, {19, 19}, {10, 19}, {1, 12}}, 0.0, true);
    const std::wstring building = host().addPolyline({{4, 4}, {7, 4}, {7, 7}, {4, 7}}, 0.0, true);
    const kafhost::CallResult result =
        Call(L"kaf-thin-subdmesh-withloadcsv",
             {StringList({file}), LispValue::string(L"XYZ"), LispValue::string(L" "),
              StringList({kerb}), LispValue::string(outline), StringList({building}),
              LispValue::real(0.05), LispValue::string(L"TIN")});
    ASSERT_EQ(result.status, RSRSLT) << kafhost::wideToUtf8(result.printed);
    EXPECT_NE(result.printed.find(L"points outside the boundaries are left out ... "),
              std::wstring::npos)
        << kafhost::wideToUtf8(result.printed);
    const std::vector<EntityInfo> made = host().snapshot().entities;
    ASSERT_EQ(made.size(), 4u);  // the three lines and the mesh
    const EntityInfo& mesh = made.back();
    EXPECT_LT(mesh.vertices.size(), ground.size() / 2);
    for (const std::vector<int>& face : mesh.faces) {
        double cx = 0.0, cy = 0.0;
        for (const int v : face) {
            cx += mesh.vertices[v][0] / 3.0;
            cy += mesh.vertices[v][1] / 3.0;
        }
        EXPECT_FALSE(cx > 4 && cx < 7 && cy > 4 && cy < 7) << "a face in the building";
        EXPECT_TRUE(cx > 1 && cx < 19 && cy > 1 && cy < 19) << "a face outside the outline";
        for (std::size_t k = 0; k < face.size(); ++k) {
            const Point3& a = mesh.vertices[face[k]];
            const Point3& b = mesh.vertices[face[(k + 1) % face.size()]];
            EXPECT_FALSE((a[1] - 10.0) * (b[1] - 10.0) < 0.0) << "an edge across the kerb";
        }
    }
    int covered = 0;
    int onKerb = 0;
    for (const Point3& p : ground) {
        const double surface = MeshElevation(mesh, p[0], p[1]);
        if (std::isnan(surface)) {
            continue;
        }
        ++covered;
        if (p[1] == 10.0 && std::fabs(surface - p[2]) > 0.05) {
            ++onKerb;
            continue;
        }
        EXPECT_LE(std::fabs(surface - p[2]), 0.05 + 1e-9) << p[0] << " " << p[1];
    }
    EXPECT_GT(onKerb, 0);
    EXPECT_NE(result.printed.find(L"... " + std::to_wstring(onKerb) +
                                  L" points beyond the tolerance of a kept point or line"),
              std::wstring::npos)
        << kafhost::wideToUtf8(result.printed);
    EXPECT_GT(covered, 900);
}

TEST_F(ThinningFunction, ArgumentsAreCheckedInOrder) {
    TempFolder folder;
    const std::wstring file = folder.Write("p.txt", "0 0 1\n1 0 2\n0 1 3\n").wstring();
    const auto error = [](const std::wstring& text) {
        return L"[Module 'kaf'] Error in function 'thin_subdmesh_withloadcsv': " + text +
               L"\nFunction aborted!\n";
    };
    EXPECT_EQ(Call(L"kaf-thin-subdmesh-withloadcsv",
                   {StringList({file}), LispValue::string(L"XYZ"), LispValue::string(L" "),
                    LispValue::nil(), LispValue::nil(), LispValue::nil(), LispValue::string(L"0.1"),
                    LispValue::nil()})
                  .printed,
              error(L"Seventh argument has to be a tolerance of 0 or more!"));
    EXPECT_EQ(Call(L"kaf-thin-subdmesh-withloadcsv",
                   {StringList({file}), LispValue::string(L"XYZ"), LispValue::string(L" "),
                    LispValue::real(0.1), LispValue::nil(), LispValue::nil(), LispValue::real(0.1),
                    LispValue::nil()})
                  .printed,
              error(L"Fourth argument has to be a handle list or nil!"));
    EXPECT_EQ(Call(L"kaf-thin-subdmesh-withloadcsv",
                   {StringList({file}), LispValue::string(L"XYZ"), LispValue::string(L" "),
                    LispValue::nil(), LispValue::nil(), LispValue::nil(), LispValue::real(0.1)})
                  .printed,
              error(L"Too few arguments!"));
    EXPECT_EQ(Call(L"kaf-thin-subdmesh-withloadcsv",
                   {StringList({file}), LispValue::string(L"XYZ"), LispValue::string(L" "),
                    LispValue::nil(), LispValue::nil(), LispValue::nil(), LispValue::integer(0),
                    LispValue::nil()})
                  .status,
              RSRSLT);
    EXPECT_EQ(host().snapshot().entities.size(), 1u);
}

}  // namespace
