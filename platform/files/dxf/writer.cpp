#include "platform/files/dxf/writer.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>

#include "kafhost/drawing_json.h"
#include "platform/files/shortest_real.h"
#include "platform/files/whole_number_text.h"

namespace kafhost {
namespace {

// Buffered bytes written to a file at a time (blocks of 256 KiB or 4 MiB cost more system time).
constexpr std::size_t kFileBlock = 1 << 20;
// The first buffer of a writer into memory, grown by doubling.
constexpr std::size_t kFirstBlock = 1 << 10;
// The longest group code and number with their line ends.
constexpr std::size_t kLongestTag = 64;

// The group code's line: right-aligned in three columns.
char* codeLine(char* out, int code) {
    if (code >= 0 && code < 1000) {
        out[0] = code >= 100 ? static_cast<char>('0' + code / 100) : ' ';
        out[1] = code >= 10 ? static_cast<char>('0' + code / 10 % 10) : ' ';
        out[2] = static_cast<char>('0' + code % 10);
        out[3] = '\n';
        return out + 4;
    }
    out = std::to_chars(out, out + 16, code).ptr;
    *out = '\n';
    return out + 1;
}

}  // namespace

char* DxfWriter::room(std::size_t size) {
    if (buffer_.size() - used_ < size) {
        if (file_ != nullptr) {
            writeOut();
        }
        if (buffer_.size() - used_ < size) {
            const std::size_t least = file_ != nullptr ? kFileBlock : kFirstBlock;
            buffer_.resize(std::max({used_ + size, 2 * buffer_.size(), least}));
        }
    }
    return &buffer_[used_];
}

void DxfWriter::writeOut() {
    if (std::fwrite(buffer_.data(), 1, used_, file_) != used_) {
        throw DxfFileWriteError(std::string("cannot write: ") + std::strerror(errno));
    }
    used_ = 0;
}

template <typename WriteValue>
void DxfWriter::tag(int groupCode, std::size_t valueSize, WriteValue writeValue) {
    char* const start = room(kLongestTag + valueSize);
    char* out = writeValue(codeLine(start, groupCode));
    *out++ = '\n';
    used_ += static_cast<std::size_t>(out - start);
}

void DxfWriter::text(int groupCode, std::string_view value) {
    tag(groupCode, value.size(), [&](char* out) {
        std::memcpy(out, value.data(), value.size());
        return out + value.size();
    });
}

void DxfWriter::raw(std::string_view tags) {
    std::memcpy(room(tags.size()), tags.data(), tags.size());
    used_ += tags.size();
}

void DxfWriter::integer(int groupCode, long long value) {
    tag(groupCode, 0, [&](char* out) { return std::to_chars(out, out + 24, value).ptr; });
}

void DxfWriter::integers(int groupCode, const int* values, std::size_t count) {
    // The code's line made once and copied before each value, 8 bytes at a time.
    char code[kLongestTag] = {};
    const auto codeSize = static_cast<std::size_t>(codeLine(code, groupCode) - code);
    constexpr std::size_t kLongestInt = 12;  // "-2147483648\n"
    char* const start = room(count * (codeSize + kLongestInt) + sizeof code);
    char* out = start;
    for (std::size_t i = 0; i < count; ++i) {
        std::memcpy(out, code, 8);
        out = wholeNumberText(out + codeSize, values[i]);
        *out++ = '\n';
    }
    used_ += static_cast<std::size_t>(out - start);
}

void DxfWriter::real(int groupCode, double value) {
    if (!std::isfinite(value)) {
        throw DrawingFileError("not a finite number");
    }
    tag(groupCode, 0, [&](char* out) { return shortestRealText(out, value); });
}

void DxfWriter::point(int groupCode, double x, double y, double z) {
    const std::array<double, 3> single{x, y, z};
    points(groupCode, &single, 1);
}

void DxfWriter::points(int groupCode, const std::array<double, 3>* points, std::size_t count) {
    // The three code lines made once, each copied as a block of kCodeBlock characters.
    constexpr std::size_t kCodeBlock = 16;
    char codes[3][kLongestTag] = {};
    std::size_t codeSizes[3] = {};
    for (int axis = 0; axis < 3; ++axis) {
        codeSizes[axis] =
            static_cast<std::size_t>(codeLine(codes[axis], groupCode + 10 * axis) - codes[axis]);
    }
    for (std::size_t i = 0; i < count; ++i) {
        const std::array<double, 3>& point = points[i];
        if (!std::isfinite(point[0]) || !std::isfinite(point[1]) || !std::isfinite(point[2])) {
            throw DrawingFileError("not a finite number");
        }
        // The three tags in one block of the buffer.
        char* const start = room(3 * kLongestTag);
        char* out = start;
        for (int axis = 0; axis < 3; ++axis) {
            std::memcpy(out, codes[axis], kCodeBlock);
            out = shortestRealText(out + codeSizes[axis], point[static_cast<std::size_t>(axis)]);
            *out++ = '\n';
        }
        used_ += static_cast<std::size_t>(out - start);
    }
}

void DxfWriter::point(int groupCode, double x, double y) {
    real(groupCode, x);
    real(groupCode + 10, y);
}

void DxfWriter::handle(int groupCode, std::uint64_t value) {
    tag(groupCode, 0, [&](char* digits) {
        char* const end = std::to_chars(digits, digits + 24, value, 16).ptr;
        for (char* c = digits; c != end; ++c) {
            if (*c >= 'a' && *c <= 'f') {
                *c = static_cast<char>(*c - 'a' + 'A');
            }
        }
        return end;
    });
}

const std::string& DxfWriter::text() {
    buffer_.resize(used_);
    return buffer_;
}

void DxfWriter::finish() {
    if (file_ == nullptr) {
        return;
    }
    writeOut();
    if (std::fflush(file_) != 0) {
        throw DxfFileWriteError(std::string("cannot write: ") + std::strerror(errno));
    }
}

void writeDxfObjectHead(DxfWriter& writer, std::string_view type, std::uint64_t handle,
                        std::uint64_t owner, std::string_view subclass) {
    writer.text(0, type);
    writer.handle(5, handle);
    if (owner != 0) {
        writer.text(102, "{ACAD_REACTORS");
        writer.handle(330, owner);
        writer.text(102, "}");
    }
    writer.handle(330, owner);
    writer.text(100, subclass);
}

}  // namespace kafhost
