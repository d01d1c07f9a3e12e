// LispError: an evaluation that ends with an error line. what() is the reason printed after
// "; error: "; an error ends a script (exit status 1) and is only reported at the prompt.
// HandledByUser(): the script's own *error* function was given the reason and has dealt with
// it, so kafcad prints no error line of its own (the run still ends as after any error).
#pragma once

#include <stdexcept>
#include <string>

namespace kafcad {

// The reason given when an evaluation runs out of memory (std::bad_alloc): reported as an error,
// after which the session goes on.
constexpr const char* kOutOfMemory = "out of memory";

class LispError : public std::runtime_error {
public:
    explicit LispError(const std::string& reason, bool handledByUser = false)
        : std::runtime_error(reason), handledByUser_(handledByUser) {}
    bool HandledByUser() const { return handledByUser_; }

private:
    bool handledByUser_;
};

}  // namespace kafcad
