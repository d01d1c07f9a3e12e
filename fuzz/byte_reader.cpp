#include "fuzz/byte_reader.h"

#include <algorithm>
#include <cstring>

std::uint8_t ByteReader::Byte() {
    return AtEnd() ? 0 : data_[position_++];
}

std::uint16_t ByteReader::U16() {
    const std::uint16_t low = Byte();
    return static_cast<std::uint16_t>(low | (Byte() << 8));
}

std::int32_t ByteReader::I32() {
    const std::uint32_t low = U16();
    return static_cast<std::int32_t>(low | (static_cast<std::uint32_t>(U16()) << 16));
}

double ByteReader::RawDouble() {
    unsigned char bytes[sizeof(double)];
    for (unsigned char& b : bytes) {
        b = Byte();
    }
    double value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

std::string ByteReader::Bytes(std::size_t count) {
    count = std::min(count, Remaining());
    std::string text(reinterpret_cast<const char*>(data_ + position_), count);
    position_ += count;
    return text;
}
