#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>

#include "kafcad_process.h"
#include "kafhost/drawing_json.h"
#include "kafhost/drawing_landxml.h"
#include "png_reader.h"
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

TEST_F(TerrainSampleTest, ScriptBuildsColouredMeshesContoursStatisticsAndVolume) {
    ASSERT_EQ(Generate("terrain.csv", 3000).exitStatus, 0);
    const KafcadRun run = RunKafcadProcess(
        {"--layer", "TERRAIN", "--layer", "CONTOUR", "--layer", "CONTOUR-MAJOR", "--save",
         "terrain.json", "--png", "terrain.png", "--png-size", "400", "terrain.lsp", "-e",
         // How far the map's volumes to 0 are from kaf-volume's, relative to them.
         "(list (/ (- (car earthworks) (car map-volume)) (car earthworks))"
         " (/ (- (cadr earthworks) (cadr map-volume)) (cadr earthworks)))"},
        "", folder_.string());
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_NE(run.out.find("\nMeshes made: 1 (handles 20 ... 20)\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\nSurface: 3000 vertices, "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\nVolume: cut "), std::string::npos) << run.out;
    int printedLines = 0;
    const std::size_t contoursAt = run.out.find("\nContours: ");
    ASSERT_NE(contoursAt, std::string::npos) << run.out;
    printedLines = std::stoi(run.out.substr(contoursAt + 11));

    const kafhost::DrawingSnapshot drawing =
        kafhost::loadDrawingFile((folder_ / "terrain.json").string());
    ASSERT_GE(drawing.entities.size(), 2u);
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

    // Contours every 5 m; those at multiples of 25 m on the major layer.
    int minor = 0;
    int major = 0;
    for (std::size_t i = 1; i < drawing.entities.size(); ++i) {
        const kafhost::EntityInfo& line = drawing.entities[i];
        if (line.type != L"AcDbPolyline") {
            continue;  // the pad and the cut/fill map
        }
        const bool onMajor = line.layer == L"CONTOUR-MAJOR";
        ASSERT_TRUE(onMajor || line.layer == L"CONTOUR") << i;
        ASSERT_EQ(std::fmod(line.elevation, onMajor ? 25.0 : 5.0), 0.0) << line.elevation;
        ASSERT_EQ(std::fmod(line.elevation, 25.0) == 0.0, onMajor) << line.elevation;
        ++(onMajor ? major : minor);
    }
    EXPECT_GT(minor, 0);
    EXPECT_GT(major, 0);
    EXPECT_EQ(minor + major, printedLines);

    // The cut/fill map of the pad: the difference of the surfaces over the pad, a mesh coloured
    // red for cut and blue for fill, whose volume to 0 is kaf-volume's.
    const std::size_t mapAt = run.out.find("\nCut/fill map: ");
    ASSERT_NE(mapAt, std::string::npos) << run.out;
    const std::size_t earthworks = run.out.find("\nVolume: ", mapAt);
    ASSERT_NE(earthworks, std::string::npos);
    const std::string volume =
        run.out.substr(earthworks, run.out.find('\n', earthworks + 1) - earthworks);
    EXPECT_NE(volume.find("plan area 90000.000"), std::string::npos) << volume;
    EXPECT_EQ(run.out.substr(earthworks + volume.size(), volume.size()), volume) << run.out;
    const std::size_t shown = run.out.rfind("\n(");
    ASSERT_NE(shown, std::string::npos) << run.out;
    std::istringstream apart(run.out.substr(shown + 2));
    double cutApart = 1.0;
    double fillApart = 1.0;
    ASSERT_TRUE(apart >> cutApart >> fillApart) << run.out.substr(shown);
    EXPECT_LE(std::fabs(cutApart), 1e-9);
    EXPECT_LE(std::fabs(fillApart), 1e-9);
    const kafhost::EntityInfo& map = drawing.entities.back();
    EXPECT_EQ(map.type, L"AcDbSubDMesh");
    ASSERT_EQ(map.vertexColors.size(), map.vertices.size());
    for (std::size_t i = 0; i < map.vertices.size(); ++i) {
        const kafhost::Rgb& colour = map.vertexColors[i];
        ASSERT_TRUE(map.vertices[i][0] >= 600 && map.vertices[i][0] <= 900);
        if (std::fabs(map.vertices[i][2]) > 1.0) {  // nearer 0 the colours are all but white
            ASSERT_EQ(colour[0] > colour[2], map.vertices[i][2] > 0) << map.vertices[i][2];
        }
    }

    // The picture: the ramp in the elevation legend's bar (brown on top, green below), the
    // cut/fill legend beside it, and the scale bar.
    const Picture picture = ReadPng((folder_ / "terrain.png").string());
    ASSERT_EQ(picture.width, 400);
    const std::uint32_t top = picture.At(400 - 220 + 23, 52);
    const std::uint32_t bottom = picture.At(400 - 220 + 23, 275);
    const std::uint32_t cut = picture.At(400 - 110 + 23, 52);
    EXPECT_GT(cut >> 16 & 0xFF, (cut & 0xFF) + 50) << Channels(cut);
    EXPECT_GT(top >> 16 & 0xFF, top >> 8 & 0xFF) << Channels(top);
    EXPECT_GT(bottom >> 8 & 0xFF, bottom >> 16 & 0xFF) << Channels(bottom);
    EXPECT_EQ(picture.At(20, 400 - 17), 0x000000u) << Channels(picture.At(20, 400 - 17));

    // The surface as LandXML, read back with the same vertices.
    const KafcadRun save =
        RunKafcadProcess({"--drawing", "terrain.json", "--save", "terrain.xml", "-e", "(princ)"},
                         "", folder_.string());
    ASSERT_EQ(save.exitStatus, 0) << save.err;
    EXPECT_NE(save.err.find("kafcad: terrain.xml: left out the vertex colours of 2 mesh(es)"),
              std::string::npos)
        << save.err;
    std::vector<std::string> notes;
    const kafhost::DrawingSnapshot surface =
        kafhost::loadLandXmlDrawingFile((folder_ / "terrain.xml").string(), notes);
    ASSERT_EQ(surface.entities.size(), 3u);  // the terrain, the pad and the map
    EXPECT_EQ(surface.entities[0].layer, L"TERRAIN");
    EXPECT_EQ(surface.entities[0].vertices, mesh.vertices);
    EXPECT_EQ(surface.entities[0].faces, mesh.faces);
}

}  // namespace
