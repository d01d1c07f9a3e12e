// LispError: an evaluation that ends with an error line. what() is the reason printed after
// "; error: "; exitStatus() is the status kafcad then exits with.
#pragma once

#include <stdexcept>
#include <string>

namespace kafcad {

class LispError : public std::runtime_error {
public:
    LispError(const std::string& reason, int exitStatus)
        : std::runtime_error(reason), exitStatus_(exitStatus) {}
    int exitStatus() const { return exitStatus_; }

private:
    int exitStatus_;
};

}  // namespace kafcad
