// Rewritten lines are erased on a terminal only; the observer hears every text. (That a value
// starts a new line only where needed is met through kafcad's runs.)
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/lisp/command_line_output.h"

namespace {

using kafcad::CommandLineOutput;

class RecordingObserver : public kafcad::CommandLineObserver {
public:
    explicit RecordingObserver(std::ostringstream& out) : out_(out) {}
    void BeforeText() override { events.push_back("before at " + std::to_string(out_.tellp())); }
    void AfterText(const std::string& text) override { events.push_back("after " + text); }
    std::vector<std::string> events;

private:
    std::ostringstream& out_;
};

TEST(CommandLineOutput, RewrittenLinesAreErasedOnlyOnATerminal) {
    std::ostringstream plain;
    CommandLineOutput file(plain);
    file.Write("\rMesh 1/min2\r\nx\r");
    EXPECT_EQ(plain.str(), "\rMesh 1/min2\r\nx\r");

    std::ostringstream terminal;
    CommandLineOutput screen(terminal, true);
    screen.Write("\rMesh 1/min2\r\nx\r");
    EXPECT_EQ(terminal.str(), "\r\x1b[KMesh 1/min2\r\nx\r\x1b[K");
}

TEST(CommandLineOutput, ObserverHearsBeforeAndAfterEveryText) {
    std::ostringstream out;
    CommandLineOutput commandLine(out, true);
    RecordingObserver observer(out);
    commandLine.SetObserver(&observer);
    commandLine.Write("ab");
    commandLine.Write("");
    commandLine.Write("\rc");
    commandLine.AssumeLineStart();
    commandLine.EndLine();
    // The observer gets the text as the module printed it, without the erasing.
    EXPECT_EQ(observer.events, (std::vector<std::string>{"before at 0", "after ab", "before at 2",
                                                         "after \rc", "after \n"}));
    EXPECT_EQ(out.str(), "ab\r\x1b[Kc");
}

}  // namespace
