// AutoLISP over the drawing, run through kafcad as a user runs it: the CAD user's script of the
// manual, selection sets, entity data and its changes, the layer table; and what ends a script:
// *error*, deep recursion, files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "kafcad_process.h"
#include "kafhost/drawing_dxf.h"
#include "kafhost/drawing_json.h"
#include "platform/dxf_test_support.h"
#include "support/files.h"

namespace {

using kafhost::EntityKind;

namespace fs = std::filesystem;

// A copy of docs/examples per test, the working directory of the runs.
class DrawingLispTest : public ::testing::Test {
protected:
    DrawingLispTest() {
        fs::copy(fs::path(KAF_SOURCE_DIR) / "docs" / "examples", folder_,
                 fs::copy_options::recursive);
    }
    // Runs the expressions on the corridor drawing (see docs/examples/corridor.json).
    KafcadRun Eval(const std::vector<std::string>& expressions,
                   const std::vector<std::string>& options = {}) {
        std::vector<std::string> arguments{"--drawing", "corridor.json"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        for (const std::string& expression : expressions) {
            arguments.push_back("-e");
            arguments.push_back(expression);
        }
        return RunKafcadProcess(arguments, "", folder_.string());
    }
    kafhost::DrawingSnapshot Saved(const std::string& name) const {
        const std::string path = (folder_ / name).string();
        if (fs::path(name).extension() == ".dxf") {
            std::vector<std::string> notes;
            return kafhost::loadDxfDrawingFile(path, notes);
        }
        return kafhost::loadDrawingFile(path);
    }
    TempFolder temp_;
    const fs::path folder_ = temp_.Path("run");
};

double PlanArea(const kafhost::EntityInfo& mesh) {
    double area = 0.0;
    for (const std::vector<int>& face : mesh.faces) {
        const auto& a = mesh.vertices.at(static_cast<std::size_t>(face.at(0)));
        const auto& b = mesh.vertices.at(static_cast<std::size_t>(face.at(1)));
        const auto& c = mesh.vertices.at(static_cast<std::size_t>(face.at(2)));
        area += std::fabs((b[0] - a[0]) * (c[1] - a[1]) - (c[0] - a[0]) * (b[1] - a[1])) / 2.0;
    }
    return area;
}

std::string TwoDecimals(double x) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", x);
    return text;
}

TEST_F(DrawingLispTest, TheCadUsersScriptReportsEveryMeshItMade) {
    const KafcadRun run =
        RunKafcadProcess({"--drawing", "corridor.json", "--save", "out.json", "brk_report.lsp"}, "",
                         folder_.string());
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.err, "");

    // The report names each mesh of the saved drawing, with its vertex count and plan area as
    // measured here, and the total: the 60 m x 30 m outline.
    std::vector<kafhost::EntityInfo> meshes;
    for (const kafhost::EntityInfo& entity : Saved("out.json").entities) {
        if (entity.type == EntityKind::kSubDMesh) {
            EXPECT_EQ(entity.layer, L"TIN");
            meshes.push_back(entity);
        }
    }
    ASSERT_GE(meshes.size(), 2u);
    std::string expected = "Breaklines: 2, meshes: " + std::to_string(meshes.size()) + "\n";
    double total = 0.0;
    for (const kafhost::EntityInfo& mesh : meshes) {
        EXPECT_LE(mesh.vertices.size(), 8u);
        std::string handle(mesh.handle.begin(), mesh.handle.end());
        expected += "Mesh " + handle + ": " + std::to_string(mesh.vertices.size()) +
                    " vertices, plan area " + TwoDecimals(PlanArea(mesh)) + " m2\n";
        total += PlanArea(mesh);
    }
    EXPECT_NEAR(total, 1800.0, 1e-6);
    expected += "Total plan area: 1800.00 m2\n";
    EXPECT_EQ(FileText(folder_ / "surface_report.txt"), expected);

    // The manual shows the script as it is.
    const std::string manual = FileText(fs::path(KAF_SOURCE_DIR) / "docs" / "kafcad.md");
    EXPECT_NE(manual.find("```lisp\n" + FileText(folder_ / "brk_report.lsp") + "```"),
              std::string::npos);
}

