// kafcad with DXF drawing files: chosen by the ".dxf" extension for --drawing and --save; a drawing
// the module made passes ezdxf's audit and comes back the same; notes and errors of reading.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "kafcad_process.h"
#include "kafhost/drawing_dxf.h"
#include "kafhost/drawing_json.h"
#include "platform/dxf_test_support.h"

namespace {

using dxf_test::DxfFileTest;
using dxf_test::FileContents;
using dxf_test::RunDxfChecker;

// A subdivision mesh, a polyface mesh, 3D faces and a coloured subdivision mesh, all by the module.
std::vector<std::string> ModuleDrawingArguments(const std::string& savePath) {
    return {"--layer",
            "TIN",
            "--save",
            savePath,
            "-e",
            "(kaf-dct-subdmesh '((0 0 0.1) (1 0 0.2) (0 1 0.30000000000000004) (1 1 1e-7) "
            "(2 0.5 1)) \"TIN\")",
            "-e",
            "(kaf-dct-pfacemesh '((0 0 1) (2 0 1) (0 2 1) (2 2 3)) \"TIN\")",
            "-e",
            "(kaf-dct-pface '((5 5 1) (7 5 1) (5 7 2) (7 7 2.5)))",
            "-e",
            "(kaf-changeMeshColor (kaf-dct-subdmesh '((10 10 0.0) (11 10 1.0) (10 11 2.0)) "
            "\"TIN\") 0.0 2.0 '(255 0 0) '(0 0 255))"};
}

// The extension chooses the format in any case: "a.DXF" is DXF, "b.dxf.json" JSON.
TEST_F(DxfFileTest, ModuleDrawingSavedAsDxfPassesEzdxfAndComesBackTheSame) {
    KafcadRun run = RunKafcadProcess(ModuleDrawingArguments(Path("a.DXF")));
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    run = RunKafcadProcess(ModuleDrawingArguments(Path("a.json")));
    ASSERT_EQ(run.exitStatus, 0) << run.err;

    const auto check = RunDxfChecker({Path("a.DXF")});
    EXPECT_EQ(check.exitStatus, 0) << check.output;
    EXPECT_NE(check.output.find("\naudit errors 0 fixes 0\n"), std::string::npos) << check.output;
    EXPECT_NE(check.output.find("\nentity 20 MESH model TIN owner 2 vertices 5 faces 3 level 0 "
                                "colors 0\n"),
              std::string::npos)
        << check.output;
    EXPECT_NE(check.output.find("\nentity 21 POLYLINE model TIN owner 2 polyface True vertices 4 "
                                "faces 2 subentities-owned yes\n"),
              std::string::npos)
        << check.output;
    EXPECT_NE(check.output.find(" 3DFACE model 0 owner 2 corners "), std::string::npos)
        << check.output;
    EXPECT_NE(check.output.find(" MESH model TIN owner 2 vertices 3 faces 1 level 0 colors 3\n"),
              std::string::npos)
        << check.output;

    const kafhost::DrawingSnapshot made = kafhost::loadDrawingFile(Path("a.json"));
    std::vector<std::string> notes;
    dxf_test::ExpectSameDrawing(kafhost::loadDxfDrawingFile(Path("a.DXF"), notes), made);
    EXPECT_TRUE(notes.empty());

    run = RunKafcadProcess({"--drawing", Path("a.DXF"), "--save", Path("b.dxf.json"), "-e", "T"});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.err, "");
    dxf_test::ExpectSameDrawing(kafhost::loadDrawingFile(Path("b.dxf.json")), made);

    run = RunKafcadProcess({"--drawing", Path("a.DXF"), "--save", Path("c.dxf"), "-e", "T"});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(FileContents(Path("c.dxf")), FileContents(Path("a.DXF")));
}

TEST_F(DxfFileTest, WhatKafcadDoesNotModelIsKeptAndAJsonSaveThatWouldLoseItIsRefusedFirst) {
    const auto made = RunDxfChecker({"--make", Path("ezdxf.dxf")});
    ASSERT_EQ(made.exitStatus, 0) << made.output;
    KafcadRun run = RunKafcadProcess({"--drawing", Path("ezdxf.dxf"), "--save", Path("out.json"),
                                      "-e", "(kaf-dct-pface '((0 0) (1 0) (0 1)))"});
    EXPECT_EQ(run.err, "kafcad: cannot save drawing " + Path("out.json") +
                           ": a JSON drawing file cannot keep what the DXF file held (3 entities "
                           "kafcad does not model, block definitions, the locked or not-plotted "
                           "states (or colours outside 1 to 255) of 1 layer, the drawing units "
                           "($INSUNITS)); save it as .dxf\n");
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(std::filesystem::exists(Path("out.json")));

    // Saved unchanged, the file is the same byte for byte.
    run = RunKafcadProcess({"--drawing", Path("ezdxf.dxf"), "--save", Path("same.dxf"), "-e", "T"});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(FileContents(Path("same.dxf")), FileContents(Path("ezdxf.dxf")));
}

TEST_F(DxfFileTest, MalformedDxfIsRefusedWithItsLineAndNothingRunsOrIsSaved) {
    std::string text = kafhost::drawingToDxf(dxf_test::SampleDxfDrawing());
    text.replace(text.find(" 90\n2\n 94\n"), 10, " 90\n7\n 94\n");
    std::ofstream(Path("bad.dxf"), std::ios::binary) << text;
    const KafcadRun run = RunKafcadProcess({"--drawing", Path("bad.dxf"), "--save", Path("out.dxf"),
                                            "-e", "(kaf-dct-pface '((0 0) (1 0) (0 1)))"});
    const std::size_t line =
        std::count(text.begin(), text.begin() + text.find("7\n 94\n"), '\n') + 1;
    EXPECT_EQ(run.err, "kafcad: cannot load drawing " + Path("bad.dxf") + ": line " +
                           std::to_string(line) +
                           ": the MESH face names vertex 7, the mesh has 3\n");
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(std::filesystem::exists(Path("out.dxf")));
}

}  // namespace
