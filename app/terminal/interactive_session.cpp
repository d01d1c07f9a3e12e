#include "app/terminal/interactive_session.h"

#include <new>
#include <vector>

#include "app/lisp/error.h"
#include "app/lisp/read_error.h"
#include "app/lisp/read_forms.h"
#include "app/system/system.h"
#include "app/terminal/interrupt_keys.h"
#include "app/terminal/show_value.h"

namespace kafcad {
namespace {

// The entry as history keeps it: its lines joined by spaces.
std::string HistoryEntry(std::string text) {
    for (char& c : text) {
        if (c == '\n') {
            c = ' ';
        }
    }
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

void EvaluateEntry(const std::vector<Value>& forms, Evaluator& evaluator,
                   CommandLineOutput& commandLine,
                   const std::function<void(const std::string&)>& reportError) {
    for (const Value& form : forms) {
        try {
            ShowValue(evaluator.EvaluateInFolder(form, std::string()), commandLine);
        } catch (const LispError& error) {
            commandLine.EndLine();
            if (!error.HandledByUser()) {
                reportError(error.what());
            }
            return;
        } catch (const std::bad_alloc&) {
            commandLine.EndLine();
            reportError(kOutOfMemory);
            return;
        }
    }
}

}  // namespace

void RunInteractiveSession(Evaluator& evaluator, CommandLineOutput& commandLine,
                           const std::function<void(const std::string& reason)>& reportError) {
    StartLineHistory();

    InterruptKeys interrupts;
    std::string entry;
    std::string line;
    for (;;) {
        interrupts.Running(false);
        const bool read = ReadPromptLine(entry.empty() ? "Command: " : "(_> ", line,
                                         &InterruptKeys::CancelPending);
        if (interrupts.TakeCancelled()) {
            // Ctrl-C drops what was typed of the entry, all its lines, and asks anew.
            commandLine.Write("\n");
            entry.clear();
            continue;
        }
        if (!read) {
            break;
        }
        commandLine.AssumeLineStart();
        entry += line + "\n";
        std::vector<Value> forms;
        try {
            forms = ReadForms(entry);
        } catch (const ReadError& error) {
            if (error.incomplete()) {
                continue;
            }
            AddLineHistory(HistoryEntry(entry));
            entry.clear();
            reportError(std::string("malformed expression: ") + error.what());
            continue;
        }
        if (!forms.empty()) {
            AddLineHistory(HistoryEntry(entry));
        }
        entry.clear();
        interrupts.Running(true);
        EvaluateEntry(forms, evaluator, commandLine, reportError);
    }
    commandLine.Write("\n");
    EndLineHistory();
}

}  // namespace kafcad
