#include "platform/files/dxf/writer.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>

#include "kafhost/drawing_json.h"

namespace kafhost {
namespace {

// Buffered bytes written to a file at a time.
constexpr std::size_t kFileBlock = 1 << 20;

}  // namespace

void DxfWriter::code(int code) {
    char digits[8];
    const auto end = std::to_chars(digits, digits + sizeof digits, code).ptr;
    const std::size_t length = static_cast<std::size_t>(end - digits);
    if (length < 3) {
        buffer_.append(3 - length, ' ');
    }
    buffer_.append(digits, length);
    buffer_ += '\n';
}

void DxfWriter::text(int groupCode, std::string_view value) {
    code(groupCode);
    buffer_.append(value.data(), value.size());
    buffer_ += '\n';
    flushIfFull();
}

void DxfWriter::raw(std::string_view tags) {
    buffer_.append(tags.data(), tags.size());
    flushIfFull();
}

void DxfWriter::integer(int groupCode, long long value) {
    code(groupCode);
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    buffer_.append(digits, end);
    buffer_ += '\n';
    flushIfFull();
}

void DxfWriter::real(int groupCode, double value) {
    if (!std::isfinite(value)) {
        throw DrawingFileError("not a finite number");
    }
    code(groupCode);
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    buffer_.append(digits, end);
    buffer_ += '\n';
    flushIfFull();
}

void DxfWriter::point(int groupCode, double x, double y, double z) {
    real(groupCode, x);
    real(groupCode + 10, y);
    real(groupCode + 20, z);
}

void DxfWriter::point(int groupCode, double x, double y) {
    real(groupCode, x);
    real(groupCode + 10, y);
}

void DxfWriter::handle(int groupCode, std::uint64_t value) {
    code(groupCode);
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value, 16).ptr;
    for (char* c = digits; c != end; ++c) {
        if (*c >= 'a' && *c <= 'f') {
            *c = static_cast<char>(*c - 'a' + 'A');
        }
    }
    buffer_.append(digits, end);
    buffer_ += '\n';
    flushIfFull();
}

void DxfWriter::flushIfFull() {
    if (file_ != nullptr && buffer_.size() >= kFileBlock) {
        if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) {
            throw DrawingFileError(std::string("cannot write: ") + std::strerror(errno));
        }
        buffer_.clear();
    }
}

void DxfWriter::finish() {
    if (file_ == nullptr) {
        return;
    }
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size() ||
        std::fflush(file_) != 0) {
        throw DrawingFileError(std::string("cannot write: ") + std::strerror(errno));
    }
    buffer_.clear();
}

}  // namespace kafhost
