#include "input/point_file.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "input/path_from_wide.h"

namespace {

constexpr std::size_t kBlockSize = std::size_t{1} << 20;

}  // namespace

// Only a regular file is a point file. A folder may be opened on some systems, a device may never
// end and a named pipe waits for a writer and cannot be read twice: none of them is opened.
PointFile::PointFile(const std::wstring& name, LineEnds ends) : buffer_(kBlockSize), ends_(ends) {
    const std::filesystem::path path = PathFromWide(name);
    std::error_code ignored;
    if (std::filesystem::is_regular_file(path, ignored)) {
        stream_.open(path, std::ios::in | std::ios::binary);
    }
}

std::int64_t PointFile::CountLines() {
    std::int64_t count = 0;
    char lastByte = '\n';
    bool afterReturn = false;
    while (Refill()) {
        const char* data = buffer_.data();
        count += CountLineEnds(data + begin_, data + end_, afterReturn);
        lastByte = data[end_ - 1];
        begin_ = end_;
    }
    if (lastByte != '\n' && !(ends_ == LineEnds::AnyNewline && lastByte == '\r')) {
        ++count;
    }
    Rewind();
    return count;
}

// Line feeds in [first, last), and with AnyNewline the carriage returns no line feed follows;
// `afterReturn` carries whether the byte before `first` was a carriage return.
std::int64_t PointFile::CountLineEnds(const char* first, const char* last,
                                      bool& afterReturn) const {
    if (ends_ == LineEnds::LineFeed) {
        return std::count(first, last, '\n');
    }
    std::int64_t count = 0;
    for (const char* p = first; p != last; ++p) {
        count += *p == '\n' && !afterReturn ? 1 : 0;
        count += *p == '\r' ? 1 : 0;
        afterReturn = *p == '\r';
    }
    return count;
}

// The first line end in [first, last), or null. With AnyNewline a carriage return at `last - 1`
// is not yet known to end a line by itself: null, unless the file has no more bytes.
const char* PointFile::FindLineEnd(const char* first, const char* last) const {
    if (ends_ == LineEnds::LineFeed) {
        return static_cast<const char*>(std::memchr(first, '\n', last - first));
    }
    for (const char* p = first; p != last; ++p) {
        if (*p == '\n' || (*p == '\r' && (p + 1 != last || atEnd_))) {
            return p;
        }
    }
    return nullptr;
}

bool PointFile::NextLine(const char*& first, const char*& last) {
    for (;;) {
        const char* data = buffer_.data();
        const char* lineEnd = FindLineEnd(data + begin_, data + end_);
        if (lineEnd != nullptr) {
            first = data + begin_;
            last = lineEnd;
            const bool crlf = *lineEnd == '\r' && lineEnd + 1 != data + end_ && lineEnd[1] == '\n';
            begin_ = static_cast<std::size_t>(last - data) + (crlf ? 2 : 1);
            if (*lineEnd == '\r') {
                return true;
            }
            break;
        }
        if (!Refill()) {
            if (begin_ == end_) {
                return false;
            }
            // The file ends without a line feed: what is left is its last line.
            data = buffer_.data();
            first = data + begin_;
            last = data + end_;
            begin_ = end_;
            break;
        }
    }
    if (last != first && last[-1] == '\r') {
        --last;
    }
    return true;
}

// Keeps the unread bytes, moved to the buffer's start, and reads more after them; the buffer
// grows when one line fills it. Gives false when nothing more could be read.
bool PointFile::Refill() {
    if (atEnd_) {
        return false;
    }
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
    if (end_ == buffer_.size()) {
        buffer_.resize(buffer_.size() * 2);
    }
    stream_.read(buffer_.data() + end_, static_cast<std::streamsize>(buffer_.size() - end_));
    const std::size_t read = static_cast<std::size_t>(stream_.gcount());
    end_ += read;
    if (!stream_) {
        atEnd_ = true;
    }
    return read != 0;
}

void PointFile::Rewind() {
    stream_.clear();
    stream_.seekg(0);
    begin_ = 0;
    end_ = 0;
    atEnd_ = !stream_;
}
