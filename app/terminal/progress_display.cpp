#include "app/terminal/progress_display.h"

#include <algorithm>
#include <cstdio>

#include "app/terminal/escape_controls.h"
#include "kafhost/wide_to_utf8.h"

namespace kafcad {
namespace {

constexpr int kBarCells = 30;
constexpr int kLeastBarCells = 10;
// "[" "] " and the percentage "100%" around the bar's cells.
constexpr int kBarFrame = 7;

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Terminal columns of UTF-8 text, one per character.
int Utf8Width(const std::string& text) {
    return static_cast<int>(
        std::count_if(text.begin(), text.end(), [](char c) { return !IsContinuationByte(c); }));
}

// The last characters of text, after "...", in at most width columns.
std::string KeepEnd(const std::string& text, int width) {
    if (Utf8Width(text) <= width) {
        return text;
    }
    if (width <= 3) {
        return std::string();
    }
    std::size_t start = text.size();
    for (int kept = 0; start > 0;) {
        --start;
        if (!IsContinuationByte(text[start]) && ++kept == width - 3) {
            break;
        }
    }
    return "..." + text.substr(start);
}

std::string PercentText(int percent) {
    char text[8];
    std::snprintf(text, sizeof text, "%3d%%", percent);
    return text;
}

}  // namespace

ProgressDisplay::ProgressDisplay(std::ostream& err, bool enabled, bool sharesLine, int columns)
    : err_(err), enabled_(enabled), sharesLine_(sharesLine), columns_(std::max(columns, 1)) {}

std::string ProgressDisplay::BarText(const std::string& label, int percent, int width) {
    percent = std::clamp(percent, 0, 100);
    if (width < kBarFrame + kLeastBarCells) {
        return width >= 4 ? PercentText(percent) : std::string();
    }
    const int labelWidth = Utf8Width(label);
    const int cells = std::clamp(width - kBarFrame - (labelWidth > 0 ? labelWidth + 1 : 0),
                                 kLeastBarCells, kBarCells);
    std::string shownLabel = KeepEnd(label, width - kBarFrame - cells - 1);
    const int filled = cells * percent / 100;
    std::string text = shownLabel.empty() ? std::string() : shownLabel + " ";
    text += "[" + std::string(filled, '#') + std::string(cells - filled, '-') + "] " +
            PercentText(percent);
    return text;
}

void ProgressDisplay::OnMeterEvent(const kafhost::MeterEvent& event) {
    using Kind = kafhost::MeterEvent::Kind;
    switch (event.kind) {
        case Kind::kShow:
            if (event.result < 0) {
                return;
            }
            shown_ = true;
            // The label is often a file's name, which could otherwise drive the terminal.
            label_ = EscapeControls(kafhost::wideToUtf8(event.label));
            minPos_ = event.minPos;
            maxPos_ = event.maxPos;
            percent_ = 0;
            Draw();
            break;
        case Kind::kPosition: {
            if (!shown_ || event.result < 0) {
                return;
            }
            const int span = maxPos_ - minPos_;
            const int percent =
                span > 0 ? std::clamp((event.position - minPos_) * 100 / span, 0, 100) : 100;
            if (percent == percent_ && drawn_) {
                return;
            }
            percent_ = percent;
            Draw();
            break;
        }
        case Kind::kRestore:
            Erase();
            shown_ = false;
            break;
    }
}

void ProgressDisplay::WriteMessage(const std::string& utf8Text) {
    Erase();
    err_ << utf8Text;
    err_.flush();
    if (shown_) {
        Draw();
    }
}

void ProgressDisplay::BeforeText() {
    Erase();
}

void ProgressDisplay::AfterText(const std::string& utf8Text) {
    for (const char c : utf8Text) {
        if (c == '\n' || c == '\r') {
            commandLineColumn_ = 0;
        } else if (!IsContinuationByte(c)) {
            ++commandLineColumn_;
        }
    }
    if (shown_) {
        Draw();
    }
}

int ProgressDisplay::BarColumn() const {
    return sharesLine_ ? commandLineColumn_ % columns_ : 0;
}

void ProgressDisplay::Draw() {
    if (!enabled_) {
        return;
    }
    const int column = BarColumn();
    // One column stays free, so that the bar never makes the terminal wrap.
    const int gap = column > 0 ? 1 : 0;
    const std::string bar = BarText(label_, percent_, columns_ - column - gap - 1);
    std::string text = "\r";
    if (column > 0) {
        text += "\x1b[" + std::to_string(column) + "C";
    }
    if (!bar.empty()) {
        text += std::string(gap, ' ') + bar;
    }
    text += "\x1b[K";
    err_ << text;
    err_.flush();
    drawn_ = true;
}

void ProgressDisplay::Erase() {
    if (!enabled_ || !drawn_) {
        return;
    }
    const int column = BarColumn();
    std::string text = "\r";
    if (column > 0) {
        text += "\x1b[" + std::to_string(column) + "C";
    }
    err_ << text << "\x1b[K";
    err_.flush();
    drawn_ = false;
}

}  // namespace kafcad
