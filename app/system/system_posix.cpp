// kafcad's system calls on POSIX systems; the prompt's line editing and history through libedit.
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/select.h>
#include <unistd.h>

#include <csignal>

// libedit's readline interface; its header needs stdio declared first.
#include <editline/readline.h>
#include <cstdio>
#include <cstdlib>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "app/system/system.h"

namespace kafcad {
namespace {

constexpr int kHistoryLines = 1000;

bool (*gPromptCancelled)() = nullptr;

// The line editor's key reader. Ctrl-C (SIGINT) is held back but while the reader waits for a
// key, so that one pressed while the prompt is drawn, before the wait began, still ends the read
// (with end of input, which the caller takes for the cancel it is) instead of being missed.
int ReadPromptKey(FILE* stream) {
    const int input = stream != nullptr ? fileno(stream) : STDIN_FILENO;
    sigset_t interrupt;
    sigemptyset(&interrupt);
    sigaddset(&interrupt, SIGINT);
    sigset_t earlier;
    ::pthread_sigmask(SIG_BLOCK, &interrupt, &earlier);
    int key = EOF;
    for (;;) {
        if (gPromptCancelled != nullptr && gPromptCancelled()) {
            break;
        }
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(input, &readable);
        // The earlier mask lets a pending or new Ctrl-C in during the wait only.
        const int ready = ::pselect(input + 1, &readable, nullptr, nullptr, nullptr, &earlier);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        unsigned char byte = 0;
        if (ready > 0 && ::read(input, &byte, 1) == 1) {
            key = byte;
        }
        break;
    }
    ::pthread_sigmask(SIG_SETMASK, &earlier, nullptr);
    return key;
}

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

bool ReadPromptLine(const char* prompt, std::string& line, bool (*cancelled)()) {
    gPromptCancelled = cancelled;
    char* text = readline(prompt);
    gPromptCancelled = nullptr;
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
    rl_getc_function = ReadPromptKey;
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
