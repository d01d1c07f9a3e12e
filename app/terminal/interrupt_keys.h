// InterruptKeys: what Ctrl-C (SIGINT) does during an interactive session, while the object lives
// (the earlier handling comes back when it goes).
//   At the prompt (Running(false)) it only marks the input as cancelled: the line editor's read
//   is interrupted, and TakeCancelled() tells so once.
//   While an evaluation runs (Running(true)), which the module cannot stop, the first Ctrl-C
//   writes kCannotInterrupt to standard error; each further one asks kQuitQuestion there and
//   reads the answer from standard input: "y" ends kafcad at once with status 130 (what is not
//   saved is lost, as the question says), anything else lets the call go on.
//
// EndOnInterrupt(note): while it lives, Ctrl-C ends kafcad at once with status 130 after writing
// "\nkafcad: interrupted" and note to standard error: a run of scripts, whose functions cannot be
// stopped otherwise, is never stuck, and says what it did not save. A save that has begun holds
// Ctrl-C back until it has ended (replaceFile), so no half-written file is left. On Windows the
// console's own Ctrl-C handling, which ends kafcad, stays.
#pragma once

#include <string>

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
    // Whether a Ctrl-C at the prompt is waiting to be taken (safe in a signal's shadow: it only
    // reads the flag).
    static bool CancelPending();
};

class EndOnInterrupt {
public:
    explicit EndOnInterrupt(const std::string& note);
    ~EndOnInterrupt();
    EndOnInterrupt(const EndOnInterrupt&) = delete;
    EndOnInterrupt& operator=(const EndOnInterrupt&) = delete;
};

}  // namespace kafcad
