// LispError: an evaluation that ends with an error line. what() is the reason printed after
// "; error: "; an error ends a script (exit status 1) and is only reported at the prompt.
#pragma once

#include <stdexcept>
#include <string>

namespace kafcad {

class LispError : public std::runtime_error {
public:
    explicit LispError(const std::string& reason) : std::runtime_error(reason) {}
};

}  // namespace kafcad
