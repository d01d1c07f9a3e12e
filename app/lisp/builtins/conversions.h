// DefineConversionFunctions(library): numbers to text and back.
//   (itoa i)                    the integer as text
//   (atoi s) (atof s)           the number at the start of s (after blanks), as C's atoi and
//                               atof read it: (atoi "12abc") is 12, no number gives 0 / 0.0;
//                               atoi beyond 32 bits gives the nearest 32-bit integer
//   (chr code) (ascii s)        the one-character string of a code / the code of the first
//                               character (0 for "")
//   (rtos x [mode [precision]])    x as a distance (unit_formats.h); mode 2, precision 4
//   (distof s [mode])           the distance s writes, nil when it is not one
//   (angtos a [mode [precision]])  a (radians) as an angle; mode 0, precision 0
#pragma once

#include "app/lisp/builtins/library.h"

namespace kafcad {

void DefineConversionFunctions(BuiltinLibrary& library);

}  // namespace kafcad
