// UsageError: command-line arguments kafcad cannot act on; what() says why.
#pragma once

#include <stdexcept>
#include <string>

namespace kafcad {

class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace kafcad
