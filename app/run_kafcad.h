// RunKafcad(options, out, err): one run of kafcad in the process's host; gives the exit status.
//
// Reads every expression first, then starts from the given drawing (or the host's new one),
// adds the layers, loads the module, evaluates the expressions in order in the one document,
// saves the drawing when asked and unloads the module. out is the command line: the module's
// text as it is printed, and after each expression its value on a line of its own. err gets
// "; error: REASON" for a failing evaluation (which stops the run; the drawing is then not
// saved) and "kafcad: ..." for everything else that goes wrong. --help and --version print
// their text to out.
#pragma once

#include <ostream>

#include "app/options.h"

namespace kafcad {

int RunKafcad(const Options& options, std::ostream& out, std::ostream& err);

}  // namespace kafcad
