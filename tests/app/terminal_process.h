// RunKafcadOnTerminal(arguments, streams, steps, environment): runs kafcad (KAFCAD_PATH) with the
// chosen standard streams on a pseudo-terminal of 100 columns (the others: standard input from
// /dev/null, output and error to files), as a user at a terminal would. steps are followed in
// order: wait until the terminal shows waitFor (after what earlier steps waited for; empty: no
// wait), then type send. environment entries ("NAME=value") are added to kafcad's environment.
// Gives the exit status, everything the terminal showed and the files' texts. A step that waits
// more than 10 seconds ends the run (the program is killed; exitStatus -1).
#pragma once

#include <string>
#include <vector>

struct TerminalStreams {
    bool in = false;
    bool out = false;
    bool err = false;
};

struct TerminalStep {
    std::string waitFor;
    std::string send;
    // Typed without waiting for the line editor: keys for a program that is busy or reads a
    // line itself (Ctrl-C while a function runs, the answer to a question).
    bool whileBusy = false;
};

struct TerminalRun {
    int exitStatus = -1;
    std::string terminal;
    std::string out;  // when standard output is not the terminal
    std::string err;  // when standard error is not the terminal
};

TerminalRun RunKafcadOnTerminal(const std::vector<std::string>& arguments, TerminalStreams streams,
                                const std::vector<TerminalStep>& steps,
                                const std::vector<std::string>& environment = {});
