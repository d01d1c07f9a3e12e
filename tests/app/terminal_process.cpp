#include "terminal_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>

#include "kafcad_process.h"

namespace {

constexpr int kStepTimeoutMs = 10000;

// Reads what the terminal shows until wanted appears after from (or the time is up, or the
// program closed the terminal); false when it did not appear.
bool ReadUntil(int master, std::string& shown, std::size_t& from, const std::string& wanted,
               int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (!wanted.empty()) {
            const std::size_t at = shown.find(wanted, from);
            if (at != std::string::npos) {
                from = at + wanted.size();
                return true;
            }
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) {
            return wanted.empty();
        }
        pollfd poller{master, POLLIN, 0};
        if (::poll(&poller, 1, static_cast<int>(left)) <= 0) {
            continue;
        }
        char buffer[4096];
        const ssize_t got = ::read(master, buffer, sizeof buffer);
        if (got <= 0) {
            return wanted.empty();
        }
        shown.append(buffer, static_cast<std::size_t>(got));
    }
}

// Waits until the program reads the terminal a character at a time, as the line editor does
// once its prompt is shown. Typed before that, a key goes through the terminal's line mode (an
// end of input there reaches the editor as a NUL); a person waits for the editor in the same way.
bool WaitForCharacterMode(int master, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        termios mode{};
        if (::tcgetattr(master, &mode) != 0) {
            return false;
        }
        if ((mode.c_lflag & ICANON) == 0) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        ::usleep(1000);
    }
}

}  // namespace

TerminalRun RunKafcadOnTerminal(const std::vector<std::string>& arguments, TerminalStreams streams,
                                const std::vector<TerminalStep>& steps,
                                const std::vector<std::string>& environment) {
    TerminalRun run;
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        return run;
    }
    const std::string slaveName = ::ptsname(master);
    const std::string outPath = TemporaryPath();
    const std::string errPath = TemporaryPath();

    std::vector<std::string> argv{KAFCAD_PATH};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> pointers = ArgvOf(argv);
    std::vector<std::string> settings = environment;

    const pid_t child = ::fork();
    if (child == 0) {
        ::setsid();
        const int slave = ::open(slaveName.c_str(), O_RDWR);
        if (slave < 0) {
            ::_exit(126);
        }
        ::ioctl(slave, TIOCSCTTY, 0);
        winsize size{};
        size.ws_row = 40;
        size.ws_col = 100;
        ::ioctl(slave, TIOCSWINSZ, &size);
        const int null = ::open("/dev/null", O_RDONLY);
        const int out = ::open(outPath.c_str(), O_WRONLY | O_TRUNC);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_TRUNC);
        ::dup2(streams.in ? slave : null, 0);
        ::dup2(streams.out ? slave : out, 1);
        ::dup2(streams.err ? slave : err, 2);
        ::setenv("TERM", "dumb", 1);
        // In a sanitizer build, LeakSanitizer's check at exit does not finish in a program that
        // leads a terminal session here; every other kafcad test checks for leaks.
        const char* sanitizer = ::getenv("ASAN_OPTIONS");
        const std::string noLeakCheck =
            (sanitizer != nullptr && *sanitizer != '\0' ? std::string(sanitizer) + ":" : "") +
            "detect_leaks=0";
        ::setenv("ASAN_OPTIONS", noLeakCheck.c_str(), 1);
        for (std::string& setting : settings) {
            ::putenv(setting.data());
        }
        ::execv(pointers[0], pointers.data());
        ::_exit(127);
    }

    std::size_t from = 0;
    bool ok = child > 0;
    for (const TerminalStep& step : steps) {
        if (!ok) {
            break;
        }
        ok = ReadUntil(master, run.terminal, from, step.waitFor, kStepTimeoutMs);
        if (ok && streams.in && !step.waitFor.empty() && !step.whileBusy) {
            ok = WaitForCharacterMode(master, kStepTimeoutMs);
        }
        if (ok && !step.send.empty()) {
            ok = ::write(master, step.send.data(), step.send.size()) ==
                 static_cast<ssize_t>(step.send.size());
        }
    }
    int status = 0;
    bool ended = false;
    // Read what is left until the program closes the terminal.
    if (ok) {
        ReadUntil(master, run.terminal, from, std::string(), kStepTimeoutMs);
    }
    for (int i = 0; child > 0 && i < 200 && !ended; ++i) {
        ended = ::waitpid(child, &status, WNOHANG) == child;
        if (!ended) {
            ::usleep(10000);
        }
    }
    if (child > 0 && !ended) {
        // Still running: stuck, or it kept the terminal open past the time.
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        ok = false;
    }
    if (ok && WIFEXITED(status)) {
        run.exitStatus = WEXITSTATUS(status);
    }
    ::close(master);
    run.out = TakeFile(outPath);
    run.err = TakeFile(errPath);
    return run;
}
