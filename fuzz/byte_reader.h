// ByteReader: takes values from the front of a fuzz input. Every read succeeds: past the end it
// gives zeros (and empty texts), so any input decodes to something.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool AtEnd() const { return position_ >= size_; }
    std::size_t Remaining() const { return AtEnd() ? 0 : size_ - position_; }

    std::uint8_t Byte();
    // Little-endian integers.
    std::uint16_t U16();
    std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
    std::int32_t I32();
    // The eight bytes of a double as stored (any NaN payload, infinities, subnormals).
    double RawDouble();
    // Up to count bytes (fewer at the end).
    std::string Bytes(std::size_t count);

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};
