// kafcad's system calls on POSIX systems; the prompt's line editing and history through libedit.
#include <sys/ioctl.h>
#include <unistd.h>

#include <csignal>

// libedit's readline interface; its header needs stdio declared first.
#include <editline/readline.h>
#include <cstdio>
#include <cstdlib>

#include <filesystem>
#include <system_error>

#include "app/system/system.h"

namespace kafcad {
namespace {

constexpr int kHistoryLines = 1000;

std::string HistoryPath() {
    const char* home = std::getenv("HOME");
    return home != nullptr && *home != '\0' ? std::string(home) + "/.kafcad_history"
                                            : std::string();
}

}  // namespace

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

void PrepareConsole() {
    // A file grown past the size limit (ulimit -f) would end kafcad in the middle of a save and
    // leave its temporary file behind: ignored, the write fails and the save reports it.
    std::signal(SIGXFSZ, SIG_IGN);
}

bool IsTerminal(int stream) {
    return ::isatty(stream) == 1;
}

int TerminalColumns(int stream) {
    winsize size{};
    if (::ioctl(stream, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
        return size.ws_col;
    }
    return 80;
}

std::string ExecutableDirectory() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return std::string();
    }
    return executable.parent_path().string();
}

bool ReadPromptLine(const char* prompt, std::string& line) {
    char* text = readline(prompt);
    if (text == nullptr) {
        return false;
    }
    line = text;
    std::free(text);
    return true;
}

void StartLineHistory() {
    // kafcad handles Ctrl-C itself (InterruptKeys); the editor is only to restore the terminal.
    rl_catch_signals = 0;
    using_history();
    stifle_history(kHistoryLines);
    const std::string path = HistoryPath();
    if (!path.empty()) {
        read_history(path.c_str());
    }
}

void AddLineHistory(const std::string& entry) {
    add_history(entry.c_str());
    // Written after each entry, so that no way of ending the session loses it.
    const std::string path = HistoryPath();
    if (!path.empty()) {
        write_history(path.c_str());
    }
}

void EndLineHistory() {
    const std::string path = HistoryPath();
    if (!path.empty()) {
        write_history(path.c_str());
    }
}

}  // namespace kafcad
