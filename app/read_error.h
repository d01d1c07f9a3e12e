// ReadError: text that is not a well-formed expression. what() says what is wrong; offset() is
// the byte position in the text where it was found.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace kafcad {

class ReadError : public std::runtime_error {
public:
    ReadError(const std::string& message, std::size_t offset)
        : std::runtime_error(message), offset_(offset) {}
    std::size_t offset() const { return offset_; }

private:
    std::size_t offset_;
};

}  // namespace kafcad
