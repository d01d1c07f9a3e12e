#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "kafcad_process.h"
#include "support/files.h"

namespace {

namespace fs = std::filesystem;

const char* const kUnitSquare = "(kaf-dct '((0 0) (1 0) (0 1) (1 1)))";
const char* const kUnitSquareTriangles =
    "(((0.0 0.0 0.0) (1.0 0.0 0.0) (0.0 1.0 0.0)) ((0.0 1.0 0.0) (1.0 0.0 0.0) (1.0 1.0 0.0)))\n";

std::string LastLine(const std::string& text) {
    const std::size_t end = text.empty() || text.back() != '\n' ? text.size() : text.size() - 1;
    const std::size_t start = text.rfind('\n', end == 0 ? 0 : end - 1);
    return text.substr(start == std::string::npos ? 0 : start + 1, end - (start + 1));
}

// A scratch folder per test for drawing files.
class KafcadDrawingTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return temp_.Path(name).string(); }
    TempFolder temp_;
    const fs::path folder_ = temp_.Folder();
};

// Function names ignore case, as AutoLISP symbols do.
TEST(Kafcad, KafDctOnTheUnitSquarePrintsTheTwoTrianglesWhateverTheCase) {
    const KafcadRun run =
        RunKafcadProcess({"-e", kUnitSquare, "-e", "(KAF-Dct '((0 0) (1 0) (0 1) (1 1)))"});
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, std::string(kUnitSquareTriangles) + kUnitSquareTriangles);
    EXPECT_EQ(run.exitStatus, 0);
}

TEST(Kafcad, FailingFunctionPrintsItsTextThenTheErrorAndStops) {
    const KafcadRun run =
        RunKafcadProcess({"-e", "(kaf-dct '((0 0) (1 0) (0 0)))", "-e", kUnitSquare});
    EXPECT_EQ(run.out, "A minimum of 3 vertices are required!\n");
    EXPECT_EQ(run.err, "; error: kaf-dct failed\n");
    EXPECT_EQ(run.exitStatus, 1);
}

TEST(Kafcad, ValuesOfSeveralExpressionsEachOnTheirOwnLine) {
    const KafcadRun run =
        RunKafcadProcess({"-e", "1.5", "-e", "\"say \\\"hi\\\"\\n\"", "-e",
                          "'(1 -2. (3 \"x\") nil t) .5e1", "-e", "(quote (1e20))"});
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "1.5\n\"say \\\"hi\\\"\\n\"\n(1 -2.0 (3 \"x\") nil T)\n5.0\n(1.0e+20)\n");
    EXPECT_EQ(run.exitStatus, 0);
}

TEST(Kafcad, BadOptionsAndAMissingModuleExitWithStatusTwo) {
    KafcadRun run = RunKafcadProcess({"--frobnicate"});
    EXPECT_EQ(run.err,
              "kafcad: unknown option --frobnicate\nTry 'kafcad --help' for more information.\n");
    EXPECT_EQ(run.exitStatus, 2);

    run = RunKafcadProcess({"--png-size", "0"});
    EXPECT_EQ(run.err,
              "kafcad: option --png-size needs WxH or N (1 to 16384 pixels), not \"0\"\n"
              "Try 'kafcad --help' for more information.\n");
    EXPECT_EQ(run.exitStatus, 2);

    run = RunKafcadProcess({"--module", "/nonexistent/kaf20x64.arx", "-e", kUnitSquare});
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("kafcad: cannot load module /nonexistent/kaf20x64.arx: ", 0), 0u)
        << run.err;
    EXPECT_EQ(run.exitStatus, 2);

    run = RunKafcadProcess({"--module", KAF_MODULE_PATH, "-e", kUnitSquare});
    EXPECT_EQ(run.out, kUnitSquareTriangles);
}

TEST(Kafcad, HelpAndVersion) {
    KafcadRun run = RunKafcadProcess({"--help"});
    EXPECT_EQ(run.out.rfind("Usage: kafcad [OPTION]... [SCRIPT.lsp]...\n", 0), 0u);
    EXPECT_NE(run.out.find("--png-size WxH|N"), std::string::npos);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(RunKafcadProcess({"-h"}).out, run.out);
    run = RunKafcadProcess({"--version"});
    EXPECT_EQ(run.out, "kafcad " KAF_VERSION "\n");
    EXPECT_EQ(run.exitStatus, 0);
}

