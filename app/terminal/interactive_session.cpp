#include "app/terminal/interactive_session.h"

// libedit's readline interface; its header needs stdio declared first.
#include <editline/readline.h>
#include <cstdio>
#include <cstdlib>

#include <new>
#include <vector>

#include "app/lisp/error.h"
#include "app/lisp/read_error.h"
#include "app/lisp/read_forms.h"
#include "app/terminal/interrupt_keys.h"
#include "app/terminal/show_value.h"

namespace kafcad {
namespace {

constexpr int kHistoryLines = 1000;

std::string HistoryPath() {
    const char* home = std::getenv("HOME");
    return home != nullptr && *home != '\0' ? std::string(home) + "/.kafcad_history"
                                            : std::string();
}

// One line from the user; false at end of input.
bool ReadLine(const char* prompt, std::string& line) {
    char* text = readline(prompt);
    if (text == nullptr) {
        return false;
    }
    line = text;
    std::free(text);
    return true;
}

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
            ShowValue(evaluator.Evaluate(form), commandLine);
        } catch (const LispError& error) {
            commandLine.EndLine();
            reportError(error.what());
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
    const std::string historyPath = HistoryPath();
    // kafcad handles Ctrl-C itself (InterruptKeys); the editor is only to restore the terminal.
    rl_catch_signals = 0;
    using_history();
    stifle_history(kHistoryLines);
    if (!historyPath.empty()) {
        read_history(historyPath.c_str());
    }
    const auto remember = [&historyPath](const std::string& entry) {
        add_history(HistoryEntry(entry).c_str());
        // Written after each entry, so that no way of ending the session loses it.
        if (!historyPath.empty()) {
            write_history(historyPath.c_str());
        }
    };

    InterruptKeys interrupts;
    std::string entry;
    std::string line;
    for (;;) {
        interrupts.Running(false);
        const bool read = ReadLine(entry.empty() ? "Command: " : "(_> ", line);
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
            remember(entry);
            entry.clear();
            reportError(std::string("malformed expression: ") + error.what());
            continue;
        }
        if (!forms.empty()) {
            remember(entry);
        }
        entry.clear();
        interrupts.Running(true);
        EvaluateEntry(forms, evaluator, commandLine, reportError);
    }
    commandLine.Write("\n");
}

}  // namespace kafcad
