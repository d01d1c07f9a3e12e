// ParsePointRow(first, last, delimiter, xyz): reads one row of a point file, the bytes
// [first, last) (one character per byte). The row is split at every delimiter character; empty
// fields are skipped, and every other field must convert by the number rule (ParsePointField).
// Gives kUnparsable when a field does not convert, kTooFewValues when fewer than three numbers
// were found, and otherwise kPoint with the first three numbers in xyz (further ones are read
// and checked, but not kept).
#pragma once

enum class PointRowStatus { kPoint, kUnparsable, kTooFewValues };

PointRowStatus ParsePointRow(const char* first, const char* last, wchar_t delimiter,
                             double (&xyz)[3]);
