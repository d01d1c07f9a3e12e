// LispError: an evaluation that ends with an error line. what() is the reason printed after
// "; error: "; an error ends a script (exit status 1) and is only reported at the prompt.
#pragma once

#include <stdexcept>
#include <string>

namespace kafcad {

// The reason given when an evaluation runs out of memory (std::bad_alloc): reported as an error,
// after which the session goes on.
constexpr const char* kOutOfMemory = "out of memory";

class LispError : public std::runtime_error {
public:
    explicit LispError(const std::string& reason) : std::runtime_error(reason) {}
};

}  // namespace kafcad
