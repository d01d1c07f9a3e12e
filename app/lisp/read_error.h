// ReadError: text that is not a well-formed expression. what() says what is wrong; offset() is
// the byte position in the text where it was found; incomplete() is true when the text merely
// ended too early (an open list or string, a quote with nothing after it), so that more text
// could complete it.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace kafcad {

class ReadError : public std::runtime_error {
public:
    ReadError(const std::string& message, std::size_t offset, bool incomplete = false)
        : std::runtime_error(message), offset_(offset), incomplete_(incomplete) {}
    std::size_t offset() const { return offset_; }
    bool incomplete() const { return incomplete_; }

private:
    std::size_t offset_;
    bool incomplete_;
};

}  // namespace kafcad
