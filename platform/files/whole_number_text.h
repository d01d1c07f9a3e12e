// wholeNumberText(out, value): writes value in decimal at out, as std::to_chars writes it, and
// returns the end of the text; out must have room for 11 characters.
//
// Numbers from 0 to 99,999,999 (vertex numbers, face sizes, colours) are written two digits per
// division by 100 from kDigitPairs, with their length told by comparisons; others by
// std::to_chars.
#pragma once

namespace kafhost {

char* wholeNumberText(char* out, int value);

}  // namespace kafhost
