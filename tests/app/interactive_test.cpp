#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/files.h"
#include "terminal_process.h"

namespace {

class InteractiveTest : public ::testing::Test {
protected:
    std::string HomeSetting() const { return "HOME=" + home_.Folder().string(); }
    std::string History() const { return FileText(home_.Path(".kafcad_history")); }
    TempFolder home_;
};

TEST_F(InteractiveTest, PromptEvaluatesEchoesReportsErrorsAndEndsAtEndOfInput) {
    const TerminalRun run = RunKafcadOnTerminal({}, {true, true, true},
                                                {{"Command: ", "(setq pts '((0 0) (1 0) (0 1)))\r"},
                                                 {"Command: ", "(kaf-dct pts)\r"},
                                                 {"Command: ", "(car 5)\r"},
                                                 {"Command: ", "(list 1\r"},
                                                 {"(_> ", "2) (princ)\r"},
                                                 {"Command: ", "\x04"}},
                                                {HomeSetting()});
    EXPECT_EQ(run.exitStatus, 0) << run.terminal;
    const std::string& shown = run.terminal;
    EXPECT_NE(shown.find("((0 0) (1 0) (0 1))"), std::string::npos) << shown;
    EXPECT_NE(shown.find("(((0.0 0.0 0.0) (1.0 0.0 0.0) (0.0 1.0 0.0)))"), std::string::npos)
        << shown;
    // An error is reported and the session goes on.
    EXPECT_NE(shown.find("; error: bad argument type: consp 5"), std::string::npos) << shown;
    // The list was continued on a second line; (princ) shows nothing.
    const std::size_t listValue = shown.find("(1 2)");
    ASSERT_NE(listValue, std::string::npos) << shown;
    EXPECT_EQ(shown.find("Command: ", listValue), shown.rfind("Command: ")) << shown;

    const std::string kept = History();
    // libedit's history file writes a space as \040; a continued entry is kept as one line.
    EXPECT_NE(kept.find("\n(kaf-dct\\040pts)\n"), std::string::npos) << kept;
    EXPECT_NE(kept.find("\n(list\\0401\\0402)\\040(princ)\n"), std::string::npos) << kept;
}

TEST_F(InteractiveTest, CtrlCDropsTheEntryTypedSoFarAndGivesThePromptBack) {
    const std::string kept = home_.Path("kept.json").string();
    const std::string saved = home_.Path("saved.json").string();
    const TerminalRun run = RunKafcadOnTerminal({"--save", kept}, {true, true, true},
                                                {{"Command: ", "(list 1\r"},
                                                 {"(_> ", "2 3\r"},
                                                 {"(_> ", "4\x03"},
                                                 {"Command: ", "(+ 1 2)\r"},
                                                 {"\n3", "(kafcad-save \"" + saved + "\")\r"},
                                                 // End of input only at the prompt after the
                                                 // save's answer: typed earlier, while the
                                                 // terminal is not in raw mode, it is lost.
                                                 {"\n\"" + saved + "\"", ""},
                                                 {"Command: ", "\x04"}},
                                                {HomeSetting()});
    EXPECT_EQ(run.exitStatus, 0) << run.terminal;
    EXPECT_EQ(run.terminal.find("(1 2"), std::string::npos) << run.terminal;
    EXPECT_NE(run.terminal.find("\"" + saved + "\""), std::string::npos) << run.terminal;
    EXPECT_NE(FileText(saved).find("\"layers\""), std::string::npos);
    EXPECT_EQ(History().find("(list"), std::string::npos) << History();
}

TEST_F(InteractiveTest, CtrlCWhileAFunctionRunsWarnsThenAsksBeforeQuittingWithoutSaving) {
    // Four loops of 100 keep the evaluator busy far longer than the keys take.
    std::string hundred;
    for (int i = 0; i < 100; ++i) {
        hundred += "1 ";
    }
    const std::string loops =
        "(setq l '(" + hundred +
        ")) (princ (strcat \"bu\" \"sy\")) (foreach a l (foreach b l (foreach c l "
        "(foreach d l (setq x a)))))\r";
    const std::string out = home_.Path("out.json").string();
    const TerminalRun run =
        RunKafcadOnTerminal({"--save", out}, {true, true, true},
                            {{"Command: ", "(+ 1 2)\r"},
                             {"Command: ", loops},
                             {"busy", "\x03", true},
                             {"press Ctrl-C again to quit kafcad", "\x03", true},
                             {"Quit kafcad without saving the drawing? (y/n) ", "y\r", true}},
                            {HomeSetting()});
    EXPECT_EQ(run.exitStatus, 130) << run.terminal;
    EXPECT_NE(run.terminal.find("the running function cannot be interrupted"), std::string::npos)
        << run.terminal;
    EXPECT_FALSE(std::filesystem::exists(out));
    // Each entry went to the history as it was made.
    EXPECT_NE(History().find("\n(+\\0401\\0402)\n(setq"), std::string::npos) << History();
}

// A script run is never stuck: Ctrl-C ends it at once, saying what was not saved.
TEST_F(InteractiveTest, CtrlCEndsAScriptRunWithoutSavingOrLeavingFilesBehind) {
    std::string hundred;
    for (int i = 0; i < 100; ++i) {
        hundred += "1 ";
    }
    home_.Write("busy.lsp", "(setq l '(" + hundred +
                                "))\n(princ \"busy\")\n(foreach a l (foreach b l (foreach c l "
                                "(foreach d l (setq x a)))))\n");
    const std::string script = home_.Path("busy.lsp").string();
    const std::string out = home_.Path("out.json").string();
    const std::string picture = home_.Path("out.png").string();
    const TerminalRun run =
        RunKafcadOnTerminal({"--save", out, "--png", picture, script}, {false, true, true},
                            {{"busy", "\x03", true}}, {HomeSetting()});
    EXPECT_EQ(run.exitStatus, 130) << run.terminal;
    EXPECT_NE(run.terminal.find("kafcad: interrupted; the drawing was not saved to " + out +
                                "; the picture was not written to " + picture + "\r\n"),
              std::string::npos)
        << run.terminal;
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_FALSE(std::filesystem::exists(picture));
}

TEST_F(InteractiveTest, PromptOnlyWhenStandardInputIsATerminal) {
    // Standard output is a terminal but input is not: the (empty) input is a script.
    const TerminalRun run = RunKafcadOnTerminal({}, {false, true, true}, {}, {HomeSetting()});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.terminal.find("Command:"), std::string::npos) << run.terminal;
}

}  // namespace
