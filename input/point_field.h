// The fields and rows of point files.
//
// ParsePointFieldByStream(field, value): the number rule of point files. The field is read into a
// wide string stream in the classic locale, a double is extracted (optional leading white space,
// sign, digits with an optional point and fraction, optional exponent), and the conversion holds
// only when the extraction succeeded and nothing but white space follows it in the field. Gives
// whether it holds; value is set only then.
//
// ParsePointField(first, last, value): converts the point-file field held in the bytes
// [first, last) (one character per byte) by the same number rule, with the same answers and the
// same values, but fast for the usual fields: plain decimal numbers, with an optional sign and
// exponent, surrounded by blanks, are converted directly; anything else is left to the stream
// extraction. Gives whether the field converts; value is set only then.
//
// ParsePointRow(first, last, delimiter, xyz): reads one row of a point file, the bytes
// [first, last) (one character per byte). The row is split at every delimiter character; empty
// fields are skipped, and every other field must convert by the number rule (ParsePointField).
// Gives kUnparsable when a field does not convert, kTooFewValues when fewer than three numbers
// were found, and otherwise kPoint with the first three numbers in xyz (further ones are read
// and checked, but not kept).
#pragma once

#include <string>

bool ParsePointFieldByStream(const std::wstring& field, double& value);

bool ParsePointField(const char* first, const char* last, double& value);

enum class PointRowStatus { kPoint, kUnparsable, kTooFewValues };

PointRowStatus ParsePointRow(const char* first, const char* last, wchar_t delimiter,
                             double (&xyz)[3]);