TEST_F(DrawingLispTest, SsgetSelectsByTypeLayerPatternsAndLogicalGroups) {
    const KafcadRun run = Eval({
        "(kafcad-handles (ssget \"X\"))",
        "(kafcad-handles (ssget \"X\" '((0 . \"POLYLINE\") (8 . \"BRK-*\"))))",
        "(kafcad-handles (ssget \"X\" '((8 . \"brk-kerb-l,survey\"))))",
        "(kafcad-handles (ssget \"X\" '((0 . \"LWPOLYLINE\") (-4 . \"&\") (70 . 1))))",
        "(kafcad-handles (ssget \"X\" '((-4 . \"<OR\") (8 . \"SURVEY\") (-4 . \"<AND\") "
        "(0 . \"LWPOLYLINE\") (-4 . \"<NOT\") (70 . 1) (-4 . \"NOT>\") (-4 . \"AND>\") "
        "(-4 . \"OR>\"))))",
        "(ssget \"X\" '((8 . \"NOSUCH\")))",
        "(ssget \"X\" '((-4 . \"<OR\") (8 . \"A\")))",
    });
    EXPECT_EQ(run.out,
              "(\"30\" \"31\" \"32\" \"33\" \"34\")\n(\"30\" \"31\")\n(\"30\" \"32\")\n(\"33\")\n"
              "(\"32\" \"34\")\nnil\n");
    EXPECT_EQ(run.err, "; error: bad SSGET list: an operator group is not closed\n");
    EXPECT_EQ(run.exitStatus, 1);

    for (const auto& [expression, error] :
         {std::pair<std::string, std::string>{"(ssget)",
                                              "; error: ssget: kafcad has no pointer "
                                              "to pick with; select with (ssget \"X\" "
                                              "[filter])\n"},
          {"(ssget \"X\" '((10 0 0 0)))", "; error: ssget cannot filter by points in kafcad\n"}}) {
        EXPECT_EQ(Eval({expression}).err, error) << expression;
    }
}

TEST_F(DrawingLispTest, SelectionSetsHoldEntityNames) {
    const KafcadRun run = Eval({
        "(setq ss (ssget \"X\" '((8 . \"BRK-*\"))))",
        "(list (sslength ss) (ssname ss 0) (ssname ss 2))",
        "(setq e (handent \"33\"))",
        "(ssmemb e ss)",
        "(sslength (ssadd e ss))",
        "(ssmemb e ss)",
        "(sslength (ssadd e ss))",
        "(ssdel (handent \"30\") ss)",
        "(kafcad-handles ss)",
        "(ssdel (handent \"30\") ss)",
        "(list (sslength (ssadd)) (kafcad-handles (ssadd e)) (type ss) (type e))",
        "(sslength 5)",
    });
    EXPECT_EQ(run.out,
              "<Selection set: 1>\n(2 <Entity name: 30> nil)\n<Entity name: 33>\nnil\n3\n"
              "<Entity name: 33>\n3\n<Selection set: 1>\n(\"31\" \"33\")\nnil\n"
              "(0 (\"33\") PICKSET ENAME)\n");
    EXPECT_EQ(run.err, "; error: bad argument type: lselsetp 5\n");
}

TEST_F(DrawingLispTest, EntgetGivesTheGroupsAndEntnextWalksTheDrawing) {
    const KafcadRun run = Eval({
        "(entget (handent \"33\"))",
        "(entget (handent \"31\"))",
        "(cdr (assoc 5 (entget (entnext))))",
        "(cdr (assoc 5 (entget (entnext (handent \"31\")))))",
        "(entlast)",
        "(entnext (entlast))",
        "(handent \"99\")",
        "(setq gone (handent \"32\"))",
        "(entdel gone)",
        "(list (entget gone) (handent \"32\") (cdr (assoc 5 (entget (entnext "
        "(handent \"31\"))))))",
        "(entget \"33\")",
    });
    EXPECT_EQ(run.out,
              "((-1 . <Entity name: 33>) (0 . \"LWPOLYLINE\") (5 . \"33\") (8 . \"BOUNDARY\") "
              "(90 . 4) (70 . 1) (38 . 10.5) (10 0.0 0.0) (42 . 0.0) (10 60.0 0.0) (42 . 0.0) "
              "(10 60.0 30.0) (42 . 0.0) (10 0.0 30.0) (42 . 0.0))\n"
              "((-1 . <Entity name: 31>) (0 . \"POLYLINE\") (5 . \"31\") (8 . \"BRK-KERB-R\") "
              "(66 . 1) (70 . 8) (10 5.0 20.0 10.8) (10 30.0 19.0 11.1) (10 55.0 20.0 11.4))\n"
              "\"30\"\n\"32\"\n<Entity name: 34>\nnil\nnil\n<Entity name: 32>\n<Entity name: 32>\n"
              "(nil nil \"33\")\n");
    EXPECT_EQ(run.err, "; error: bad argument type: lentityp \"33\"\n");
}

