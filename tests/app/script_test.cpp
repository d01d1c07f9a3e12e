#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

#include "kafcad_process.h"
#include "kafhost/drawing_json.h"
#include "support/files.h"
#include "terminal_process.h"

namespace {

namespace fs = std::filesystem;

// Three points at z 0, 50 and 100 and a fourth at z 25, coloured red (z 0) to blue (z 100).
const char* const kColourScript = R"(; two meshes, then their colours
(setq pts '((0 0 0) (10 0 50) (0 10 100) (10 10 25)))
(setq meshes (kaf-dct-subdmesh pts "TIN" 3))
(princ (strcat "\nmeshes: " (car meshes) " " (cadr meshes)))
(princ (length meshes))
(kaf-changeMeshColor meshes 0.0 100.0 '(255 0 0) '(0 0 255))
)";

// A scratch folder per test, the working directory of the runs.
class ScriptTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return temp_.Path(name).string(); }
    void Write(const std::string& name, const std::string& text) const { temp_.Write(name, text); }
    KafcadRun Run(const std::vector<std::string>& arguments, const std::string& input = "") {
        return RunKafcadProcess(arguments, input, folder_.string());
    }
    TempFolder temp_;
    const fs::path folder_ = temp_.Folder();
};

TEST_F(ScriptTest, HandlesOfOneFunctionFeedTheNextAndValuesAreNotShown) {
    Write("colour.lsp", kColourScript);
    const KafcadRun run = Run({"--layer", "TIN", "--save", "out.json", "colour.lsp"});
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.exitStatus, 0);
    // The module's text and what princ wrote; no values.
    EXPECT_EQ(run.out.substr(run.out.find("\nmeshes: ")),
              "\nmeshes: 20 212\rMesh: 1 of 2, Number of vertices: 3"
              "\rMesh: 2 of 2, Number of vertices: 3\n");

    const kafhost::DrawingSnapshot drawing = kafhost::loadDrawingFile(Path("out.json"));
    ASSERT_EQ(drawing.entities.size(), 2u);
    for (const kafhost::EntityInfo& mesh : drawing.entities) {
        ASSERT_EQ(mesh.vertexColours.size(), mesh.vertices.size());
        for (std::size_t i = 0; i < mesh.vertices.size(); ++i) {
            const double z = mesh.vertices[i][2];
            const kafhost::Rgb expected = z == 0    ? kafhost::Rgb{255, 0, 0}
                                          : z == 25 ? kafhost::Rgb{255, 255, 0}
                                          : z == 50 ? kafhost::Rgb{0, 255, 0}
                                                    : kafhost::Rgb{0, 0, 255};
            EXPECT_EQ(mesh.vertexColours[i], expected) << "z " << z;
        }
    }
}

