// shortestRealText(first, value): writes the finite double value at first as std::to_chars(first,
// last, value) writes it (the fewest characters that read back to the same double, fixed or
// exponent notation, whichever is shorter) and returns the end of the text. first must have room
// for 40 characters: the text is at most 25 long, and characters after it may be overwritten.
//
// Reals of few decimal places (coordinates and elevations as surveyed) are written directly, one
// multiplication and one division deciding it; other reals from about 1.5e-11 to 4.5e15 by
// shortestDigitsText (shortest_digits.h); the rest (zero, tiny and huge reals) by std::to_chars.
#pragma once

namespace kafhost {

char* shortestRealText(char* first, double value);

}  // namespace kafhost
