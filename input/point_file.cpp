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
// `afterReturn` carries whether the byte before `first` was a carriage return. Counted by the
// library's searches: a carriage return and line feed pair is one line end.
std::int64_t PointFile::CountLineEnds(const char* first, const char* last,
                                      bool& afterReturn) const {
    std::int64_t count = std::count(first, last, '\n');
    if (ends_ == LineEnds::LineFeed || first == last) {
        return count;
    }
    count -= afterReturn && *first == '\n' ? 1 : 0;
    for (const char* p = first;;) {
        p = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(last - p)));
        if (p == nullptr) {
            break;
        }
        ++p;
        count += p != last && *p == '\n' ? 0 : 1;
    }
    afterReturn = last[-1] == '\r';
    return count;
}

// The first line end in the unread bytes, or null. With AnyNewline a carriage return at the
// end of the bytes read is not yet known to end a line by itself: null, unless the file has no
// more bytes. The next line feed and carriage return are searched once for all the lines
// before them (a file may have only one kind).
const char* PointFile::FindLineEnd() {
    const char* const data = buffer_.data();
    const std::size_t feed = NextOf('\n', nextFeed_);
    if (ends_ == LineEnds::LineFeed) {
        return feed != end_ ? data + feed : nullptr;
    }
    const std::size_t ret = NextOf('\r', nextReturn_);
    if (ret < feed && (ret + 1 != end_ || atEnd_)) {
        return data + ret;
    }
    return feed != end_ ? data + feed : nullptr;
}

// The position of the first byte c in buffer_[begin_, end_), or end_; `found` keeps it for the
// next calls while it lies ahead of begin_ (Refill and Rewind forget it).
std::size_t PointFile::NextOf(char c, std::size_t& found) const {
    if (found == kUnknown || found < begin_) {
        const char* const data = buffer_.data();
        const void* at = std::memchr(data + begin_, c, end_ - begin_);
        found =
            at != nullptr ? static_cast<std::size_t>(static_cast<const char*>(at) - data) : end_;
    }
    return found;
}

bool PointFile::NextLine(const char*& first, const char*& last) {
    for (;;) {
        const char* data = buffer_.data();
        const char* lineEnd = FindLineEnd();
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
    nextFeed_ = kUnknown;
    nextReturn_ = kUnknown;
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
    nextFeed_ = kUnknown;
    nextReturn_ = kUnknown;
    atEnd_ = !stream_;
}
