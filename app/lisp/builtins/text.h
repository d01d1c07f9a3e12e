// DefineTextFunctions(library, commandLine, files): strcat and the printing functions, which
// write to the command line, or to a file opened for writing when one is given (see files.h).
//   (strcat s ...)          the strings joined ("" for none); "bad argument type: stringp X"
//   (princ [x [file]])      writes x as DisplayValue shows it (strings bare) and gives x
//   (prin1 [x [file]])      writes x as PrintValue shows it (strings quoted) and gives x
//   (print [x [file]])      a line break, x as prin1 writes it, a space; gives x
//   (write-line s [file])   s and a line break; gives s
// Without an argument the printing functions write nothing and give the quiet value
// (QuietValue()), which the prompt does not echo: the usual last form of a quiet script.
#pragma once

#include <memory>

#include "app/lisp/builtins/files.h"
#include "app/lisp/builtins/library.h"
#include "app/lisp/command_line_output.h"

namespace kafcad {

void DefineTextFunctions(BuiltinLibrary& library, CommandLineOutput& commandLine,
                         const std::shared_ptr<OpenFiles>& files);

// The value of (princ) without an argument: a symbol without a name.
inline Value QuietValue() {
    return Value::symbol(L"");
}

}  // namespace kafcad
