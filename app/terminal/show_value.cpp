#include "app/terminal/show_value.h"

#include "app/lisp/builtins/text.h"
#include "app/lisp/print_value.h"

namespace kafcad {

void ShowValue(const Value& value, CommandLineOutput& commandLine) {
    commandLine.EndLine();
    if (value == QuietValue()) {
        return;
    }
    commandLine.Write(PrintValue(value) + "\n");
}

}  // namespace kafcad
