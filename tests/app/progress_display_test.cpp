#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/lisp/command_line_output.h"
#include "app/terminal/progress_display.h"
#include "kafhost/host.h"

namespace {

using kafcad::CommandLineOutput;
using kafcad::ProgressDisplay;
using kafhost::MeterEvent;

MeterEvent Show(const std::wstring& label) {
    return MeterEvent{MeterEvent::Kind::kShow, label, 0, 100, 0, 0};
}
MeterEvent Position(int position) {
    return MeterEvent{MeterEvent::Kind::kPosition, L"", 0, 0, position, 0};
}
MeterEvent Restore() {
    return MeterEvent{MeterEvent::Kind::kRestore, L"", 0, 0, 0, 0};
}

TEST(ProgressBarText, LabelBarAndPercentWithinTheWidth) {
    EXPECT_EQ(ProgressDisplay::BarText("points.csv", 40, 80),
              "points.csv [############------------------]  40%");
    EXPECT_EQ(ProgressDisplay::BarText("", 100, 80), "[##############################] 100%");
    // A narrow terminal shortens the bar first, then the label (keeping its end).
    EXPECT_EQ(ProgressDisplay::BarText("points.csv", 50, 30), "points.csv [######------]  50%");
    EXPECT_EQ(ProgressDisplay::BarText("/data/survey/points.csv", 0, 30),
              "...oints.csv [----------]   0%");
    EXPECT_EQ(ProgressDisplay::BarText("Please wait: ", 7, 12), "  7%");
    EXPECT_EQ(ProgressDisplay::BarText("x", 7, 3), "");
    // Percentages outside 0 ... 100 are held to it.
    EXPECT_EQ(ProgressDisplay::BarText("", 250, 20), "[#############] 100%");
    for (int width = 1; width < 60; ++width) {
        EXPECT_LE(ProgressDisplay::BarText("Gel\xC3\xA4nde.csv", 30, width).size(),
                  static_cast<std::size_t>(width) + 1);  // one two-byte character
    }
}

TEST(ProgressDisplay, ControlCharactersOfTheLabelAreShownEscaped) {
    std::ostringstream err;
    ProgressDisplay display(err, true, false, 60);
    // A file name that would set the terminal's title.
    display.OnMeterEvent(Show(L"\x1b]0;owned\x07.csv"));
    EXPECT_EQ(err.str(), "\r\\e]0;owned\\007.csv [------------------------------]   0%\x1b[K");
}

TEST(ProgressDisplay, BarIsRedrawnWhenThePercentChangesAndErasedAtRestore) {
    std::ostringstream err;
    // One column of the 40 stays free, so the bar never makes the terminal wrap.
    ProgressDisplay display(err, true, false, 40);
    display.OnMeterEvent(Show(L"a.csv"));
    EXPECT_EQ(err.str(), "\ra.csv [--------------------------]   0%\x1b[K");
    err.str("");
    display.OnMeterEvent(Position(0));
    EXPECT_EQ(err.str(), "");
    display.OnMeterEvent(Position(50));
    EXPECT_EQ(err.str(), "\ra.csv [#############-------------]  50%\x1b[K");
    err.str("");
    display.OnMeterEvent(Restore());
    EXPECT_EQ(err.str(), "\r\x1b[K");
    err.str("");
    // After the restore, positions draw nothing until the meter is shown again.
    display.OnMeterEvent(Position(70));
    EXPECT_EQ(err.str(), "");
}

TEST(ProgressDisplay, MessagesEraseTheBarAndBringItBack) {
    std::ostringstream err;
    ProgressDisplay display(err, true, false, 40);
    display.OnMeterEvent(Show(L"a.csv"));
    err.str("");
    display.WriteMessage("; error: x\n");
    EXPECT_EQ(err.str(), "\r\x1b[K; error: x\n\ra.csv [--------------------------]   0%\x1b[K");
}

TEST(ProgressDisplay, SharedLineBarFollowsTheCommandLineText) {
    std::ostringstream out;
    std::ostringstream err;
    ProgressDisplay display(err, true, true, 60);
    CommandLineOutput commandLine(out);
    commandLine.SetObserver(&display);
    commandLine.Write("\nParsing ... ");
    EXPECT_EQ(err.str(), "");
    display.OnMeterEvent(Show(L"a.csv"));
    // The cursor is moved past the 12 columns of "Parsing ... ", one column is left free.
    EXPECT_EQ(err.str(), "\r\x1b[12C a.csv [------------------------------]   0%\x1b[K");
    err.str("");
    commandLine.Write("finished");
    // Erased before the text, drawn again after its 8 columns.
    EXPECT_EQ(err.str(), "\r\x1b[12C\x1b[K\r\x1b[20C a.csv [-------------------------]   0%\x1b[K");
    err.str("");
    display.OnMeterEvent(Restore());
    EXPECT_EQ(err.str(), "\r\x1b[20C\x1b[K");
    EXPECT_EQ(out.str(), "\nParsing ... finished");
}

TEST(ProgressDisplay, HostHandsMeterEventsAndMessageBoxesToItsSinks) {
    kafhost::Host& host = kafhost::Host::instance();
    host.reset();
    std::ostringstream err;
    ProgressDisplay display(err, true, false, 40);
    host.setMeterSink([&display](const MeterEvent& event) { display.OnMeterEvent(event); });
    std::wstring boxes;
    host.setMessageBoxEcho(false);
    host.setMessageBoxSink([&boxes](const kafhost::MessageBoxRecord& box) {
        boxes += box.caption + L": " + box.text;
    });
    acedSetStatusBarProgressMeter(L"b.csv", 0, 100);
    acedSetStatusBarProgressMeterPos(100);
    MessageBoxW(nullptr, L"File 'b.csv' not found!", L"Nimbora", 16);
    acedRestoreStatusBar();
    EXPECT_EQ(err.str(),
              "\rb.csv [--------------------------]   0%\x1b[K"
              "\rb.csv [##########################] 100%\x1b[K\r\x1b[K");
    EXPECT_EQ(boxes, L"Nimbora: File 'b.csv' not found!");
    host.reset();
    host.setMessageBoxEcho(true);
    err.str("");
    acedSetStatusBarProgressMeter(L"b.csv", 0, 100);
    EXPECT_EQ(err.str(), "");
}

}  // namespace
