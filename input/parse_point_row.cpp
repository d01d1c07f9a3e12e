#include "input/parse_point_row.h"

#include <cstring>

#include "input/parse_point_field.h"

namespace {

// The end of the field that starts at first: the next delimiter, or last.
const char* FieldEnd(const char* first, const char* last, int delimiter) {
    if (delimiter < 0) {
        return last;
    }
    const void* found = std::memchr(first, delimiter, static_cast<std::size_t>(last - first));
    return found != nullptr ? static_cast<const char*>(found) : last;
}

}  // namespace

PointRowStatus ParsePointRow(const char* first, const char* last, wchar_t delimiter,
                             double (&xyz)[3]) {
    // A delimiter beyond the byte range never occurs in a row: the row is then one field.
    const long code = static_cast<long>(delimiter);
    const int delimiterByte = code >= 0 && code <= 0xFF ? static_cast<int>(code) : -1;
    int count = 0;
    const char* field = first;
    while (field != last) {
        const char* end = FieldEnd(field, last, delimiterByte);
        if (end != field) {
            double value = 0.0;
            if (!ParsePointField(field, end, value)) {
                return PointRowStatus::kUnparsable;
            }
            if (count < 3) {
                xyz[count] = value;
            }
            ++count;
        }
        field = end == last ? last : end + 1;
    }
    return count < 3 ? PointRowStatus::kTooFewValues : PointRowStatus::kPoint;
}
