// LAS point clouds (ASPRS LAS 1.0 to 1.4, point data formats 0 to 10), read as plain points.
//
// LasChoices: which point records are kept: only the classes set in `classes` when
// `onlyClasses`, none flagged withheld when `skipWithheld`, none of the noise classes 7 (low
// point) and 18 (high noise) when `skipNoise`.
//
// IsLasSignature(bytes, size): whether the bytes start with the signature "LASF".
//
// LasReader(stream, fileSize): reads from a binary stream positioned anywhere, fileSize its
// length in bytes.
// - Open(): reads and checks the header and the variable-length records; gives "" when the
//   points can be read, otherwise why not (one of the kLas... texts below, completed with
//   figures). The point count must agree with the file size: the point records end at the
//   file's end, or where the waveform data (1.3, 1.4) or the extended records (1.4) begin.
//   Compressed (LAZ) files give kLasCompressed.
// - Header(): what Open read.
// - Next(choices, point, kept): the next point record: kept is false when the choices leave it
//   out; x = X * scale + offset and so on, as the file stores them. Gives false after the last
//   record, or when the stream ends early (Failed() then tells).
#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

struct LasChoices {
    bool onlyClasses = false;
    std::bitset<256> classes;
    bool skipWithheld = false;
    bool skipNoise = false;
};

struct LasHeader {
    int versionMajor = 0;
    int versionMinor = 0;
    int headerSize = 0;
    std::uint32_t pointOffset = 0;
    std::uint32_t recordCount = 0;  // variable-length records
    int pointFormat = 0;
    int pointLength = 0;
    std::uint64_t pointCount = 0;
    double scale[3] = {1.0, 1.0, 1.0};
    double offset[3] = {0.0, 0.0, 0.0};
};

struct LasPoint {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    int classification = 0;
    bool withheld = false;
};

extern const char* const kLasCompressed;

bool IsLasSignature(const char* bytes, std::size_t size);

class LasReader {
public:
    LasReader(std::istream& stream, std::uint64_t fileSize);

    std::string Open();
    const LasHeader& Header() const { return header_; }
    bool Next(const LasChoices& choices, LasPoint& point, bool& kept);
    bool Failed() const { return failed_; }

private:
    bool Refill();

    std::istream& stream_;
    std::uint64_t fileSize_;
    LasHeader header_;
    std::vector<char> block_;
    std::size_t next_ = 0;         // the next record's first byte in block_
    std::size_t blockEnd_ = 0;     // the bytes of block_ in use
    std::uint64_t remaining_ = 0;  // records not yet read into block_
    bool failed_ = false;
};

// Whether a point's classification and flags pass the choices.
bool KeepsLasPoint(const LasChoices& choices, const LasPoint& point);
