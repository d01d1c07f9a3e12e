// Input that is malformed, hostile or too big is refused with a message and the usual exit
// status, never a crash: deep nesting, devices given as files, memory running out, NUL characters
// in names, control characters in quoted file contents; names that are not UTF-8 still work.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "kafcad_process.h"
#include "support/files.h"

namespace {

std::string Repeated(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

class BadInputTest : public ::testing::Test {
protected:
    KafcadRun Run(const std::vector<std::string>& arguments, const std::string& input = "") {
        return RunKafcadProcess(arguments, input, folder_.Folder().string());
    }
    TempFolder folder_;
};

TEST_F(BadInputTest, DeepNestingIsRefusedWithItsPlaceInAFileExpressionOrStandardInput) {
    const std::string lists = Repeated("(list ", 20000);
    const std::string tooDeep = "too deeply nested (more than 1000 levels of lists and quotes)\n";
    folder_.Write("deep.lsp", "(princ)\n" + lists);
    KafcadRun run = Run({"deep.lsp"});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.err, "kafcad: malformed expression (deep.lsp, line 2, column 6001): " + tooDeep);

    // One argument holds at most 128 KiB.
    run = Run({"-e", Repeated("'", 100000) + "x"});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.err, "kafcad: malformed expression (-e 1, line 1, column 1001): " + tooDeep);

    run = Run({}, Repeated("(", 200000));
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.err,
              "kafcad: malformed expression (standard input, line 1, column 1001): " + tooDeep);

    // 1000 levels are read and evaluated.
    run = Run({"-e", Repeated("(car (list ", 500) + "7" + Repeated("))", 500)});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out, "7\n");
}

TEST_F(BadInputTest, DeepEvaluationAcrossLoadsIsAnError) {
    // Sixty files, each 900 levels deep around the load of the next.
    for (int i = 0; i < 60; ++i) {
        folder_.Write("f" + std::to_string(i) + ".lsp", Repeated("(progn ", 900) + "(load \"f" +
                                                            std::to_string(i + 1) + "\" 1)" +
                                                            Repeated(")", 900) + "\n");
    }
    const KafcadRun run = Run({"f0.lsp"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err, "; error: too deeply nested (more than 2000 levels of evaluation)\n");
}

TEST_F(BadInputTest, DevicesAreRefusedAsDrawingsAndScripts) {
    KafcadRun run = Run({"--drawing", "/dev/zero", "-e", "1"});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.err, "kafcad: cannot load drawing /dev/zero: cannot open: not a regular file\n");
    run = Run({"/dev/zero"});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.err, "kafcad: cannot read script /dev/zero: not a regular file\n");
}

#if !defined(__SANITIZE_ADDRESS__)
// The address sanitizer reserves more address space than the limit allows.
TEST_F(BadInputTest, RunningOutOfMemoryIsAnError) {
    folder_.Write("double.lsp", "(setq s \"0123456789abcdef\")\n(foreach i '(" +
                                    Repeated("1 ", 40) +
                                    ") (setq s (strcat s s)))\n(princ \"end\")\n");
    const KafcadRun run = RunShellCommand("ulimit -v 400000; kafcad --save out.json double.lsp",
                                          folder_.Folder().string());
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err,
              "; error: out of memory\n"
              "kafcad: the drawing was not saved to out.json: the run ended with an error\n");
    EXPECT_EQ(run.out, "");
}
#endif

TEST_F(BadInputTest, ValuesTooLargeToPassToTheModuleAreAnError) {
    // Each step doubles the list by sharing it: 2^40 points, which the host would expand.
    folder_.Write("doubled.lsp", "(setq x (list 1.0 2.0 3.0))\n" +
                                     Repeated("(setq x (list x x))\n", 40) + "(kaf-dct x)\n");
    KafcadRun run = Run({"doubled.lsp"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err,
              "; error: bad argument value: the arguments of kaf-dct hold more than 100000000 "
              "items (a list used several times counts each time)\n");
    EXPECT_EQ(run.out, "");
    // Sharing below the limit is passed expanded: 2^4 copies of the triangle's three points.
    folder_.Write("shared.lsp", "(setq x '((0 0) (1 0) (0 1)))\n" +
                                    Repeated("(setq x (append x x))\n", 4) +
                                    "(princ (length (kaf-dct x)))\n");
    run = Run({"shared.lsp"});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out, "1\n");
}

