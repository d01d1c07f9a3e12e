// CommandLineOutput: kafcad's standard output as the host's command line. Write() passes text
// through at once (flushed, so the command line is live); EndLine() starts a new line unless the
// text so far already ends in one (or nothing has been written).
#pragma once

#include <ostream>
#include <string>

namespace kafcad {

class CommandLineOutput {
public:
    explicit CommandLineOutput(std::ostream& out) : out_(out) {}
    void Write(const std::string& utf8Text);
    void EndLine();

private:
    std::ostream& out_;
    bool atLineStart_ = true;
};

}  // namespace kafcad
