// ByteReader: takes values from the front of a fuzz input. Every read succeeds: past the end it
// gives zeros (and empty texts), so any input decodes to something.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool AtEnd() const { return position_ >= size_; }
    std::size_t Remaining() const { return AtEnd() ? 0 : size_ - position_; }

    std::uint8_t Byte() { return AtEnd() ? 0 : data_[position_++]; }
    // Little-endian integers.
    std::uint16_t U16() {
        const std::uint16_t low = Byte();
        return static_cast<std::uint16_t>(low | (Byte() << 8));
    }
    std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
    std::int32_t I32() {
        const std::uint32_t low = U16();
        return static_cast<std::int32_t>(low | (static_cast<std::uint32_t>(U16()) << 16));
    }
    // The eight bytes of a double as stored (any NaN payload, infinities, subnormals).
    double RawDouble() {
        unsigned char bytes[sizeof(double)];
        for (unsigned char& b : bytes) {
            b = Byte();
        }
        double value;
        std::memcpy(&value, bytes, sizeof value);
        return value;
    }
    // Up to count bytes (fewer at the end).
    std::string Bytes(std::size_t count) {
        count = std::min(count, Remaining());
        std::string text(reinterpret_cast<const char*>(data_ + position_), count);
        position_ += count;
        return text;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};
