// The road corridor sample end to end: generator, kafcad on the script, the saved drawing and
// the picture.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "kafcad_process.h"
#include "kafhost/drawing_json.h"
#include "png_reader.h"
#include "support/files.h"

namespace {

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
    ASSERT_EQ(drawing.entities.size(), 5u);
    const kafhost::EntityInfo& mesh = drawing.entities[4];
    ASSERT_EQ(mesh.type, L"AcDbSubDMesh");
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
}

}  // namespace
