// DxfTagReader: walks the group code / value pairs of text DXF, one tag at a time, and converts
// values. Errors throw DrawingFileError "line N: ..." with the line (from 1) of the group code, or
// of the value when the value is wrong.
//
// Lines may end in "\n" or "\r\n"; group codes may carry spaces around them; a UTF-8 byte order
// mark at the start is skipped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kafhost {

struct DxfTag {
    int code = 0;
    std::string_view value;  // without the line end
    std::size_t line = 0;    // line of the group code; the value is on the next one
    std::size_t offset = 0;  // where the group code's line starts in the text
};

class DxfTagReader {
public:
    // Positions on the first tag. Throws for binary DXF.
    explicit DxfTagReader(std::string_view text);

    // False once the text has no further tag.
    bool hasTag() const { return hasTag_; }
    // The current tag; fails with "the file ends early" when there is none.
    const DxfTag& tag() const;
    int code() const { return tag().code; }
    // Whether the current tag has the code and (spaces aside) the value.
    bool is(int code, std::string_view value) const;
    // Moves to the next tag (there may be none).
    void next();
    // Moves past the current tag and every following one up to the next code 0.
    void skipToNextObject();
    // Where the current tag starts in the text (the text's end when there is none).
    std::size_t offset() const { return hasTag_ ? tag_.offset : text_.size(); }
    // The current tag's lines as they are in the text.
    std::string_view raw() const { return text_.substr(tag().offset, pos_ - tag_.offset); }
    // The highest handle (code 5 or 105) read so far.
    std::uint64_t highestHandle() const { return highestHandle_; }
    // Starts the highest handle and the objects' handles again (after the header, whose seed is
    // no handle).
    void forgetHandles();
    // Fails with "line N: handle H is used twice (first on line M)" when two objects read so far
    // (table entries, blocks, entities, their vertices, objects) have the same handle: a file
    // saved with both would be broken. An object's handle is its first code 5 or 105; the lines
    // are those of the objects' code 0.
    void checkHandlesUnique();

    // The current value as text, real, integer, or hexadecimal handle.
    std::string_view text() const { return tag().value; }
    double real() const;
    long long integer() const;
    std::uint64_t handle() const;

    [[noreturn]] void fail(const std::string& what) const;
    [[noreturn]] void failValue(const std::string& what) const;

private:
    void readTag();
    void noteHandle();
    std::string_view numberText() const;

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t line_ = 1;  // line at pos_
    bool hasTag_ = false;
    DxfTag tag_;
    std::uint64_t highestHandle_ = 0;
    std::size_t objectLine_ = 0;  // line of the current object's code 0
    bool objectHandleRead_ = true;
    // Each object's handle with its line.
    std::vector<std::pair<std::uint64_t, std::size_t>> objectHandles_;
};

}  // namespace kafhost