// "--module PATH: load the module from PATH (default: kaf20x64.arx beside kafcad or one folder
// up)", as both --help and the manual say.
TEST_F(KafcadDrawingTest, ModuleIsFoundBesideKafcadOrOneFolderUp) {
    const std::string option =
        "load the module from PATH (default: kaf20x64.arx beside kafcad or one folder up)";
    // The help text with its continuation lines joined.
    std::string help;
    bool lineStart = false;
    for (const char c : RunKafcadProcess({"--help"}).out) {
        if (!(lineStart && c == ' ')) {
            help += c == '\n' ? ' ' : c;
        }
        lineStart = c == '\n' || (lineStart && c == ' ');
    }
    EXPECT_NE(help.find("--module PATH         " + option), std::string::npos) << help;
    std::string manual = FileText(fs::path(KAF_SOURCE_DIR) / "docs" / "kafcad.md");
    manual.erase(std::remove(manual.begin(), manual.end(), '`'), manual.end());
    EXPECT_NE(manual.find("| --module PATH | " + option + " |"), std::string::npos);

    fs::create_directories(folder_ / "bin");
    fs::copy_file(KAFCAD_PATH, folder_ / "bin" / "kafcad");
    const std::string kafcad = (folder_ / "bin" / "kafcad").string();
    const std::string beside = (folder_ / "bin" / "kaf20x64.arx").string();
    const std::string up = (folder_ / "kaf20x64.arx").string();
    const std::string call = kafcad + " -e \"(kaf-dct '((0 0) (1 0) (0 1)))\"";
    const std::string triangle = "(((0.0 0.0 0.0) (1.0 0.0 0.0) (0.0 1.0 0.0)))\n";

    KafcadRun run = RunShellCommand(call, folder_.string());
    EXPECT_EQ(run.err.rfind("kafcad: cannot load module " + beside + ": ", 0), 0u) << run.err;
    EXPECT_EQ(run.exitStatus, 2);

    fs::copy_file(KAF_MODULE_PATH, up);
    run = RunShellCommand(call, folder_.string());
    EXPECT_EQ(run.out, triangle) << run.err;

    // Beside kafcad comes first: the file one folder up is not a module now.
    fs::remove(up);
    std::ofstream(up) << "not a module";
    fs::copy_file(KAF_MODULE_PATH, beside);
    run = RunShellCommand(call, folder_.string());
    EXPECT_EQ(run.out, triangle) << run.err;
}

// Layers are added in order and saved; the value starts a new line after the module's text.
TEST_F(KafcadDrawingTest, SaveLoadSaveGivesTheSameFile) {
    KafcadRun run = RunKafcadProcess(
        {"--layer", "TIN", "--layer", "Gel\xC3\xA4nde", "--save", Path("a.json"), "-e",
         "(kaf-dct-subdmesh '((0 0 0.1) (1 0 0.2) (0 1 0.30000000000000004) (1 1 1e-7)) \"TIN\")",
         "-e", "(kaf-dct-pface '((0 0 1) (2 0 1) (0 2 1)))"});
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.exitStatus, 0);
    // The mesh writer's text ends without a line break; kaf-dct-pface prints nothing.
    EXPECT_EQ(
        run.out,
        "\nStart Calculation...ready after 0.000000 seconds\n\nCreate Mesh ... \n(\"20\")\nT\n");
    const std::string first = FileText(Path("a.json"));
    EXPECT_EQ(first.substr(0, 128),
              "{\n  \"layers\": [\n    {\"name\":\"0\",\"hidden\":false},\n"
              "    {\"name\":\"TIN\",\"hidden\":false},\n"
              "    {\"name\":\"Gel\xC3\xA4nde\",\"hidden\":false}\n  ],\n");
    EXPECT_NE(first.find("\"type\":\"AcDbSubDMesh\",\"space\":\"model\",\"layer\":\"TIN\""),
              std::string::npos)
        << first;
    EXPECT_NE(first.find("[1.0,1.0,1e-07]"), std::string::npos) << first;
    EXPECT_NE(first.find("\"type\":\"AcDbFace\""), std::string::npos) << first;

    run = RunKafcadProcess({"--drawing", Path("a.json"), "--save", Path("b.json"), "-e", "T"});
    EXPECT_EQ(run.out, "T\n");
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(FileText(Path("b.json")), first);
}

TEST_F(KafcadDrawingTest, LoadedHandlesAreKeptAndNewOnesContinueAboveThem) {
    std::ofstream(Path("in.json")) << R"({"layers": [{"name": "0"}, {"name": "TIN"}], "entities": [
              {"handle": "2A0", "type": "AcDbPolyline", "layer": "TIN",
               "vertices": [[0, 0], [5, 0], [5, 5]], "closed": true},
              {"handle": "1F", "type": "AcDbFace",
               "corners": [[0, 0, 0], [1, 0, 0], [1, 1, 0], [1, 1, 0]]}]})";
    const KafcadRun run =
        RunKafcadProcess({"--drawing", Path("in.json"), "--save", Path("out.json"), "-e",
                          "(kaf-dct-subdmesh '((0 0 0) (1 0 0) (0 1 0)) \"TIN\")"});
    EXPECT_EQ(LastLine(run.out), "(\"2A1\")");
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    const std::string saved = FileText(Path("out.json"));
    EXPECT_NE(saved.find("{\"handle\":\"2A0\",\"type\":\"AcDbPolyline\""), std::string::npos)
        << saved;
    EXPECT_NE(saved.find("{\"handle\":\"1F\",\"type\":\"AcDbFace\""), std::string::npos) << saved;
    EXPECT_NE(saved.find("{\"handle\":\"2A1\",\"type\":\"AcDbSubDMesh\""), std::string::npos)
        << saved;
}

