// CommandLineOutput: kafcad's standard output as the host's command line. Write() passes text
// through at once (flushed, so the command line is live); EndLine() starts a new line unless the
// text so far already ends in one (or nothing has been written); AssumeLineStart() records that
// the terminal is at the start of a line without writing (after the user pressed Enter at the
// prompt).
//
// On a terminal (eraseRewrittenLines), a line that the text rewrites with a carriage return is
// erased to its end first, so that a shorter new line leaves nothing of the old one behind, as
// the host's command line shows it.
//
// An observer (SetObserver; null for none) hears of every text just before and just after it is
// written, so that something drawn on the same terminal can step aside.
#pragma once

#include <ostream>
#include <string>

namespace kafcad {

class CommandLineObserver {
public:
    virtual ~CommandLineObserver() = default;
    virtual void BeforeText() = 0;
    virtual void AfterText(const std::string& utf8Text) = 0;
};

class CommandLineOutput {
public:
    explicit CommandLineOutput(std::ostream& out, bool eraseRewrittenLines = false)
        : out_(out), eraseRewrittenLines_(eraseRewrittenLines) {}
    void Write(const std::string& utf8Text);
    void EndLine();
    void AssumeLineStart();
    void SetObserver(CommandLineObserver* observer) { observer_ = observer; }

private:
    std::ostream& out_;
    bool eraseRewrittenLines_;
    bool atLineStart_ = true;
    CommandLineObserver* observer_ = nullptr;
};

}  // namespace kafcad
