// RunKafcad(options, console): one run of kafcad in the process's host; gives the exit status.
//
// Reads every script and expression first, then starts from the given drawing (or the host's
// new one), adds the layers, loads the module and evaluates the scripts and expressions in order
// in the one document; with none given, it runs the interactive prompt when standard input is a
// terminal and reads a script from standard input otherwise. Then it saves the drawing and
// renders the picture when asked, and unloads the module.
//
// console.out is the command line: the module's text as it is printed, what princ, prin1 and
// print write, and the values of -e expressions and of what is typed at the prompt, each on a
// line of its own (a script's values are not shown). console.err gets "; error: REASON" for a
// failing evaluation (which ends a script with status 1; the drawing is then neither saved nor
// rendered), the module's message boxes as "CAPTION: TEXT", the progress bar when it is a
// terminal, and "kafcad: ..." for everything else that goes wrong. --help and --version print
// their text to out.
#pragma once

#include <ostream>

#include "app/program/options.h"

namespace kafcad {

struct Console {
    std::ostream& out;
    std::ostream& err;
    bool inIsTerminal = false;
    bool outIsTerminal = false;
    bool errIsTerminal = false;
    int columns = 80;  // the terminal's width, when there is one
};

int RunKafcad(const Options& options, const Console& console);

}  // namespace kafcad
