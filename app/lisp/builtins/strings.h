// DefineStringFunctions(library): strings (characters are Unicode code points).
//   (strlen s ...)              the number of characters of the strings together (0 for none)
//   (substr s start [length])   the characters from start (1 is the first) on, at most length
//                               of them; "" past the end; start below 1 or a negative length
//                               fails with "bad argument value: string position out of range N"
//   (strcase s [lower])         upper case, or lower case when lower is not nil
//   (wcmatch s pattern)         T when s matches the wild-card pattern (see wildcards.h)
//   (vl-string-search pattern s [start])   the index (from 0) where pattern first occurs in s
//                               at or after start, nil when it does not
//   (vl-string-subst new pattern s [start])   s with the first pattern at or after start
//                               replaced by new
//   (vl-string-trim chars s), vl-string-left-trim, vl-string-right-trim   s without the
//                               characters of chars at both ends / the start / the end
//   (vl-prin1-to-string x) (vl-princ-to-string x)   x as prin1 / princ write it
//   (read s)                    the first expression read from s (nil for none); a text that is
//                               not well-formed fails with "malformed list on input"
#pragma once

#include "app/lisp/builtins/library.h"

namespace kafcad {

void DefineStringFunctions(BuiltinLibrary& library);

}  // namespace kafcad
