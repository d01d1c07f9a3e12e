// InterruptKeys: what Ctrl-C (SIGINT) does during an interactive session, while the object lives
// (the earlier handling comes back when it goes).
//   At the prompt (Running(false)) it only marks the input as cancelled: the line editor's read
//   is interrupted, and TakeCancelled() tells so once.
//   While an evaluation runs (Running(true)), which the module cannot stop, the first Ctrl-C
//   writes kCannotInterrupt to standard error; each further one asks kQuitQuestion there and
//   reads the answer from standard input: "y" ends kafcad at once with status 130 (what is not
//   saved is lost, as the question says), anything else lets the call go on.
#pragma once

namespace kafcad {

constexpr const char* kCannotInterrupt =
    "\n; the running function cannot be interrupted; press Ctrl-C again to quit kafcad\n";
constexpr const char* kQuitQuestion = "\nQuit kafcad without saving the drawing? (y/n) ";
constexpr int kExitInterrupted = 130;

class InterruptKeys {
public:
    InterruptKeys();
    ~InterruptKeys();
    InterruptKeys(const InterruptKeys&) = delete;
    InterruptKeys& operator=(const InterruptKeys&) = delete;

    void Running(bool running);
    bool TakeCancelled();
};

}  // namespace kafcad
