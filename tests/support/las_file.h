// LAS files for tests and benchmarks, laid out as the published ASPRS LAS file format (public
// header block, variable-length records, point data records), written independently of the module's
// reader.
//
// LasFileSpec: the version 1.minor (0 ... 4), the point data format (0 ... 10; the format byte
// written as `formatByte` when that is not negative, e.g. with the LAZ compression bit), the
// scale and offset of x, y, z, and the variable-length records to write (user id and length).
// LasRecord: a point: stored integers X, Y, Z, classification and the withheld flag.
// LasFileBytes(spec, points): the whole file.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

struct LasRecord {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t z = 0;
    int classification = 0;
    bool withheld = false;
};

struct LasFileSpec {
    int minor = 2;
    int format = 0;
    int formatByte = -1;
    double scale[3] = {0.01, 0.01, 0.01};
    double offset[3] = {0.0, 0.0, 0.0};
    std::vector<std::pair<std::string, int>> records;  // user id, bytes after the record header
};

namespace las_file_detail {

inline void Put(std::string& bytes, std::size_t at, std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

inline void PutReal(std::string& bytes, std::size_t at, double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    Put(bytes, at, bits, 8);
}

inline int RecordLength(int format) {
    static const int lengths[11] = {20, 28, 26, 34, 57, 63, 30, 36, 38, 59, 67};
    return lengths[format];
}

}  // namespace las_file_detail

inline std::string LasFileBytes(const LasFileSpec& spec, const std::vector<LasRecord>& points) {
    using namespace las_file_detail;
    const std::size_t headerSize = spec.minor <= 2 ? 227 : spec.minor == 3 ? 235 : 375;
    std::string bytes(headerSize, '\0');
    bytes.replace(0, 4, "LASF");
    bytes[24] = 1;
    bytes[25] = static_cast<char>(spec.minor);
    bytes.replace(26, 8, "kaf test");
    Put(bytes, 94, headerSize, 2);
    for (const auto& record : spec.records) {
        std::string header(54, '\0');
        header.replace(2, std::min<std::size_t>(16, record.first.size()), record.first);
        Put(header, 20, static_cast<std::uint64_t>(record.second), 2);
        bytes += header + std::string(static_cast<std::size_t>(record.second), 'v');
    }
    const std::size_t length = static_cast<std::size_t>(RecordLength(spec.format));
    Put(bytes, 96, bytes.size(), 4);
    Put(bytes, 100, spec.records.size(), 4);
    Put(bytes, 104,
        static_cast<std::uint64_t>(spec.formatByte >= 0 ? spec.formatByte : spec.format), 1);
    Put(bytes, 105, length, 2);
    // Formats 6 to 10 keep the legacy count at zero; 1.4 has the 64-bit count.
    Put(bytes, 107, spec.format <= 5 ? points.size() : 0, 4);
    for (int axis = 0; axis < 3; ++axis) {
        PutReal(bytes, 131 + 8 * static_cast<std::size_t>(axis), spec.scale[axis]);
        PutReal(bytes, 155 + 8 * static_cast<std::size_t>(axis), spec.offset[axis]);
    }
    if (spec.minor >= 4) {
        Put(bytes, 247, points.size(), 8);
    }
    for (const LasRecord& p : points) {
        std::string record(length, '\0');
        Put(record, 0, static_cast<std::uint32_t>(p.x), 4);
        Put(record, 4, static_cast<std::uint32_t>(p.y), 4);
        Put(record, 8, static_cast<std::uint32_t>(p.z), 4);
        Put(record, 12, 1000, 2);  // intensity
        if (spec.format <= 5) {
            record[14] = 0x09;  // return 1 of 1
            record[15] = static_cast<char>((p.classification & 0x1F) | (p.withheld ? 0x80 : 0));
        } else {
            record[14] = 0x11;
            record[15] = static_cast<char>(p.withheld ? 0x04 : 0);
            record[16] = static_cast<char>(p.classification);
        }
        bytes += record;
    }
    return bytes;
}
