// RunInteractiveSession(evaluator, commandLine, reportError): the prompt a user types at, with
// line editing and history (libedit). Shows "Command: ", reads a line, and while it leaves a
// list or string open reads more after "(_> "; then evaluates each expression and shows its
// value (ShowValue). An error is handed to reportError (its reason) and the session goes on.
// Ends at end of input (Ctrl-D). Ctrl-C at the prompt drops the entry typed so far (all its
// lines) and shows "Command: " again; while an entry is evaluated it cannot stop the call (see
// InterruptKeys). History is kept in ~/.kafcad_history when HOME is set, written after each
// entry.
#pragma once

#include <functional>
#include <string>

#include "app/lisp/command_line_output.h"
#include "app/lisp/evaluate.h"

namespace kafcad {

void RunInteractiveSession(Evaluator& evaluator, CommandLineOutput& commandLine,
                           const std::function<void(const std::string& reason)>& reportError);

}  // namespace kafcad
