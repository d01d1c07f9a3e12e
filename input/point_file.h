// PointFile(name, ends): a point file opened for reading, read in large blocks; the name is made
// a path by PathFromWide (a name read from bytes that are not UTF-8 opens the file with those
// bytes). `ends` says what ends a line: a line feed (LineEnds::LineFeed), or also a carriage
// return that no line feed follows (LineEnds::AnyNewline, for files of old systems).
//
// IsOpen(): whether the file could be opened; a name that is not a regular file (a folder, a
// device, a named pipe) is never opened.
// CountLines(): the number of lines in the whole file, a last line without a line end included;
// the file is then read again from its start.
// NextLine(first, last): the next line, as the bytes [first, last) (valid until the next call),
// without its line end and without one carriage return before a line feed. A last line that ends
// at the end of the file without a line end is a line like the others. Gives false at the end of
// the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

enum class LineEnds { LineFeed, AnyNewline };

class PointFile {
public:
    explicit PointFile(const std::wstring& name, LineEnds ends = LineEnds::LineFeed);

    bool IsOpen() const { return stream_.is_open(); }
    std::int64_t CountLines();
    bool NextLine(const char*& first, const char*& last);

private:
    bool Refill();
    void Rewind();
    std::int64_t CountLineEnds(const char* first, const char* last, bool& afterReturn) const;
    const char* FindLineEnd();
    std::size_t NextOf(char c, std::size_t& found) const;

    static constexpr std::size_t kUnknown = ~std::size_t{0};

    std::ifstream stream_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;  // the unread bytes are buffer_[begin_, end_)
    std::size_t end_ = 0;
    std::size_t nextFeed_ = kUnknown;  // the next line feed, when searched (NextOf)
    std::size_t nextReturn_ = kUnknown;
    bool atEnd_ = false;
    LineEnds ends_;
};
