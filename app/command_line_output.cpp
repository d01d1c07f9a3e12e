#include "app/command_line_output.h"

namespace kafcad {

void CommandLineOutput::Write(const std::string& utf8Text) {
    if (utf8Text.empty())
        return;
    out_ << utf8Text;
    out_.flush();
    atLineStart_ = utf8Text.back() == '\n';
}

void CommandLineOutput::EndLine() {
    if (atLineStart_)
        return;
    Write("\n");
}

}  // namespace kafcad
