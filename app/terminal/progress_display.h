// ProgressDisplay: the host's status-bar progress meter shown as a text bar on standard error,
// e.g. "points.csv [############------------------]  40%", and messages (errors, message boxes)
// written to standard error without garbling the bar.
//
// Enabled only when standard error is a terminal; otherwise the meter shows nothing and
// messages are written as they are. The bar is drawn with a carriage return and erased to the
// end of the line; it is redrawn when the label or the whole percent changes and erased when
// the meter is restored. When standard output is the same terminal (sharesLine), the command
// line's text and the bar share a line: the bar starts after the command line's current text
// (the cursor is moved past it, the text is not repeated), steps aside before each command-line
// text and comes back after it. columns is the terminal's width.
//
// OnMeterEvent(event): a meter event of the host (show, position, restore).
// WriteMessage(text): writes text to standard error (the bar erased first and redrawn after).
#pragma once

#include <ostream>
#include <string>

#include "app/lisp/command_line_output.h"
#include "kafhost/host.h"

namespace kafcad {

class ProgressDisplay : public CommandLineObserver {
public:
    ProgressDisplay(std::ostream& err, bool enabled, bool sharesLine, int columns);

    void OnMeterEvent(const kafhost::MeterEvent& event);
    void WriteMessage(const std::string& utf8Text);

    void BeforeText() override;
    void AfterText(const std::string& utf8Text) override;

    // The bar's text for a label and a percentage, at most width columns (empty when even the
    // percentage does not fit).
    static std::string BarText(const std::string& label, int percent, int width);

private:
    void Draw();
    void Erase();
    // Where the bar starts: the command line's column on the terminal's last row.
    int BarColumn() const;

    std::ostream& err_;
    bool enabled_;
    bool sharesLine_;
    int columns_;

    bool shown_ = false;  // the meter is shown (between show and restore)
    bool drawn_ = false;  // the bar is on the terminal now
    std::string label_;
    int minPos_ = 0;
    int maxPos_ = 100;
    int percent_ = -1;
    int commandLineColumn_ = 0;
};

}  // namespace kafcad
