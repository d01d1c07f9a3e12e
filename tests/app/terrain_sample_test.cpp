#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>

#include "kafcad_process.h"
#include "kafhost/drawing_json.h"
#include "kafhost/drawing_landxml.h"
#include "kafhost/wide_to_utf8.h"
#include "png_reader.h"
#include "support/files.h"

namespace {

using kafhost::EntityKind;

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

TEST_F(TerrainSampleTest, ScriptBuildsColouredMeshesLabelledContoursSpotLevelsAndVolume) {
    ASSERT_EQ(Generate("terrain.csv", 3000).exitStatus, 0);
    const KafcadRun run = RunKafcadProcess(
        {"--layer", "TERRAIN", "--layer", "CONTOUR=8,Continuous,0.18", "--layer",
         "CONTOUR-MAJOR=250,Continuous,0.5", "--layer", "LABELS=250", "--layer", "SPOTS=5",
         "--save", "terrain.json", "--png", "terrain.png", "--png-size", "400", "terrain.lsp", "-e",
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
    ASSERT_EQ(mesh.vertexColours.size(), mesh.vertices.size());
    int low = 0;
    int high = 0;
    for (std::size_t i = 0; i < mesh.vertices.size(); ++i) {
        ASSERT_TRUE(mesh.vertices[i][0] >= 0 && mesh.vertices[i][0] <= 1500);
        ASSERT_TRUE(mesh.vertices[i][1] >= 0 && mesh.vertices[i][1] <= 1500);
        // Lower ground is greener than the red channel, high ground the other way round.
        const kafhost::Rgb& colour = mesh.vertexColours[i];
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

    // The layers keep their styles.
    ASSERT_EQ(drawing.layers.size(), 6u);
    EXPECT_EQ(drawing.layers[2].name, L"CONTOUR");
    EXPECT_EQ(drawing.layers[2].colorIndex, 8);
    EXPECT_EQ(drawing.layers[2].lineweight, 18);
    EXPECT_EQ(drawing.layers[3].lineweight, 50);
    EXPECT_EQ(drawing.layers[5].colorIndex, 5);

    // Contours every 5 m; those at multiples of 25 m on the major layer. Then the majors'
    // labels, whole metres at multiples of 25, and the spot levels, a point and its text each.
    int minor = 0;
    int major = 0;
    int labels = 0;
    int spots = 0;
    for (std::size_t i = 1; i < drawing.entities.size(); ++i) {
        const kafhost::EntityInfo& line = drawing.entities[i];
        if (line.layer == L"LABELS") {
            ASSERT_EQ(line.type, EntityKind::kText);
            ASSERT_EQ(std::stoi(line.text) % 25, 0) << kafhost::wideToUtf8(line.text);
            ++labels;
            continue;
        }
        if (line.layer == L"SPOTS") {
            ASSERT_EQ(line.type, spots % 2 == 0 ? EntityKind::kPoint : EntityKind::kText);
            ++spots;
            continue;
        }
        if (line.type != EntityKind::kPolyline) {
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
    EXPECT_GT(labels, 0);
    EXPECT_GT(spots, 0);
    EXPECT_NE(run.out.find("\nContour labels: " + std::to_string(labels) + " on "),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\nSpot levels: " + std::to_string(spots / 2) + " written, "),
              std::string::npos)
        << run.out;

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
    EXPECT_EQ(map.type, EntityKind::kSubDMesh);
    ASSERT_EQ(map.vertexColours.size(), map.vertices.size());
    for (std::size_t i = 0; i < map.vertices.size(); ++i) {
        const kafhost::Rgb& colour = map.vertexColours[i];
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

// The cross-sections' average-end-area volumes of the pad's earthworks, along an alignment across
// the pad's middle from its south edge to its north edge with sections wider than the pad, so
// that the corridor covers the whole pad: they approach kaf-volume's cut and fill as the interval
// shrinks from 30 m to 10 m.
TEST_F(TerrainSampleTest, SectionVolumesAcrossThePadApproachKafVolumeAsTheIntervalShrinks) {
    ASSERT_EQ(Generate("terrain.csv", 3000).exitStatus, 0);
    const KafcadRun run = RunKafcadProcess(
        {"--layer",
         "TERRAIN",
         "--layer",
         "CONTOUR",
         "--layer",
         "CONTOUR-MAJOR",
         "--layer",
         "LABELS",
         "--layer",
         "SPOTS",
         "terrain.lsp",
         "-e",
         "(entmake '((0 . \"LWPOLYLINE\") (10 750.0 600.0) (10 750.0 900.0)))",
         "-e",
         "(setq axis (cdr (assoc 5 (entget (entlast)))))",
         "-e",
         "(defun total (sections k) (apply '+ (mapcar '(lambda (s) (nth k s)) sections)))",
         "-e",
         "(length (setq wide (kaf-sections axis 30.0 160.0 160.0 meshes pad)))",
         "-e",
         "(length (setq fine (kaf-sections axis 10.0 160.0 160.0 meshes pad)))",
         "-e",
         "(list (total wide 5) (total wide 6) (total fine 5) (total fine 6) (car earthworks)"
         " (cadr earthworks))"},
        "", folder_.string());
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_NE(run.out.find("\nSections: 11 stations from 0.000 to 300.000, 160.000 left and "
                           "160.000 right\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\nSections: 31 stations from 0.000 to 300.000"), std::string::npos);
    const std::size_t shown = run.out.rfind("\n(");
    ASSERT_NE(shown, std::string::npos) << run.out;
    std::istringstream figures(run.out.substr(shown + 2));
    double wideCut = 0, wideFill = 0, fineCut = 0, fineFill = 0, cut = 0, fill = 0;
    ASSERT_TRUE(figures >> wideCut >> wideFill >> fineCut >> fineFill >> cut >> fill)
        << run.out.substr(shown);
    ASSERT_GT(cut, 100000.0);
    ASSERT_GT(fill, 100000.0);
    // The error falls as the interval shrinks, to well under a thousandth of the earthworks.
    EXPECT_LT(std::fabs(fineCut - cut), std::fabs(wideCut - cut));
    EXPECT_LT(std::fabs(fineFill - fill), std::fabs(wideFill - fill));
    EXPECT_LE(std::fabs(wideCut - cut) + std::fabs(wideFill - fill), 0.01 * (cut + fill));
    EXPECT_LE(std::fabs(fineCut - cut) + std::fabs(fineFill - fill), 0.001 * (cut + fill));
}

}  // namespace
