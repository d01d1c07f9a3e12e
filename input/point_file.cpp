#include "input/point_file.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <type_traits>

namespace {

constexpr std::size_t kBlockSize = std::size_t{1} << 20;

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Wide strings hold UTF-32 where wchar_t has 32 bits and UTF-16 where it has 16.
std::string ToUtf8(const std::wstring& name) {
    std::string utf8;
    for (std::wstring::size_type i = 0; i < name.size(); ++i) {
        char32_t c = static_cast<char32_t>(name[i]);
        if (sizeof(wchar_t) == 2 && c >= 0xD800 && c < 0xDC00 && i + 1 < name.size()) {
            const char32_t low = static_cast<char32_t>(name[i + 1]);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        AppendUtf8(utf8, c);
    }
    return utf8;
}

// A file-system path for a wide file name. Where paths are wide the name is taken as it is;
// elsewhere it is encoded as UTF-8, the encoding of file names there.
std::filesystem::path PathFromWide(const std::wstring& name) {
    if constexpr (std::is_same_v<std::filesystem::path::value_type, wchar_t>) {
        return std::filesystem::path(name);
    } else {
        return std::filesystem::u8path(ToUtf8(name));
    }
}

}  // namespace

// Only a regular file is a point file. A folder may be opened on some systems, a device may never
// end and a named pipe waits for a writer and cannot be read twice: none of them is opened.
PointFile::PointFile(const std::wstring& name) : buffer_(kBlockSize) {
    const std::filesystem::path path = PathFromWide(name);
    std::error_code ignored;
    if (std::filesystem::is_regular_file(path, ignored)) {
        stream_.open(path, std::ios::in | std::ios::binary);
    }
}

std::int64_t PointFile::CountLines() {
    std::int64_t count = 0;
    char lastByte = '\n';
    while (Refill()) {
        const char* data = buffer_.data();
        count += std::count(data + begin_, data + end_, '\n');
        lastByte = data[end_ - 1];
        begin_ = end_;
    }
    if (lastByte != '\n') {
        ++count;
    }
    Rewind();
    return count;
}

bool PointFile::NextLine(const char*& first, const char*& last) {
    for (;;) {
        const char* data = buffer_.data();
        const void* lineFeed = std::memchr(data + begin_, '\n', end_ - begin_);
        if (lineFeed != nullptr) {
            first = data + begin_;
            last = static_cast<const char*>(lineFeed);
            begin_ = static_cast<std::size_t>(last - data) + 1;
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