TEST_F(KafcadDrawingTest, ADrawingOutOfHandlesSaysSoInTheFunctionsError) {
    std::ofstream(Path("full.json")) << R"({"layers": [{"name": "0"}, {"name": "TIN"}],
        "entities": [], "nextHandle": "FFFFFFFEFFFFFFFE"})";
    // A polyface mesh of two faces needs seven handles, three are left.
    const KafcadRun run =
        RunKafcadProcess({"--drawing", Path("full.json"), "--save", Path("out.json"), "-e",
                          "(kaf-dct-pfacemesh '((0 0 0) (1 0 0) (0 1 0) (1 1 1)) \"TIN\")"});
    EXPECT_EQ(run.out,
              "\nStart Calculation...ready after 0.000000 seconds\n[Module 'kaf'] Error in "
              "function 'kaf-dct-pfacemesh': the drawing has no handle left to give (kafcad "
              "gives handles up to FFFFFFFF00000000)\nFunction aborted!\n");
    EXPECT_EQ(run.err, "; error: kaf-dct-pfacemesh failed\nkafcad: the drawing was not saved to " +
                           Path("out.json") + ": the run ended with an error\n");
    EXPECT_EQ(run.exitStatus, 1);
}

// /dev/stdout leads to the file standard output writes to; a save there would replace a log
// that the output is appended to. Such targets are refused before anything runs.
TEST_F(KafcadDrawingTest, SavesToStandardStreamsAndDescriptorsAreRefusedBeforeAnythingRuns) {
    std::ofstream(Path("build.log")) << "earlier lines\n";
    for (const std::string target :
         {"/dev/stdout", "/dev/fd/1", "/proc/self/fd/1", "/dev/stderr", "linked.json"}) {
        fs::remove(Path("linked.json"));
        fs::create_symlink("/dev/stdout", Path("linked.json"));
        const KafcadRun run = RunShellCommand(
            "kafcad -e '(princ \"ran\")' --save " + target + " >> build.log", folder_.string());
        EXPECT_EQ(run.err,
                  "kafcad: cannot save drawing " + target + ": cannot write: not a regular file\n");
        EXPECT_EQ(run.exitStatus, 2);
        const KafcadRun picture = RunShellCommand(
            "kafcad -e '(princ \"ran\")' --png " + target + " 2>&1 >> build.log", folder_.string());
        EXPECT_EQ(picture.out, "kafcad: cannot write picture " + target + ": not a regular file\n");
        EXPECT_EQ(picture.exitStatus, 2);
    }
    EXPECT_EQ(FileText(Path("build.log")), "earlier lines\n");
    // kafcad-save during the run is refused likewise.
    const KafcadRun run =
        RunShellCommand("kafcad -e '(kafcad-save \"/dev/fd/1\")' >> build.log", folder_.string());
    EXPECT_EQ(run.err,
              "; error: cannot save drawing /dev/fd/1: cannot write: not a regular file\n");
    EXPECT_EQ(FileText(Path("build.log")), "earlier lines\n");
}

// A save that fails is reported, in either format, and ends the run with status 1. (That it keeps
// the earlier file, midway or for a missing folder, is the host's save tests' part.)
TEST_F(KafcadDrawingTest, FailedSaveIsReportedWithStatusOne) {
    for (const std::string extension : {".json", ".dxf"}) {
        const std::string nowhere = Path("missing/drawing" + extension);
        const KafcadRun run = RunKafcadProcess({"--save", nowhere, "-e", "T"});
        EXPECT_EQ(run.out, "T\n");
        EXPECT_EQ(run.err.rfind("kafcad: cannot save drawing " + nowhere + ": cannot write", 0), 0u)
            << run.err;
        EXPECT_EQ(run.exitStatus, 1);
    }
}

TEST_F(KafcadDrawingTest, FailedRunDoesNotOverwriteTheSavedDrawing) {
    std::ofstream(Path("keep.json")) << "earlier";
    const KafcadRun run = RunKafcadProcess(
        {"--save", Path("keep.json"), "-e", "(kaf-dct-subdmesh '((0 0) (1 0)) nil)"});
    EXPECT_EQ(run.err, "; error: kaf-dct-subdmesh failed\nkafcad: the drawing was not saved to " +
                           Path("keep.json") + ": the run ended with an error\n");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(FileText(Path("keep.json")), "earlier");
}

}  // namespace
