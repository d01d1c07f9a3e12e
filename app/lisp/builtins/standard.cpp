#include "app/lisp/builtins/standard.h"

#include <memory>

#include "app/lisp/builtins/arithmetic.h"
#include "app/lisp/builtins/comparison.h"
#include "app/lisp/builtins/conversions.h"
#include "app/lisp/builtins/files.h"
#include "app/lisp/builtins/lists.h"
#include "app/lisp/builtins/numbers.h"
#include "app/lisp/builtins/predicates.h"
#include "app/lisp/builtins/strings.h"
#include "app/lisp/builtins/text.h"

namespace kafcad {

void DefineStandardFunctions(BuiltinLibrary& library, CommandLineOutput& commandLine) {
    const auto files = std::make_shared<OpenFiles>();
    DefineArithmeticFunctions(library);
    DefineComparisonFunctions(library);
    DefineListFunctions(library);
    DefinePredicateFunctions(library);
    DefineNumberFunctions(library);
    DefineStringFunctions(library);
    DefineConversionFunctions(library);
    DefineTextFunctions(library, commandLine, files);
    DefineFileFunctions(library, files);
}

}  // namespace kafcad
