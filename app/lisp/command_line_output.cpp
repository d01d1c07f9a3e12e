#include "app/lisp/command_line_output.h"

namespace kafcad {

void CommandLineOutput::Write(const std::string& utf8Text) {
    if (utf8Text.empty()) {
        return;
    }
    if (observer_ != nullptr) {
        observer_->BeforeText();
    }
    if (eraseRewrittenLines_) {
        for (std::size_t i = 0; i < utf8Text.size(); ++i) {
            out_ << utf8Text[i];
            if (utf8Text[i] == '\r' && (i + 1 == utf8Text.size() || utf8Text[i + 1] != '\n')) {
                out_ << "\x1b[K";
            }
        }
    } else {
        out_ << utf8Text;
    }
    out_.flush();
    atLineStart_ = utf8Text.back() == '\n';
    if (observer_ != nullptr) {
        observer_->AfterText(utf8Text);
    }
}

void CommandLineOutput::EndLine() {
    if (atLineStart_) {
        return;
    }
    Write("\n");
}

void CommandLineOutput::AssumeLineStart() {
    atLineStart_ = true;
    if (observer_ != nullptr) {
        observer_->AfterText("\n");
    }
}

}  // namespace kafcad