TEST_F(DrawingLispTest, EntmodAndEntmakeChangeTheSavedDrawing) {
    const KafcadRun run = Eval(
        {"(setq d (entget (handent \"30\")))", "(setq d (subst '(8 . \"KERBS\") (assoc 8 d) d))",
         "(setq d (subst '(10 5.0 9.0 10.0) (assoc 10 d) d))", "(cdr (assoc 8 (entmod d)))",
         "(setq b (entget (handent \"34\")))", "(entmod (subst '(70 . 1) (assoc 70 b) b))",
         "(cdr (assoc 0 (entmake '((0 . \"LWPOLYLINE\") (8 . \"NEW\") (38 . 2.0) (10 0 0) "
         "(10 1 0) (42 . 1.0) (10 1 1)))))",
         "(entmake '((0 . \"POLYLINE\") (70 . 9) (10 0 0 1) (10 1 0 2) (10 1 1 3)))",
         "(cdr (assoc 70 (entget (entlast))))",
         "(entmake '((0 . \"3DFACE\") (10 0 0 0) (11 1 0 0) (12 1 1 0) (70 . 2)))",
         "(tblsearch \"LAYER\" \"new\")"},
        {"--save", "changed.json"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const kafhost::DrawingSnapshot drawing = Saved("changed.json");
    ASSERT_EQ(drawing.entities.size(), 8u);
    const kafhost::EntityInfo& kerb = drawing.entities[0];
    EXPECT_EQ(kerb.handle, L"30");
    EXPECT_EQ(kerb.layer, L"KERBS");
    EXPECT_EQ(kerb.vertices.front(), (kafhost::Point3{5.0, 9.0, 10.0}));
    EXPECT_EQ(kerb.vertices.size(), 3u);
    EXPECT_TRUE(drawing.entities[4].closed);
    const kafhost::EntityInfo& made = drawing.entities[5];
    EXPECT_EQ(made.type, EntityKind::kPolyline);
    EXPECT_EQ(made.layer, L"NEW");
    EXPECT_EQ(made.elevation, 2.0);
    EXPECT_EQ(made.points.size(), 3u);
    EXPECT_EQ(made.bulges, (std::vector<double>{0.0, 1.0, 0.0}));
    EXPECT_EQ(drawing.entities[6].type, EntityKind::kPolyline3d);
    EXPECT_TRUE(drawing.entities[6].closed);
    EXPECT_EQ(drawing.entities[7].type, EntityKind::kFace);
    EXPECT_EQ(drawing.entities[7].corners[3], drawing.entities[7].corners[2]);
    EXPECT_EQ(drawing.entities[7].edgeVisible, (std::vector<bool>{true, false, true, true}));
    EXPECT_NE(
        run.out.find("((0 . \"LAYER\") (2 . \"NEW\") (70 . 0) (62 . 7) (6 . \"Continuous\"))"),
        std::string::npos)
        << run.out;

    // What the drawing cannot hold is refused, and the drawing is not saved.
    for (const auto& [expression, error] : std::vector<std::pair<std::string, std::string>>{
             {"(entmake '((0 . \"CIRCLE\") (10 0 0 0) (40 . 1.0)))",
              "; error: kafcad's drawing cannot hold CIRCLE entities (it holds LINE, LWPOLYLINE, "
              "3D POLYLINE, 3DFACE, POINT, TEXT and the meshes the module makes)\n"},
             {"(entmake '((0 . \"LINE\") (10 0 0 0)))",
              "; error: bad argument value: a LINE needs a start point (10) and an end point "
              "(11)\n"},
             {"(entmake '((0 . \"LINE\") (10 0 0 0) (11 1 1 0) (39 . 2.0)))",
              "; error: kafcad's drawing cannot hold group 39 of an entity\n"},
             {"(entmod (append (entget (handent \"33\")) '((62 . 257))))",
              "; error: bad argument value: DXF group (62 . 257)\n"},
             {"(entmake '((0 . \"TEXT\") (1 . \"A\") (420 . 16777216)))",
              "; error: bad argument value: DXF group (420 . 16777216)\n"},
             {"(entmake '((0 . \"TEXT\") (1 . \"A\") (40 . 0.0)))",
              "; error: bad argument value: DXF group (40 . 0.0)\n"},
             {"(entmake '((0 . \"TEXT\") (1 . \"A\") (72 . 6)))",
              "; error: bad argument value: DXF group (72 . 6)\n"},
             {"(entmake '((0 . \"POINT\") (10 0 0 0) (39 . 1.0)))",
              "; error: kafcad's drawing cannot hold group 39 of an entity\n"},
             {"(entmod (subst '(0 . \"LINE\") '(0 . \"LWPOLYLINE\") (entget (handent \"33\"))))",
              "; error: entmod cannot change an entity's type\n"}}) {
        const KafcadRun refused = Eval({expression}, {"--save", "refused.json"});
        EXPECT_EQ(refused.exitStatus, 1) << expression;
        EXPECT_EQ(refused.err.substr(0, error.size()), error) << expression;
        EXPECT_FALSE(fs::exists(folder_ / "refused.json"));
    }
}

// Texts, points and entity colours as entmake makes them, entget lists them, ssget selects them
// and entmod changes them; and what the saved drawing, JSON or DXF, holds of them.
TEST_F(DrawingLispTest, TextsPointsAndColoursAreMadeListedSelectedAndChanged) {
    const std::vector<std::string> script{
        "(entmake '((0 . \"TEXT\") (8 . \"LABELS\") (62 . 1) (10 5.0 12.0) (40 . 1.8) "
        "(1 . \"KERB L\") (50 . 0.5)))",
        "(entget (entlast))",
        "(entmake '((0 . \"POINT\") (8 . \"SURVEY\") (10 1 2 3) (62 . 3) (420 . 16711680)))",
        "(entget (entlast))",
        "(entmake '((0 . \"TEXT\") (1 . \"MID\") (10 1 1) (72 . 4) (11 2 2) (7 . \"Standard\")))",
        "(entget (entlast))",
        "(kafcad-handles (ssget \"X\" '((0 . \"TEXT,POINT\"))))",
        "(kafcad-handles (ssget \"X\" '((62 . 256))))",
        "(kafcad-handles (ssget \"X\" '((-4 . \"<\") (62 . 256) (0 . \"~POINT\"))))",
        "(kafcad-handles (ssget \"X\" '((1 . \"kerb*\"))))",
        // A left-aligned text's alignment point follows its position.
        "(setq d (entget (handent \"35\")))",
        "(foreach g '((1 . \"KERB LEFT\") (10 6.0 13.0 0.0) (40 . 2.0) (50 . 0.0) (62 . 256) "
        "(8 . \"KERBS\")) (setq d (subst g (assoc (car g) d) d)))",
        "(entmod d)",
        "(entget (handent \"35\"))",
        "(entmod (append (entget (handent \"33\")) '((62 . 5))))",
        "(cdr (assoc 62 (entget (handent \"33\"))))",
        "(setq p (entget (handent \"36\")))",
        "(entmod (subst '(10 7.0 8.0 9.0) (assoc 10 p) (subst '(62 . 0) (assoc 62 p) p)))",
        "(entget (handent \"36\"))",
    };
    const std::string expected =
        "((0 . \"TEXT\") (8 . \"LABELS\") (62 . 1) (10 5.0 12.0) (40 . 1.8) (1 . \"KERB L\") "
        "(50 . 0.5))\n"
        "((-1 . <Entity name: 35>) (0 . \"TEXT\") (5 . \"35\") (8 . \"LABELS\") (62 . 1) "
        "(10 5.0 12.0 0.0) (40 . 1.8) (1 . \"KERB L\") (50 . 0.5) (7 . \"Standard\") (72 . 0) "
        "(11 5.0 12.0 0.0) (73 . 0))\n"
        "((0 . \"POINT\") (8 . \"SURVEY\") (10 1 2 3) (62 . 3) (420 . 16711680))\n"
        "((-1 . <Entity name: 36>) (0 . \"POINT\") (5 . \"36\") (8 . \"SURVEY\") (62 . 3) "
        "(420 . 16711680) (10 1.0 2.0 3.0))\n"
        "((0 . \"TEXT\") (1 . \"MID\") (10 1 1) (72 . 4) (11 2 2) (7 . \"Standard\"))\n"
        "((-1 . <Entity name: 37>) (0 . \"TEXT\") (5 . \"37\") (8 . \"0\") (10 1.0 1.0 0.0) "
        "(40 . 2.5) (1 . \"MID\") (50 . 0.0) (7 . \"Standard\") (72 . 4) (11 2.0 2.0 0.0) "
        "(73 . 0))\n"
        "(\"35\" \"36\" \"37\")\n(\"30\" \"31\" \"32\" \"33\" \"34\" \"37\")\n(\"35\")\n"
        "(\"35\")\n";
    const std::string changed =
        "((-1 . <Entity name: 35>) (0 . \"TEXT\") (5 . \"35\") (8 . \"KERBS\") "
        "(10 6.0 13.0 0.0) (40 . 2.0) (1 . \"KERB LEFT\") (50 . 0.0) (7 . \"Standard\") "
        "(72 . 0) (11 6.0 13.0 0.0) (73 . 0))\n";
    const std::string point =
        "((-1 . <Entity name: 36>) (0 . \"POINT\") (5 . \"36\") (8 . \"SURVEY\") (62 . 0) "
        "(420 . 16711680) (10 7.0 8.0 9.0))\n";
    for (const std::string file : {"labels.json", "labels.dxf"}) {
        const KafcadRun run = Eval(script, {"--save", file});
        ASSERT_EQ(run.exitStatus, 0) << run.err;
        EXPECT_EQ(run.out.substr(0, expected.size()), expected);
        EXPECT_NE(run.out.find(changed), std::string::npos) << run.out;
        EXPECT_NE(run.out.find("\n5\n"), std::string::npos) << run.out;
        EXPECT_EQ(run.out.substr(run.out.size() - point.size()), point);

        const kafhost::DrawingSnapshot drawing = Saved(file);
        ASSERT_EQ(drawing.entities.size(), 8u) << file;
        EXPECT_EQ(drawing.entities[3].colorIndex, 5) << file;
        const kafhost::EntityInfo& text = drawing.entities[5];
        EXPECT_EQ(text.type, EntityKind::kText) << file;
        EXPECT_EQ(text.text, L"KERB LEFT") << file;
        EXPECT_EQ(text.layer, L"KERBS") << file;
        EXPECT_EQ(text.colorIndex, 256) << file;
        EXPECT_EQ(text.position, (kafhost::Point3{6.0, 13.0, 0.0})) << file;
        EXPECT_EQ(text.height, 2.0) << file;
        EXPECT_EQ(text.rotation, 0.0) << file;
        const kafhost::EntityInfo& surveyed = drawing.entities[6];
        EXPECT_EQ(surveyed.type, EntityKind::kPoint) << file;
        EXPECT_EQ(surveyed.position, (kafhost::Point3{7.0, 8.0, 9.0})) << file;
        EXPECT_EQ(surveyed.colorIndex, 0) << file;
        EXPECT_EQ(surveyed.trueColor, 0xFF0000) << file;
        const kafhost::EntityInfo& middle = drawing.entities[7];
        EXPECT_EQ(middle.horizontalMode, 4) << file;
        EXPECT_EQ(middle.alignmentPoint, (kafhost::Point3{2.0, 2.0, 0.0})) << file;
    }
}

// Lines as entmake makes them, entget lists them, ssget selects them and entmod changes them;
// the saved drawing holds them, and ezdxf reads them from the saved DXF.
TEST_F(DrawingLispTest, LinesAreMadeListedSelectedAndChanged) {
    const std::vector<std::string> script{
        "(entmake '((0 . \"LINE\") (8 . \"KERB\") (62 . 2) (10 1 2 3) (11 4.5 6 7)))",
        "(entget (entlast))",
        "(entmake '((0 . \"LINE\") (10 0 0) (11 1 1)))",
        "(kafcad-handles (ssget \"X\" '((0 . \"LINE\"))))",
        "(kafcad-handles (ssget \"X\" '((0 . \"LINE\") (8 . \"K*\"))))",
        "(setq d (entget (handent \"36\")))",
        "(entmod (subst '(11 9.0 9.0 9.0) (assoc 11 d) (append d '((8 . \"EDGE\") (62 . 4)))))",
        "(entget (handent \"36\"))",
    };
    const std::string expected =
        "((0 . \"LINE\") (8 . \"KERB\") (62 . 2) (10 1 2 3) (11 4.5 6 7))\n"
        "((-1 . <Entity name: 35>) (0 . \"LINE\") (5 . \"35\") (8 . \"KERB\") (62 . 2) "
        "(10 1.0 2.0 3.0) (11 4.5 6.0 7.0))\n"
        "((0 . \"LINE\") (10 0 0) (11 1 1))\n"
        "(\"35\" \"36\")\n(\"35\")\n";
    const std::string changed =
        "((-1 . <Entity name: 36>) (0 . \"LINE\") (5 . \"36\") (8 . \"EDGE\") (62 . 4) "
        "(10 0.0 0.0 0.0) (11 9.0 9.0 9.0))\n";
    for (const std::string file : {"lines.json", "lines.dxf"}) {
        const KafcadRun run = Eval(script, {"--save", file});
        ASSERT_EQ(run.exitStatus, 0) << run.err;
        EXPECT_EQ(run.out.substr(0, expected.size()), expected);
        EXPECT_EQ(run.out.substr(run.out.size() - changed.size()), changed);

        const kafhost::DrawingSnapshot drawing = Saved(file);
        ASSERT_EQ(drawing.entities.size(), 7u) << file;
        const kafhost::EntityInfo& kerb = drawing.entities[5];
        EXPECT_EQ(kerb.type, EntityKind::kLine) << file;
        EXPECT_EQ(kerb.layer, L"KERB") << file;
        EXPECT_EQ(kerb.colorIndex, 2) << file;
        EXPECT_EQ(kerb.corners, (std::vector<kafhost::Point3>{{1, 2, 3}, {4.5, 6, 7}})) << file;
        const kafhost::EntityInfo& edge = drawing.entities[6];
        EXPECT_EQ(edge.layer, L"EDGE") << file;
        EXPECT_EQ(edge.corners, (std::vector<kafhost::Point3>{{0, 0, 0}, {9, 9, 9}})) << file;
    }
    const auto listing = dxf_test::RunDxfChecker({(folder_ / "lines.dxf").string()});
    EXPECT_NE(listing.output.find(" 35 LINE model KERB owner 2 from (1.0,2.0,3.0) to (4.5,6.0,7.0) "
                                  "color 2\n"),
              std::string::npos)
        << listing.output;
    EXPECT_NE(listing.output.find(" LINE model EDGE owner 2 from (0.0,0.0,0.0) to (9.0,9.0,9.0) "
                                  "color 4\n"),
              std::string::npos)
        << listing.output;
}

TEST_F(DrawingLispTest, TheLayerTableIsSearchedAndWalked) {
    const KafcadRun run = Eval({
        "(tblsearch \"LAYER\" \"boundary\")",
        "(tblsearch \"LAYER\" \"NOSUCH\")",
        "(cdr (assoc 2 (tblnext \"LAYER\" T)))",
        "(cdr (assoc 2 (tblnext \"LAYER\")))",
        "(setq n 2) (while (tblnext \"layer\") (setq n (1+ n)))",
        "(tblnext \"LAYER\")",
        "(tblsearch \"LTYPE\" \"CONTINUOUS\")",
    });
    EXPECT_EQ(
        run.out,
        "((0 . \"LAYER\") (2 . \"BOUNDARY\") (70 . 0) (62 . 7) (6 . \"Continuous\"))\nnil\n\"0\"\n"
        "\"BRK-KERB-L\"\n2\n6\nnil\nnil\n");
    EXPECT_EQ(run.exitStatus, 0) << run.err;
}

TEST_F(DrawingLispTest, AUserErrorFunctionGetsTheMessageInsteadOfTheErrorLine) {
    const KafcadRun run = Eval(
        {"(defun *error* (msg) (princ (strcat \"Stopped: \" msg)))",
         "(progn (princ \"before \") (+ 1 \"a\") (princ \"after\"))", "(princ \"not reached\")"},
        {"--save", "never.json"});
    EXPECT_EQ(run.out, "*ERROR*\nbefore Stopped: bad argument type: numberp: \"a\"\n");
    EXPECT_EQ(run.err,
              "kafcad: the drawing was not saved to never.json: the run ended with an error\n");
    EXPECT_EQ(run.exitStatus, 1);

    // An error inside *error* is reported as it is.
    const KafcadRun twice = Eval({"(defun *error* (msg) (car 1))", "(/ 1 0)"});
    EXPECT_EQ(twice.err, "; error: bad argument type: consp 1\n");
}

// The level limit, or in builds with large frames (sanitizers) the stack guard, stops the
// recursion; either way with an error, never a crash.
bool StoppedAsTooDeep(const KafcadRun& run) {
    return run.exitStatus == 1 &&
           (run.err == "; error: too deeply nested (more than 2000 levels of evaluation)\n" ||
            run.err == "; error: too deeply nested (the evaluation has used up its stack)\n");
}

TEST_F(DrawingLispTest, DeepRecursionInAUserFunctionEndsWithAnError) {
    for (const char* recursion :
         {"(defun r (n) (+ 1 (r (1+ n))))", "(defun r (n) (mapcar '(lambda (x) (r x)) (list n)))",
          "(defun r (n) (apply 'r (list n)))",
          "(defun r (n) (vl-sort '(1 2) '(lambda (a b) (r a))))", "(defun r (n) (while (r n)))",
          "(defun r (n) (eval (list 'r n)))"}) {
        const KafcadRun run = Eval({recursion, "(r 0)"});
        EXPECT_TRUE(StoppedAsTooDeep(run)) << recursion << ": " << run.exitStatus << " " << run.err;
    }
    // Recursion within the limit works, and the locals come back after the error.
    const KafcadRun counted = Eval(
        {"(defun sum (n / k) (setq k n) (if (= n 0) 0 (+ n (sum (1- n)))))", "(sum 300)", "k"});
    EXPECT_EQ(counted.out, "SUM\n45150\nnil\n");
}

TEST_F(DrawingLispTest, FilesAreWrittenAppendedAndReadLineByLine) {
    const KafcadRun run = Eval({
        "(setq f (open \"notes.txt\" \"w\"))",
        "(write-line \"first\" f)",
        "(princ 12.5 f)",
        "(close f)",
        "(setq f (open \"notes.txt\" \"a\")) (write-line \"\" f) (prin1 \"quoted\" f) (close f)",
        "(setq f (open \"notes.txt\" \"r\"))",
        "(list (read-line f) (read-line f) (read-line f) (read-line f))",
        "(close f)",
        "(open \"missing/none.txt\" \"r\")",
        "(findfile \"notes.txt\")",
        "(findfile \"none.txt\")",
        "(read-line f)",
    });
    EXPECT_EQ(FileText(folder_ / "notes.txt"), "first\n12.5\n\"quoted\"");
    EXPECT_EQ(run.out,
              "<File #1: \"notes.txt\">\n\"first\"\n12.5\nnil\n<File #2: \"notes.txt\">\n\"\"\n"
              "\"quoted\"\nnil\n<File #3: \"notes.txt\">\n"
              "(\"first\" \"12.5\" \"\\\"quoted\\\"\" nil)\nnil\nnil\n\"notes.txt\"\nnil\n");
    EXPECT_EQ(run.err, "; error: bad argument type: streamp <File #3: \"notes.txt\">\n");
    EXPECT_EQ(Eval({"(open \"x.txt\" \"W\")"}).err, "; error: bad argument value: mode \"W\"\n");
}

}  // namespace