TEST_F(ScriptTest, ErrorEndsTheScriptWithStatusOneAndNothingIsSavedOrRendered) {
    Write("fails.lsp",
          "(princ \"before\")\n(setq m (kaf-dct-subdmesh '((0 0) (1 0) (0 1)) nil))\n"
          "(kaf-changeMeshColor m 0 10.0 '(0 0 0) '(9 9 9))\n(princ \"tail\")\n");
    const KafcadRun run = Run({"--save", "out.json", "--png", "out.png", "fails.lsp"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err,
              "; error: kaf-changeMeshColor failed\n"
              "kafcad: the drawing was not saved to out.json: the run ended with an error\n"
              "kafcad: the picture was not written to out.png: the run ended with an error\n");
    EXPECT_NE(run.out.find("[Module 'kaf'] Error in function 'changeMeshColor': Second argument "
                           "has to be a real!\nFunction aborted!\n"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(run.out.find("tail"), std::string::npos);
    EXPECT_FALSE(fs::exists(Path("out.json")));
    EXPECT_FALSE(fs::exists(Path("out.png")));
}

TEST_F(ScriptTest, FilesThatCannotBeWrittenWholeKeepTheEarlierOnesAndLeaveNothingBehind) {
    Write("green.lsp", "(kaf-dct-subdmesh '((0 0 0) (10 0 0) (0 10 0) (10 10 5)) \"TIN\")");
    std::string grid;
    for (int i = 0; i < 1600; ++i) {
        grid += "(" + std::to_string(i % 40) + " " + std::to_string(i / 40) + " 1.5)";
    }
    Write("grid.lsp", "(kaf-dct-subdmesh '(" + grid + ") \"TIN\")");
    ASSERT_EQ(Run({"--layer", "TIN", "--png", "top.png", "green.lsp"}).exitStatus, 0);
    const std::string earlier = FileText(Path("top.png"));
    ASSERT_GT(earlier.size(), 4096u);
    // A file size limit of 4 KiB stands for a full disk. The signal it raises (SIGXFSZ) would end
    // kafcad in the middle of the save: kafcad ignores it and reports the failed write.
    const KafcadRun full =
        RunShellCommand("ulimit -f 4; kafcad --layer TIN --png top.png --png-size 2000 green.lsp",
                        folder_.string());
    EXPECT_EQ(full.exitStatus, 1);
    EXPECT_EQ(full.err,
              "kafcad: cannot write picture top.png: error while writing to output stream\n");
    EXPECT_EQ(FileText(Path("top.png")), earlier);
    for (const char* name : {"d.dxf", "d.json", "d.xml"}) {
        Write(name, "earlier");
        const KafcadRun drawing = RunShellCommand(
            std::string("ulimit -f 4; kafcad --layer TIN --save ") + name + " grid.lsp",
            folder_.string());
        EXPECT_EQ(drawing.exitStatus, 1) << name;
        EXPECT_EQ(drawing.err, std::string("kafcad: cannot save drawing ") + name +
                                   ": cannot write: File too large\n");
        EXPECT_EQ(FileText(Path(name)), "earlier");
    }
    // No temporary file is left: the scripts, the picture and the three drawings.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 6);

    const KafcadRun failed =
        Run({"--layer", "TIN", "--png", "no/such/folder/top.png", "green.lsp"});
    EXPECT_EQ(failed.err,
              "kafcad: cannot write picture no/such/folder/top.png: No such file or directory\n");
    EXPECT_EQ(failed.exitStatus, 1);
}

TEST_F(ScriptTest, SaveFunctionsFailLikeOtherFunctionsAndKeepTheSessionGoing) {
    const KafcadRun run = Run({"-e", "(kafcad-save \"no/such/d.json\")", "-e", "1"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err,
              "; error: cannot save drawing no/such/d.json: cannot write: No such file or "
              "directory\n");
    const KafcadRun picture = Run({"-e", "(kafcad-png \"p.png\" 0)"});
    EXPECT_EQ(picture.err, "; error: bad argument value: picture side 0 (1 to 16384 pixels)\n");
}

TEST_F(ScriptTest, BuiltinErrorsAndUnknownFunctionsEndTheScriptWithStatusOne) {
    const std::pair<const char*, const char*> cases[] = {
        {"(+ 1 \"a\")", "bad argument type: numberp: \"a\""},
        {"(kaf-dtc '((0 0)))", "no function definition: KAF-DTC"},
        {"(car 5)", "bad argument type: consp 5"},
        {"(/ 1 0)", "divide by zero"}};
    for (const auto& [script, reason] : cases) {
        Write("bad.lsp", std::string("(princ 1)\n") + script + "\n(princ 2)\n");
        const KafcadRun run = Run({"bad.lsp"});
        EXPECT_EQ(run.exitStatus, 1) << script;
        EXPECT_EQ(run.out, "1\n") << script;
        EXPECT_EQ(run.err, std::string("; error: ") + reason + "\n");
    }
}

TEST_F(ScriptTest, ScriptsAndExpressionsRunInOrderInOneDrawing) {
    Write("a.lsp", "(setq n 2)\n(* n 100)\n");
    Write("b.lsp", "(setq n (+ n 1))\n");
    const KafcadRun run = Run({"a.lsp", "-e", "n", "b.lsp", "-e", "(list n)"});
    EXPECT_EQ(run.out, "2\n(3)\n");
    EXPECT_EQ(run.exitStatus, 0);
}

TEST_F(ScriptTest, ScriptFromStandardInput) {
    KafcadRun run = Run({}, "(princ (+ 40 2))\n(kaf-dct '((0 0) (1 0) (0 1)))\n");
    EXPECT_EQ(run.out, "42\n");
    EXPECT_EQ(run.exitStatus, 0);
    run = Run({"-e", "(setq a 5)", "-"}, "(princ (* a 2))");
    EXPECT_EQ(run.out, "5\n10\n");
    EXPECT_EQ(run.exitStatus, 0);
}

// Whatever is to run is read first: a malformed expression, script or standard input, or a script
// that cannot be read, ends kafcad with status 2 before anything runs.
TEST_F(ScriptTest, UnreadableOrMalformedInputStopsBeforeAnythingRuns) {
    Write("good.lsp", "(princ \"ran\")");
    Write("broken.lsp", "(princ 1)\n(princ \"unterminated)\n");
    const std::string malformed = "kafcad: malformed expression ";
    const std::string missing = "missing \")\" for the \"(\" opened here\n";
    const struct {
        std::vector<std::string> arguments;
        std::string input;
        std::string err;
    } cases[] = {
        {{"-e", "(princ 1)", "-e", "(kaf-dct '((0 0) (1 0)"},
         "",
         malformed + "(-e 2, line 1, column 11): " + missing},
        {{"-e", "(kaf-dct \"abc)"},
         "",
         malformed + "(-e 1, line 1, column 10): unterminated string\n"},
        {{"-e", "(kaf-dct '((0 0) (1 0) (0 1))))"},
         "",
         malformed + "(-e 1, line 1, column 31): unexpected \")\"\n"},
        {{"-e", " "}, "", malformed + "(-e 1): it is empty\n"},
        {{}, "(princ \"x\"", malformed + "(standard input, line 1, column 1): " + missing},
        {{"good.lsp", "broken.lsp"},
         "",
         malformed + "(broken.lsp, line 2, column 8): unterminated string\n"},
        {{"good.lsp", "missing.lsp"},
         "",
         "kafcad: cannot read script missing.lsp: No such file or directory\n"},
    };
    for (const auto& c : cases) {
        const KafcadRun run = Run(c.arguments, c.input);
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(run.out, "") << c.err;
        EXPECT_EQ(run.exitStatus, 2) << c.err;
    }
}

TEST_F(ScriptTest, ProgressBarOnATerminalIsErasedAndLeavesStandardOutputAlone) {
    Write("p.csv", "0;0;1\n10;0;2\n0;10;3\n10;10;4\n");
    Write("run.lsp",
          "(kaf-dct-subdmesh-withloadcsv '(\"" + Path("p.csv") + "\") \";\" nil 0.0 0.0 1.0)\n");
    const TerminalRun run =
        RunKafcadOnTerminal({"--", Path("run.lsp")}, {false, false, true}, {}, {});
    EXPECT_EQ(run.exitStatus, 0);
    // The file's meter is shown and then erased; the reader's label is the file name.
    EXPECT_EQ(run.terminal.rfind("\r", 0), 0u) << run.terminal;
    EXPECT_NE(run.terminal.find("p.csv [--"), std::string::npos) << run.terminal;
    EXPECT_NE(run.terminal.find("]   0%\x1b[K"), std::string::npos) << run.terminal;
    EXPECT_EQ(run.terminal.substr(run.terminal.size() - 4), "\r\x1b[K");
    EXPECT_EQ(run.out.find('\x1b'), std::string::npos);
    EXPECT_NE(run.out.find("Vertex count: 4"), std::string::npos) << run.out;
}

}  // namespace
