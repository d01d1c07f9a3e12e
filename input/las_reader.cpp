#include "input/las_reader.h"

#include <algorithm>
#include <cmath>
#include <cstring>

const char* const kLasCompressed =
    "it is a compressed LAZ file; decompress it to LAS first (for example with laszip or pdal "
    "translate)";

namespace {

constexpr std::size_t kPublicHeaderBytes = 375;  // the longest header, version 1.4
constexpr std::size_t kRecordHeaderBytes = 54;   // a variable-length record's own header
constexpr std::size_t kRecordsPerBlock = 65536;

// The bytes each point data format needs at least.
constexpr int kFormatLengths[11] = {20, 28, 26, 34, 57, 63, 30, 36, 38, 59, 67};

std::uint64_t Unsigned(const unsigned char* p, int bytes) {
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        value = value << 8 | p[i];
    }
    return value;
}

std::int32_t Signed32(const unsigned char* p) {
    const auto bits = static_cast<std::uint32_t>(Unsigned(p, 4));
    std::int32_t value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

double Real(const unsigned char* p) {
    const std::uint64_t bits = Unsigned(p, 8);
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

int HeaderSizeOfVersion(int minor) {
    return minor <= 2 ? 227 : minor == 3 ? 235 : 375;
}

bool ReadAt(std::istream& stream, std::uint64_t position, unsigned char* bytes, std::size_t size) {
    stream.clear();
    stream.seekg(static_cast<std::streamoff>(position));
    stream.read(reinterpret_cast<char*>(bytes), static_cast<std::streamsize>(size));
    return static_cast<std::size_t>(stream.gcount()) == size;
}

std::string Text(const char* what, std::uint64_t a, std::uint64_t b = 0) {
    std::string text = what;
    const auto put = [&text](const char* mark, std::uint64_t value) {
        const std::size_t at = text.find(mark);
        if (at != std::string::npos) {
            text.replace(at, 2, std::to_string(value));
        }
    };
    put("%1", a);
    put("%2", b);
    return text;
}

// Scale and offset such that every stored integer gives a finite coordinate.
bool UsableScale(double scale, double offset) {
    return std::isfinite(scale) && scale != 0.0 && std::isfinite(offset) &&
           std::isfinite(std::fabs(scale) * 2147483648.0 + std::fabs(offset));
}

}  // namespace

bool IsLasSignature(const char* bytes, std::size_t size) {
    return size >= 4 && std::memcmp(bytes, "LASF", 4) == 0;
}

bool KeepsLasPoint(const LasChoices& choices, const LasPoint& point) {
    if (choices.skipWithheld && point.withheld) {
        return false;
    }
    if (choices.skipNoise && (point.classification == 7 || point.classification == 18)) {
        return false;
    }
    return !choices.onlyClasses ||
           choices.classes.test(static_cast<std::size_t>(point.classification));
}

LasReader::LasReader(std::istream& stream, std::uint64_t fileSize)
    : stream_(stream), fileSize_(fileSize) {}

std::string LasReader::Open() {
    unsigned char bytes[kPublicHeaderBytes] = {};
    const std::size_t available =
        static_cast<std::size_t>(std::min<std::uint64_t>(fileSize_, kPublicHeaderBytes));
    if (available < 227 || !ReadAt(stream_, 0, bytes, available)) {
        return "the header is cut short";
    }
    if (!IsLasSignature(reinterpret_cast<const char*>(bytes), available)) {
        return "it does not start with the signature LASF";
    }
    LasHeader& h = header_;
    h.versionMajor = bytes[24];
    h.versionMinor = bytes[25];
    if (h.versionMajor != 1 || h.versionMinor > 4) {
        return Text("version %1.%2 is not known", h.versionMajor, h.versionMinor);
    }
    h.headerSize = static_cast<int>(Unsigned(bytes + 94, 2));
    h.pointOffset = static_cast<std::uint32_t>(Unsigned(bytes + 96, 4));
    h.recordCount = static_cast<std::uint32_t>(Unsigned(bytes + 100, 4));
    const int formatByte = bytes[104];
    h.pointLength = static_cast<int>(Unsigned(bytes + 105, 2));
    h.pointCount = Unsigned(bytes + 107, 4);
    if ((formatByte & 0xC0) != 0) {
        return kLasCompressed;
    }
    const int needed = HeaderSizeOfVersion(h.versionMinor);
    if (h.headerSize < needed || static_cast<std::uint64_t>(h.headerSize) > fileSize_) {
        return Text("the header size %1 does not fit version 1.%2", h.headerSize, h.versionMinor);
    }
    h.pointFormat = formatByte;
    if (h.pointFormat > 10) {
        return Text("point data format %1 is not known", h.pointFormat);
    }
    if (h.pointLength < kFormatLengths[h.pointFormat]) {
        return Text("a point record of %1 bytes is too short for point data format %2",
                    h.pointLength, h.pointFormat);
    }
    for (int axis = 0; axis < 3; ++axis) {
        h.scale[axis] = Real(bytes + 131 + 8 * axis);
        h.offset[axis] = Real(bytes + 155 + 8 * axis);
        if (!UsableScale(h.scale[axis], h.offset[axis])) {
            return "a scale factor or offset is zero or not a finite number";
        }
    }
    // Where the point records must end: at the waveform data or the extended records when the
    // file has them after the points, otherwise at the file's end.
    std::uint64_t pointsEnd = fileSize_;
    if (h.versionMinor >= 3) {
        const std::uint64_t waveform = Unsigned(bytes + 227, 8);
        if (waveform != 0 && waveform >= h.pointOffset && waveform <= fileSize_) {
            pointsEnd = std::min(pointsEnd, waveform);
        }
    }
    if (h.versionMinor >= 4) {
        const std::uint64_t extended = Unsigned(bytes + 235, 8);
        const std::uint64_t extendedCount = Unsigned(bytes + 243, 4);
        if (extendedCount != 0) {
            if (extended < h.pointOffset || extended > fileSize_) {
                return "the extended variable-length records lie outside the file";
            }
            pointsEnd = std::min(pointsEnd, extended);
        }
        const std::uint64_t count = Unsigned(bytes + 247, 8);
        if (h.pointCount != 0 && h.pointCount != count) {
            return Text("the two point counts disagree (%1 and %2)", h.pointCount, count);
        }
        h.pointCount = count;
    }
    if (h.pointOffset < static_cast<std::uint32_t>(h.headerSize) || h.pointOffset > fileSize_) {
        return Text("the point data offset %1 lies outside the file of %2 bytes", h.pointOffset,
                    fileSize_);
    }
    // The variable-length records: between the header and the points; one of LASzip marks a
    // compressed file whose format byte lost its compression bits.
    std::uint64_t at = static_cast<std::uint64_t>(h.headerSize);
    for (std::uint32_t i = 0; i < h.recordCount; ++i) {
        unsigned char record[kRecordHeaderBytes];
        if (at + kRecordHeaderBytes > h.pointOffset ||
            !ReadAt(stream_, at, record, kRecordHeaderBytes)) {
            return "the variable-length records run into the point data";
        }
        if (std::memcmp(record + 2, "laszip encoded", 14) == 0) {
            return kLasCompressed;
        }
        at += kRecordHeaderBytes + Unsigned(record + 20, 2);
    }
    if (at > h.pointOffset) {
        return "the variable-length records run into the point data";
    }
    const std::uint64_t pointBytes = pointsEnd - h.pointOffset;
    const auto length = static_cast<std::uint64_t>(h.pointLength);
    if (pointBytes / length != h.pointCount || pointBytes % length != 0) {
        return Text("the header counts %1 points, but the file holds %2 bytes of point records",
                    h.pointCount, pointBytes);
    }
    remaining_ = h.pointCount;
    next_ = 0;
    blockEnd_ = 0;
    stream_.clear();
    stream_.seekg(static_cast<std::streamoff>(h.pointOffset));
    return "";
}

bool LasReader::Refill() {
    const std::size_t records =
        static_cast<std::size_t>(std::min<std::uint64_t>(remaining_, kRecordsPerBlock));
    if (records == 0) {
        return false;
    }
    const std::size_t bytes = records * static_cast<std::size_t>(header_.pointLength);
    block_.resize(bytes);
    stream_.read(block_.data(), static_cast<std::streamsize>(bytes));
    if (static_cast<std::size_t>(stream_.gcount()) != bytes) {
        failed_ = true;
        return false;
    }
    remaining_ -= records;
    next_ = 0;
    blockEnd_ = bytes;
    return true;
}

bool LasReader::Next(const LasChoices& choices, LasPoint& point, bool& kept) {
    if (next_ == blockEnd_ && !Refill()) {
        return false;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(block_.data() + next_);
    next_ += static_cast<std::size_t>(header_.pointLength);
    point.x = Signed32(p) * header_.scale[0] + header_.offset[0];
    point.y = Signed32(p + 4) * header_.scale[1] + header_.offset[1];
    point.z = Signed32(p + 8) * header_.scale[2] + header_.offset[2];
    if (header_.pointFormat <= 5) {
        point.classification = p[15] & 0x1F;
        point.withheld = (p[15] & 0x80) != 0;
    } else {
        point.classification = p[16];
        point.withheld = (p[15] & 0x04) != 0;
    }
    kept = KeepsLasPoint(choices, point);
    return true;
}
