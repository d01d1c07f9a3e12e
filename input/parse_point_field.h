// ParsePointField(first, last, value): converts the point-file field held in the bytes
// [first, last) (one character per byte) by the number rule of ParsePointFieldByStream, with the
// same answers and the same values, but fast for the usual fields: plain decimal numbers, with an
// optional sign and exponent, surrounded by blanks, are converted directly; anything else is left
// to the stream extraction. Gives whether the field converts; value is set only then.
#pragma once

bool ParsePointField(const char* first, const char* last, double& value);
