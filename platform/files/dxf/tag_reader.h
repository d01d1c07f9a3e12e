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

namespace kafhost {

struct DxfTag {
    int code = 0;
    std::string_view value;  // without the line end
    std::size_t line = 0;    // line of the group code; the value is on the next one
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

    // The current value as text, real, integer, or hexadecimal handle.
    std::string_view text() const { return tag().value; }
    double real() const;
    long long integer() const;
    std::uint64_t handle() const;

    [[noreturn]] void fail(const std::string& what) const;
    [[noreturn]] void failValue(const std::string& what) const;

private:
    void readTag();
    std::string_view numberText() const;

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t line_ = 1;  // line at pos_
    bool hasTag_ = false;
    DxfTag tag_;
};

}  // namespace kafhost
