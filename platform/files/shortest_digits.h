// shortestDigitsText(out, value): writes the positive double value at out as std::to_chars writes
// it (the fewest digits that read back to the same double, the one nearest the value among them,
// a tie to the even one; fixed or exponent notation, whichever is shorter, fixed on a tie) and
// returns the end of the text; null, writing nothing, for a value outside [2^-36, 2^52) (about
// 1.5e-11 to 4.5e15), which the caller writes otherwise. out must have room for 40 characters:
// the text is at most 24 long, and characters after it may be overwritten.
//
// The digits come from exact integer arithmetic: value * 10^q and the bounds of the interval of
// reals that read back to value, for a q giving 17 digits or more, are 128-bit products of the
// value's mantissa and 5^q, shifted; digits are then dropped from the bounds while a decimal is
// left between them.
#pragma once

namespace kafhost {

char* shortestDigitsText(char* out, double value);

}  // namespace kafhost
