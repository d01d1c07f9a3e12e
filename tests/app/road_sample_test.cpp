// The road corridor sample end to end: generator, kafcad on the script, the saved drawing, the
// profile along the centre line and the pictures.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "kafcad_process.h"
#include "kafhost/drawing_json.h"
#include "png_reader.h"
#include "support/files.h"

namespace {

using kafhost::EntityKind;

namespace fs = std::filesystem;
using kafhost::Point3;

double Turn(const Point3& o, const Point3& a, const Point3& b) {
    return (a[0] - o[0]) * (b[1] - o[1]) - (a[1] - o[1]) * (b[0] - o[0]);
}

// Whether ab crosses pq inside both. A vertex made where a kerb crosses the outline lies on the
// kerb only to rounding, so turns within 1e-9 count as none.
bool CrossProperly(const Point3& p, const Point3& q, const Point3& a, const Point3& b) {
    const auto side = [](double turn) { return turn > 1e-9 ? 1 : turn < -1e-9 ? -1 : 0; };
    return side(Turn(p, q, a)) * side(Turn(p, q, b)) < 0 &&
           side(Turn(a, b, p)) * side(Turn(a, b, q)) < 0;
}

TEST(RoadSample, SurfaceFollowsTheKerbsStaysInsideTheOutlineAndLeavesTheIslandOpen) {
    const TempFolder temp;
    const fs::path folder = temp.Folder();
    const std::string samples = std::string(KAF_SOURCE_DIR) + "/samples";
    ASSERT_EQ(
        RunShellCommand("python3 '" + samples + "/generate_road.py' .", folder.string()).exitStatus,
        0);
    fs::copy(samples + "/road.lsp", folder / "road.lsp");
    const KafcadRun run =
        RunKafcadProcess({"--drawing", "road.json", "--save", "surface.json", "--png", "road.png",
                          "--png-size", "500x300", "road.lsp"},
                         "", folder.string());
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_NE(run.out.find("Rows read: 1526, skipped: 1, duplicate plan positions: 0"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\nMeshes made: 1\n"), std::string::npos) << run.out;

    const kafhost::DrawingSnapshot drawing =
        kafhost::loadDrawingFile((folder / "surface.json").string());
    // The five lines, the mesh and the profile.
    ASSERT_EQ(drawing.entities.size(), 7u);
    const kafhost::EntityInfo& mesh = drawing.entities[5];
    ASSERT_EQ(mesh.type, EntityKind::kSubDMesh);
    for (int kerb = 0; kerb < 2; ++kerb) {
        const std::vector<Point3>& line = drawing.entities[kerb].vertices;
        for (std::size_t s = 0; s + 1 < line.size(); ++s) {
            for (const std::vector<int>& face : mesh.faces) {
                for (int e = 0; e < 3; ++e) {
                    const Point3& a = mesh.vertices[face[e]];
                    const Point3& b = mesh.vertices[face[(e + 1) % 3]];
                    ASSERT_FALSE(CrossProperly(line[s], line[s + 1], a, b))
                        << "kerb " << kerb << " segment " << s;
                }
            }
        }
    }
    // No face covers the island's centre (150, 90) or the outline's notch at (50, 110).
    for (const std::vector<int>& face : mesh.faces) {
        for (const Point3& inside : {Point3{150, 90, 0}, Point3{50, 110, 0}}) {
            const Point3& a = mesh.vertices[face[0]];
            const Point3& b = mesh.vertices[face[1]];
            const Point3& c = mesh.vertices[face[2]];
            EXPECT_FALSE(Turn(a, b, inside) > 0 && Turn(b, c, inside) > 0 &&
                         Turn(c, a, inside) > 0);
        }
    }
    const Picture picture = ReadPng((folder / "road.png").string());
    EXPECT_EQ(picture.width, 500);
    EXPECT_EQ(picture.height, 300);

    // The profile along the centre line: in one piece from its start to its end, on the road
    // (0.15 m below the kerb tops at the crown, which the centre line's vertices carry), and
    // 22 cross-sections every 10 m.
    EXPECT_NE(run.out.find("\nProfile: 63 points in 1 piece, stations 0.000 to 206.913"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\nSections: 22 stations from 0.000 to 206.913, 10.000 left and "
                           "10.000 right"),
              std::string::npos);
    const kafhost::EntityInfo& profile = drawing.entities[6];
    EXPECT_EQ(profile.type, EntityKind::kPolyline3d);
    EXPECT_EQ(profile.layer, L"PROFILE");
    const std::vector<Point3>& centre = drawing.entities[4].vertices;
    for (std::size_t i = 0; i < centre.size(); i += 2) {  // the crown's vertices, every 10 m
        bool found = false;
        for (const Point3& p : profile.vertices) {
            if (std::hypot(p[0] - centre[i][0], p[1] - centre[i][1]) < 1e-9) {
                found = true;
                EXPECT_NEAR(p[2], centre[i][2] - 0.15, 0.002) << i;
            }
        }
        EXPECT_TRUE(found) << i;
    }
    for (const char* name : {"road_profile.png", "road_sections.png"}) {
        const Picture plot = ReadPng((folder / name).string());
        EXPECT_EQ(plot.width, 1000) << name;
        EXPECT_EQ(plot.height, 400) << name;
    }
}

}  // namespace
