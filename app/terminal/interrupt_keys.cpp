#include "app/terminal/interrupt_keys.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

namespace kafcad {
namespace {

volatile std::sig_atomic_t gRunning = 0;
volatile std::sig_atomic_t gCancelled = 0;
volatile std::sig_atomic_t gPresses = 0;
struct sigaction gEarlier {};
// What EndOnInterrupt writes; set before its handler is installed.
std::string gEndNote;
struct sigaction gEarlierEnd {};

// Only async-signal-safe calls from here on: this runs in the signal handler.
void WriteText(const char* text) {
    std::size_t left = std::strlen(text);
    while (left > 0) {
        const ssize_t written = ::write(STDERR_FILENO, text, left);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return;
        }
        text += written;
        left -= static_cast<std::size_t>(written);
    }
}

bool AnswersYes() {
    char answer[64];
    ssize_t length = 0;
    do {
        length = ::read(STDIN_FILENO, answer, sizeof answer);
    } while (length < 0 && errno == EINTR);
    return length > 0 && (answer[0] == 'y' || answer[0] == 'Y');
}

void OnInterrupt(int) {
    const int savedErrno = errno;
    if (gRunning == 0) {
        gCancelled = 1;
    } else if (gPresses == 0) {
        gPresses = 1;
        WriteText(kCannotInterrupt);
    } else {
        WriteText(kQuitQuestion);
        if (AnswersYes()) {
            ::_exit(kExitInterrupted);
        }
    }
    errno = savedErrno;
}

void EndRun(int) {
    WriteText(gEndNote.c_str());
    ::_exit(kExitInterrupted);
}

}  // namespace

InterruptKeys::InterruptKeys() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: the line editor's read must end, so that the prompt can start over.
    action.sa_flags = 0;
    ::sigaction(SIGINT, &action, &gEarlier);
}

InterruptKeys::~InterruptKeys() {
    ::sigaction(SIGINT, &gEarlier, nullptr);
}

void InterruptKeys::Running(bool running) {
    gPresses = 0;
    gCancelled = 0;
    gRunning = running ? 1 : 0;
}

bool InterruptKeys::CancelPending() {
    return gCancelled != 0;
}

bool InterruptKeys::TakeCancelled() {
    const bool cancelled = gCancelled != 0;
    gCancelled = 0;
    return cancelled;
}

EndOnInterrupt::EndOnInterrupt(const std::string& note) {
    gEndNote = "\nkafcad: interrupted" + note + "\n";
    struct sigaction action {};
    action.sa_handler = EndRun;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    ::sigaction(SIGINT, &action, &gEarlierEnd);
    if (gEarlierEnd.sa_handler == SIG_IGN) {
        // Started in the background by a shell: Ctrl-C at the terminal is not meant for kafcad.
        ::sigaction(SIGINT, &gEarlierEnd, nullptr);
    }
}

EndOnInterrupt::~EndOnInterrupt() {
    ::sigaction(SIGINT, &gEarlierEnd, nullptr);
}

}  // namespace kafcad
