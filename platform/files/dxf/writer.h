// DxfWriter: writes text DXF, one group code and one value per line, into memory or through a
// buffer into an open file.
//
// Group codes are right-aligned in three columns as AutoCAD writes them. Reals are written with
// the fewest digits that read back to the same double (as std::to_chars writes them), handles as
// upper-case hexadecimal. A real that is not finite throws DrawingFileError (DXF cannot hold it).
//
// DxfWriter() keeps the text for text(); DxfWriter(file) writes to the file in blocks, while the
// drawing is written and on finish(), and throws DxfFileWriteError (a DrawingFileError) when the
// file cannot be written, which callers pass on as it is rather than as a fault of the entity
// being written.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "kafhost/drawing_json.h"

namespace kafhost {

class DxfFileWriteError : public DrawingFileError {
public:
    using DrawingFileError::DrawingFileError;
};

class DxfWriter {
public:
    DxfWriter() = default;
    explicit DxfWriter(std::FILE* file) : file_(file) {}
    DxfWriter(const DxfWriter&) = delete;
    DxfWriter& operator=(const DxfWriter&) = delete;

    void text(int code, std::string_view value);
    void integer(int code, long long value);
    // One tag of the code for each of the count values, in order.
    void integers(int code, const int* values, std::size_t count);
    void real(int code, double value);
    // Codes code, code + 10, code + 20 with x, y, z.
    void point(int code, double x, double y, double z);
    // The same three tags for each of the count points (x, y, z), in order.
    void points(int code, const std::array<double, 3>* points, std::size_t count);
    void point(int code, double x, double y);
    void handle(int code, std::uint64_t value);
    // Tags already in DXF form, written as they are.
    void raw(std::string_view tags);

    // The text written so far (writer without a file).
    const std::string& text();
    // Writes what is buffered to the file and flushes it.
    void finish();

private:
    // Room for size more characters at the end of the buffer (writing out a full buffer first).
    char* room(std::size_t size);
    // One tag: the group code's line, then writeValue(out), which writes at most valueSize more
    // characters than the longest number at out and gives their end, then the line end.
    template <typename WriteValue>
    void tag(int groupCode, std::size_t valueSize, WriteValue writeValue);
    void writeOut();

    std::FILE* file_ = nullptr;
    // The buffer's first used_ characters are the text; the rest is room to write into.
    std::string buffer_;
    std::size_t used_ = 0;
};

// The head of an object of the OBJECTS section: 0 type, 5 handle, the owner as its reactor
// (102 {ACAD_REACTORS ... 102 }, left out for an owner of 0), 330 owner, 100 subclass.
void writeDxfObjectHead(DxfWriter& writer, std::string_view type, std::uint64_t handle,
                        std::uint64_t owner, std::string_view subclass);

}  // namespace kafhost
