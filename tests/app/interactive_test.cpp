#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "terminal_process.h"

namespace {

namespace fs = std::filesystem;

class InteractiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        home_ = fs::temp_directory_path() / ("kafcad_home_" + std::to_string(::getpid()));
        fs::create_directories(home_);
    }
    void TearDown() override { fs::remove_all(home_); }
    std::string HomeSetting() const { return "HOME=" + home_.string(); }
    fs::path home_;
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

    std::ifstream history(home_ / ".kafcad_history");
    std::ostringstream kept;
    kept << history.rdbuf();
    // libedit's history file writes a space as \040; a continued entry is kept as one line.
    EXPECT_NE(kept.str().find("\n(kaf-dct\\040pts)\n"), std::string::npos) << kept.str();
    EXPECT_NE(kept.str().find("\n(list\\0401\\0402)\\040(princ)\n"), std::string::npos)
        << kept.str();
}

TEST_F(InteractiveTest, PromptOnlyWhenStandardInputIsATerminal) {
    // Standard output is a terminal but input is not: the (empty) input is a script.
    const TerminalRun run = RunKafcadOnTerminal({}, {false, true, true}, {}, {HomeSetting()});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.terminal.find("Command:"), std::string::npos) << run.terminal;
}

}  // namespace