TEST_F(BadInputTest, FileNamesKeepTheirBytesAndRefuseNulCharacters) {
    // A Latin-1 name, as a script written in Latin-1 spells it.
    folder_.Write("caf\xE9.lsp", "(princ \"loaded\")");
    folder_.Write("good.lsp", "(princ \"wrong file\")");
    folder_.Write("good.csv", "0,0,0\n1,0,0\n0,1,0\n");
    folder_.Write("names.lsp", "(load \"caf\xE9\")\n(kafcad-save \"d\xE9.json\")\n");
    KafcadRun run = Run({"names.lsp"});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out, "loaded\n");
    EXPECT_NE(FileText(folder_.Path("d\xE9.json")), "");

    run = Run({"-e", "(load \"good.lsp\\000junk\")"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err,
              "; error: bad argument value: file name with a NUL character: "
              "\"good.lsp\\000junk\"\n");
    EXPECT_EQ(run.out, "");

    run = Run({"--layer", "TIN", "-e",
               "(kaf-dct-pfacemesh-withloadcsv '(\"good.csv\\000junk\") \",\" \"TIN\" 0.0 0.0 "
               "1.0)"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err,
              "; error: bad argument value: string with a NUL character \"good.csv\\000junk\" "
              "cannot be passed to a function\n");
}

TEST_F(BadInputTest, LayerNamesKeepTheirBytesAndAreNotSavedAsAnotherName) {
    const std::string mesh = "(kaf-dct-subdmesh '((0 0 0) (1 0 0) (0 1 0)) \"";
    // Latin-1 names: the script names the layer --layer added, and no other.
    KafcadRun run = Run(
        {"--layer", "A\xE9", "--layer", "A\xE8", "-e", mesh + "A\xE9\")", "-e", mesh + "A\xE8\")"});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out.substr(run.out.rfind('(')), "(\"21\")\n");
    for (const std::string& other : {std::string("A\xE8"), std::string("A\xEF\xBF\xBD")}) {
        run = Run({"--layer", "A\xE9", "-e", mesh + other + "\")"});
        EXPECT_NE(run.out.find("Error in function 'CreateSubDMesh:setLayer': eKeyNotFound"),
                  std::string::npos)
            << run.out;
        EXPECT_EQ(run.exitStatus, 1);
    }
    // A drawing file holds UTF-8 names only: U+FFFD in their place would make the two one.
    const std::string refused =
        ": the layer name \"A\xEF\xBF\xBD\" is not UTF-8 text, which "
        "drawing files hold\n";
    run = Run({"--layer", "A\xE9", "--save", "d.dxf", "-e", mesh + "A\xE9\")"});
    EXPECT_EQ(run.err, "kafcad: cannot save drawing d.dxf" + refused);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.exitStatus, 2);
    run = Run({"--layer", "A\xE9", "-e", "(kafcad-save \"d.json\")"});
    EXPECT_EQ(run.err, "; error: cannot save drawing d.json" + refused);
    EXPECT_FALSE(std::filesystem::exists(folder_.Path("d.json")));
}

TEST_F(BadInputTest, ControlCharactersOfQuotedFileContentsAreShownEscaped) {
    folder_.Write("rows.csv", "0,0,0\n\x1b[2J\x1b]0;owned\x07,1,2\n");
    KafcadRun run =
        Run({"--layer", "TIN", "-e",
             "(kaf-dct-pfacemesh-withloadcsv '(\"rows.csv\") \",\" \"TIN\" 0.0 0.0 1.0)"});
    EXPECT_EQ(run.err.find('\x1b'), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(":\n\n\\e[2J\\e]0;owned\\007,1,2\n\nin file 'rows.csv"),
              std::string::npos)
        << run.err;

    folder_.Write("bad.json",
                  "{\"layers\": [{\"name\": \"0\"}], \"entities\": [{\"type\": \"\\u001b[31m\\u009b"
                  "\"}]}");
    run = Run({"--drawing", "bad.json", "-e", "1"});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.err,
              "kafcad: cannot load drawing bad.json: entities[0].type: unknown entity type "
              "\"\\e[31m\\233\"\n");
}

// File names, handles and options come from the user's input too; the module's own texts keep
// their line ends (it rewrites a line with a carriage return).
TEST_F(BadInputTest, ControlCharactersOfNamesHandlesAndOptionsAreShownEscaped) {
    KafcadRun run =
        Run({"--layer", "TIN", "-e",
             "(kaf-cdt-subdmesh-withloadcsv '(\"\\e[31m.csv\") \"XYZ\" \",\" nil nil nil "
             "0 \"TIN\")"});
    EXPECT_EQ(run.out,
              "\nReading points ...[Module 'kaf'] Error in function 'cdt_subdmesh_withloadcsv': "
              "File \\e[31m.csv cannot be opened!\nFunction aborted!\n");
    run = Run({"-e", "(kaf-cdt-subdmesh nil '(\"\\e[31m\") nil nil 0 nil)"});
    EXPECT_EQ(run.out,
              "[Module 'kaf'] Error in function 'GetEntity:getAcDbObjectId': eUnknownHandle\n"
              "[Module 'kaf'] Error in function 'cdt_subdmesh': Object \\e[31m is not a 3D "
              "polyline or polyline!\nFunction aborted!\n");
    run = Run({"-e", "(kaf-contours '(\"\\2332J\") 1.0 0.0 nil)"});
    EXPECT_EQ(run.out,
              "[Module 'kaf'] Error in function 'GetEntity:getAcDbObjectId': eUnknownHandle\n"
              "[Module 'kaf'] Error in function 'contours': Object \\2332J is not a "
              "SubDMesh or PolyFaceMesh!\nFunction aborted!\n");
    run = Run({"-e", "(princ \"\\rA\\nB\")", "-e", "(kaf-dct '((0 0) (1 0) (0 1)))"});
    EXPECT_EQ(run.out.substr(0, 4), "\rA\nB");

    run = Run({"--bogus\x1b]0;owned\x07"});
    EXPECT_EQ(run.err,
              "kafcad: unknown option --bogus\\e]0;owned\\007\nTry 'kafcad --help' for more "
              "information.\n");
    run = Run({"--png", "a.png", "--png-size", "\x1b[2J"});
    EXPECT_EQ(run.err,
              "kafcad: option --png-size needs WxH or N (1 to 16384 pixels), not \"\\e[2J\"\nTry "
              "'kafcad --help' for more information.\n");
    run = Run({"--save", "\x1b[2J.json", "-e", "(car 1)"});
    EXPECT_EQ(run.err,
              "; error: bad argument type: consp 1\nkafcad: the drawing was not saved to "
              "\\e[2J.json: the run ended with an error\n");
}

}  // namespace
