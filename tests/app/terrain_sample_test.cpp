#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "kafcad_process.h"
#include "kafhost/drawing_json.h"
#include "support/files.h"

namespace {

namespace fs = std::filesystem;

class TerrainSampleTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::copy(fs::path(KAF_SOURCE_DIR) / "samples" / "terrain.lsp", folder_ / "terrain.lsp");
    }
    KafcadRun Generate(const std::string& name, int points) {
        return RunShellCommand("python3 '" + std::string(KAF_SOURCE_DIR) +
                                   "/samples/generate_terrain.py' " + name + " --points " +
                                   std::to_string(points),
                               folder_.string());
    }
    TempFolder temp_;
    const fs::path folder_ = temp_.Folder();
};

TEST_F(TerrainSampleTest, GeneratorWritesTheSameSurveyPointsEveryRun) {
    ASSERT_EQ(Generate("a.csv", 3000).exitStatus, 0);
    ASSERT_EQ(Generate("b.csv", 3000).exitStatus, 0);
    const std::string points = FileText(folder_ / "a.csv");
    EXPECT_EQ(points, FileText(folder_ / "b.csv"));

    std::istringstream rows(points);
    std::string row;
    int count = 0;
    while (std::getline(rows, row)) {
        ++count;
        double east = 0, north = 0, height = 0;
        char first = 0, second = 0;
        std::istringstream fields(row);
        ASSERT_TRUE(fields >> east >> first >> north >> second >> height) << row;
        ASSERT_EQ(first, ';');
        ASSERT_EQ(second, ';');
        ASSERT_TRUE(east >= 350000 && east <= 351500) << row;
        ASSERT_TRUE(north >= 5800000 && north <= 5801500) << row;
        ASSERT_TRUE(height >= 400 && height <= 600) << row;
        // Millimetre decimals.
        ASSERT_EQ(row.size() - row.rfind('.'), 4u) << row;
    }
    EXPECT_NEAR(count, 3000, 30);
}

TEST_F(TerrainSampleTest, ScriptBuildsColouredMeshesInLocalCoordinates) {
    ASSERT_EQ(Generate("terrain.csv", 3000).exitStatus, 0);
    const KafcadRun run = RunKafcadProcess(
        {"--layer", "TERRAIN", "--save", "terrain.json", "terrain.lsp"}, "", folder_.string());
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_NE(run.out.find("\nMeshes made: 1 (handles 20 ... 20)\n"), std::string::npos) << run.out;
    const kafhost::DrawingSnapshot drawing =
        kafhost::loadDrawingFile((folder_ / "terrain.json").string());
    ASSERT_EQ(drawing.entities.size(), 1u);
    const kafhost::EntityInfo& mesh = drawing.entities[0];
    EXPECT_EQ(mesh.layer, L"TERRAIN");
    ASSERT_EQ(mesh.vertexColors.size(), mesh.vertices.size());
    int low = 0;
    int high = 0;
    for (std::size_t i = 0; i < mesh.vertices.size(); ++i) {
        ASSERT_TRUE(mesh.vertices[i][0] >= 0 && mesh.vertices[i][0] <= 1500);
        ASSERT_TRUE(mesh.vertices[i][1] >= 0 && mesh.vertices[i][1] <= 1500);
        // Lower ground is greener than the red channel, high ground the other way round.
        const kafhost::Rgb& colour = mesh.vertexColors[i];
        if (mesh.vertices[i][2] < 450) {
            ++low;
            ASSERT_GT(colour[1], colour[0]) << mesh.vertices[i][2];
        }
        if (mesh.vertices[i][2] > 570) {
            ++high;
            ASSERT_GT(colour[0], colour[1]) << mesh.vertices[i][2];
        }
    }
    EXPECT_GT(low, 0);
    EXPECT_GT(high, 0);
}

}  // namespace
